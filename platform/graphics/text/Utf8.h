// Decoding UTF-8 text into code points for shaping.
#pragma once

#include <string_view>
#include <vector>

namespace vark::text {

// The code points of text. Malformed sequences (stray continuation bytes,
// overlong forms, surrogates, values above U+10FFFF, a cut-off tail) each
// become one U+FFFD, so no input is dropped silently or read past its end.
void DecodeUtf8(std::string_view text, std::vector<char32_t>& out);

}  // namespace vark::text
