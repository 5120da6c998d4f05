// Decimal integers in text files a person may have edited.
#pragma once

#include <string_view>

// Optionally signed decimal digits ("5", "+5", "-0", "-2147483648"), with
// blanks (spaces, tabs) before and after ignored, so " 5" and "5 " are 5.
// Hexadecimal forms ("$1F", "0x1F") are not numbers here: the files hold
// decimal only, and a value that merely looks like a number should not move
// the window. Anything else, and any value outside 32 bits, raises
// EConvertError "'<text>' is not a valid integer value" with the text as given.
int StrToInt(std::string_view text);
