#include "platform/os/ProgramHeader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/PeImage.h"

namespace {

using vark::os::ProgramKind;
using vark::testing::kPeMachineX64;
using vark::testing::kPeMachineX86;
using vark::testing::PeImage;

TEST(ProgramHeader, TellsTheKindOfWindowsProgram) {
  const std::string x86 = PeImage(kPeMachineX86);
  std::string badSignature = x86;
  badSignature[0x81] = 'X';
  std::string offsetPastTheEnd = x86;
  offsetPastTheEnd[0x3D] = 0x10;  // 0x1080
  const struct {
    const char* what;
    std::string bytes;
    ProgramKind kind;
  } cases[] = {
      {"32-bit", x86, ProgramKind::Windows32},
      {"64-bit", PeImage(kPeMachineX64), ProgramKind::Windows64},
      {"64-bit, header right after the DOS header", PeImage(kPeMachineX64, 0x40),
       ProgramKind::Windows64},
      {"ARM64", PeImage(0xAA64), ProgramKind::OtherMachine},
      {"empty", "", ProgramKind::NotWindows},
      {"text", "MZ is how it starts? no: mz", ProgramKind::NoPeHeader},
      {"a script", "#!/bin/sh\n", ProgramKind::NotWindows},
      {"ELF",
       "\x7f"
       "ELF\2\1\1",
       ProgramKind::NotWindows},
      {"lower-case mz", "mz" + x86.substr(2), ProgramKind::NotWindows},
      {"DOS stub only", x86.substr(0, 0x40), ProgramKind::NoPeHeader},
      {"16-bit (NE)",
       [&] {
         std::string ne = x86;
         ne.replace(0x80, 4, std::string("NE\0\0", 4));
         return ne;
       }(),
       ProgramKind::NoPeHeader},
      {"bad signature", badSignature, ProgramKind::NoPeHeader},
      {"offset past the end", offsetPastTheEnd, ProgramKind::NoPeHeader},
      {"cut in the DOS header", x86.substr(0, 0x3E), ProgramKind::NoPeHeader},
      {"cut in the signature", x86.substr(0, 0x82), ProgramKind::NoPeHeader},
      {"cut in the file header", x86.substr(0, 0x86), ProgramKind::NoPeHeader},
      {"cut at the file header's end", x86.substr(0, 0x80 + 24), ProgramKind::Windows32},
  };
  for (const auto& c : cases)
    EXPECT_EQ(vark::os::ReadProgramKind(c.bytes), c.kind) << c.what;
}

}  // namespace
