#include "support/Vark.CPSharedLib.h"

const std::array<std::string, 2> nothemes = {"Windows", "Mountain_Mist"};

bool StrInArray(std::string_view Value, std::span<const std::string> ArrayOfString) {
  for (const std::string& item : ArrayOfString) {
    if (item == Value) return true;
  }
  return false;
}
