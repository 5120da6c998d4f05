// Decoding UTF-8 for the text engine: valid text comes through whole, and
// every kind of broken sequence becomes exactly one replacement character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/graphics/text/Utf8.h"

namespace {

TEST(Utf8, DecodesValidAndReplacesBrokenSequences) {
  const struct {
    std::string in;
    std::vector<char32_t> out;
  } cases[] = {
      {"", {}},
      {"Launch", {'L', 'a', 'u', 'n', 'c', 'h'}},
      {"\xC3\xA9", {0xE9}},
      {"\xEE\x9C\x91", {0xE711}},        // a private-use icon code point
      {"\xF0\x9F\x94\x8E", {0x1F50E}},   // beyond the basic plane
      {"\xE1\x90\x81x", {0x1401, 'x'}},  // a syllabic and a letter
      {"\x80", {0xFFFD}},                // a stray continuation byte
      {"\xC0\x80", {0xFFFD}},            // an overlong NUL
      {"\xE0\x80\xAF", {0xFFFD}},        // an overlong slash
      {"\xED\xA0\x80", {0xFFFD}},        // a UTF-16 surrogate
      {"\xF4\x90\x80\x80", {0xFFFD}},    // above U+10FFFF
      {"\xF8\x88\x80\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},  // five-byte form
      {"a\xE2\x82", {'a', 0xFFFD}},                                        // cut off at the end
      {"\xE2\x82"
       "b",
       {0xFFFD, 'b'}},  // cut off before a letter
      {std::string("a\0b", 3), {'a', 0, 'b'}},
  };
  for (const auto& c : cases) {
    std::vector<char32_t> out = {'x'};  // the output is replaced, not appended to
    vark::text::DecodeUtf8(c.in, out);
    EXPECT_EQ(out, c.out) << "input of " << c.in.size() << " bytes";
  }
}

}  // namespace
