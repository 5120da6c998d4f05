// Parameters given to a program as one string, split into its arguments the way
// a Windows program's runtime splits its command line, so "/tarnwisp" stays one
// argument and a quoted name with blanks stays whole. No shell is involved:
// "$", ";", "|" and the like are ordinary characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vark::os {

// Rules:
//  - blanks (space, tab) outside quotes separate arguments; runs of them count once;
//  - a double quote starts or ends a quoted stretch, in which blanks belong to
//    the argument; "" inside a quoted stretch is one literal quote;
//  - backslashes are literal unless a double quote follows them: then each pair
//    gives one backslash, and an odd one left over makes the quote literal;
//  - an argument that is only a pair of quotes ("") is an empty argument.
std::vector<std::string> SplitCommandLine(std::string_view params);

// This program's arguments in UTF-8, its own name first. On Windows they come
// from the wide command line, since the C runtime's argv holds them in the
// ANSI code page, which cannot hold every file name; elsewhere argv is taken
// as it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace vark::os
