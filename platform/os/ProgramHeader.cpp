#include "platform/os/ProgramHeader.h"

namespace vark::os {
namespace {

constexpr size_t kPeOffsetField = 0x3C;  // e_lfanew: where the PE header starts
constexpr size_t kDosHeaderSize = 0x40;
constexpr size_t kPeSignatureSize = 4;  // "PE\0\0"
constexpr size_t kCoffHeaderSize = 20;  // machine, sections, time, symbols, sizes, flags
constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;

uint32_t LittleEndian(std::string_view bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = size; i-- > 0;)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

ProgramKind ReadProgramKind(std::string_view head) {
  if (head.size() < 2 || head[0] != 'M' || head[1] != 'Z') return ProgramKind::NotWindows;
  if (head.size() < kDosHeaderSize) return ProgramKind::NoPeHeader;
  const size_t pe = LittleEndian(head, kPeOffsetField, 4);
  // The whole file header must be there: a signature alone, cut off before
  // the fields the loader reads next, is no program either.
  if (pe > head.size() || head.size() - pe < kPeSignatureSize + kCoffHeaderSize)
    return ProgramKind::NoPeHeader;
  if (head.substr(pe, kPeSignatureSize) != std::string_view("PE\0\0", kPeSignatureSize))
    return ProgramKind::NoPeHeader;
  switch (LittleEndian(head, pe + kPeSignatureSize, 2)) {
    case kMachineI386:
      return ProgramKind::Windows32;
    case kMachineAmd64:
      return ProgramKind::Windows64;
    default:
      return ProgramKind::OtherMachine;
  }
}

}  // namespace vark::os
