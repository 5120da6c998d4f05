#include "app/StrToInt.h"

#include <cstdint>
#include <string>

#include "platform/Exceptions.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace

int StrToInt(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);

  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) NotAnInteger(text);

  // The magnitude may reach 2^31 for the most negative value; stop as soon as
  // it passes that, so long runs of digits cannot overflow.
  constexpr int64_t kLimit = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (char c : s) {
    if (c < '0' || c > '9') NotAnInteger(text);
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) NotAnInteger(text);
  }
  if (!negative && magnitude == kLimit) NotAnInteger(text);
  return static_cast<int>(negative ? -magnitude : magnitude);
}
