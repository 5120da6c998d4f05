#include "platform/graphics/PictureFile.h"

#include <string_view>

#include "platform/os/FileAccess.h"
#include "platform/os/TextFile.h"

namespace vark {

std::vector<uint8_t> ReadPictureFile(const std::string& path) {
  const std::string bytes = os::ReadFileBytes(path);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void WritePictureFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  os::ReplaceFileContents(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace vark
