// What Windows refuses in a path, checked alike on both platforms so a list
// file edited on one behaves the same on the other.
#pragma once

#include <string_view>

namespace vark::os {

// True when a component holds a character Windows does not allow in a file
// or folder name (a control character or < > : " | ? *); the colon of a drive
// ("C:") is allowed.
bool HasReservedCharacter(std::string_view path);

// The message of the error for such a path.
inline constexpr const char* kInvalidPathSyntax =
    "The filename, directory name, or volume label syntax is incorrect";

}  // namespace vark::os
