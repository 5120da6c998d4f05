// What kind of Windows program a file holds, read from its header: the
// "MZ" stub, the offset of the PE header at 0x3C, the "PE\0\0" signature and
// the machine field that follows it.
//
// A file that starts with "MZ" but has no complete PE header (a DOS or 16-bit
// Windows program, or a damaged or cut-off file) is no program a 64-bit
// Windows runs, and Wine, which no longer runs DOS programs, treats it the
// same: callers refuse it as a bad format rather than hand it on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vark::os {

enum class ProgramKind : uint8_t {
  NotWindows,    // does not start with "MZ": no Windows program at all
  NoPeHeader,    // "MZ", but no complete PE header within the bytes given
  Windows32,     // PE for 32-bit x86 (machine 0x14C)
  Windows64,     // PE for x64 (machine 0x8664)
  OtherMachine,  // PE for another processor (ARM, Itanium, ...)
};

// How much of a file's start ReadProgramKind is given: enough for every PE
// header a linker places (they sit within the first few hundred bytes); one
// placed beyond it counts as missing.
constexpr size_t kProgramHeaderBytes = 64 * 1024;

// The kind of program whose first bytes (up to kProgramHeaderBytes, or the
// whole file when it is shorter) are `head`.
ProgramKind ReadProgramKind(std::string_view head);

}  // namespace vark::os
