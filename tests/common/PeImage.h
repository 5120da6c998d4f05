// The smallest file a PE header reader takes for a Windows program: the DOS
// header with the PE header's offset at 0x3C, then the "PE\0\0" signature and
// the file header whose first field is the machine.
#pragma once

#include <cstdint>
#include <string>

namespace vark::testing {

constexpr uint16_t kPeMachineX86 = 0x14C;
constexpr uint16_t kPeMachineX64 = 0x8664;

inline std::string PeImage(uint16_t machine, uint32_t peOffset = 0x80) {
  std::string bytes(peOffset + 24, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  for (int i = 0; i < 4; ++i)
    bytes[0x3C + i] = static_cast<char>(peOffset >> (8 * i));
  bytes.replace(peOffset, 4, std::string("PE\0\0", 4));
  bytes[peOffset + 4] = static_cast<char>(machine & 0xFF);
  bytes[peOffset + 5] = static_cast<char>(machine >> 8);
  return bytes;
}

}  // namespace vark::testing
