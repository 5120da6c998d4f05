#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/TextCodec.h"

using vark::os::DecodeTextLines;
using vark::os::EncodeTextLines;
using vark::os::IsValidUtf8;
using vark::os::Utf8ToWindows1252;
using vark::os::Windows1252ToUtf8;
using Lines = std::vector<std::string>;

namespace {

std::string Utf16(const std::u16string& text, bool bigEndian, bool mark = true) {
  std::string out = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
  for (char16_t u : text) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

std::vector<DecodeCase> DecodeCases() {
  return {
      {"empty", "", {}},
      {"one line without break", "abc", {"abc"}},
      {"final CR LF makes no extra line", "abc\r\n", {"abc"}},
      {"final lone CR", "abc\r", {"abc"}},
      {"final lone LF", "abc\n", {"abc"}},
      {"only CR", "a\rb\rc", {"a", "b", "c"}},
      {"only LF", "a\nb\nc\n", {"a", "b", "c"}},
      {"mixed breaks", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"CR then CR LF is two breaks", "a\r\r\nb", {"a", "", "b"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"empty lines in the middle", "a\r\n\r\nb\r\n\r\n", {"a", "", "b", ""}},
      {"a lone break", "\r\n", {""}},
      {"blanks are kept", "  a \t\r\n", {"  a \t"}},
      {"UTF-8 mark dropped",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9\r\n",
       {"café"}},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", {}},
      {"UTF-8 mark with malformed bytes",
       "\xEF\xBB\xBF"
       "a\xFF"
       "b\xE2\x82\n",
       {"a\uFFFDb\uFFFD"}},
      {"UTF-8 without mark", "caf\xC3\xA9\n\xE2\x82\xAC", {"café", "€"}},
      {"Windows-1252", "caf\xE9\r\n\x80\x85\x9F", {"café", "€…Ÿ"}},
      {"unassigned Windows-1252 bytes", "\x81\x8D\x8F\x90\x9D", {"\u0081\u008D\u008F\u0090\u009D"}},
      // One bad sequence anywhere makes the whole file Windows-1252.
      {"mostly UTF-8", "caf\xC3\xA9\n\xE9", {"cafÃ©", "é"}},
      {"overlong form is not UTF-8", "\xC0\xAF", {"À¯"}},
      {"encoded surrogate is not UTF-8", "\xED\xA0\x80", {"í\u00A0€"}},
      {"UTF-16 LE", Utf16(u"Zoë\r\nΔ\n", false), {"Zoë", "Δ"}},
      {"UTF-16 BE", Utf16(u"Zoë\rΔ", true), {"Zoë", "Δ"}},
      {"UTF-16 pair", Utf16(u"\U0001F600", false), {"\U0001F600"}},
      {"UTF-16 lone surrogates",
       Utf16(u"a\xD800"
             u"b\xDC00",
             true),
       {"a\uFFFDb\uFFFD"}},
      {"UTF-16 odd last byte", Utf16(u"a\n", false) + "x", {"a", "\uFFFD"}},
      {"UTF-16 mark alone", "\xFF\xFE", {}},
      {"NUL bytes are characters", std::string("a\0b", 3), {std::string("a\0b", 3)}},
  };
}

TEST(DecodeTextLines, SplitsAndConverts) {
  for (const DecodeCase& c : DecodeCases()) {
    EXPECT_EQ(DecodeTextLines(c.bytes), c.lines) << c.name;
  }
}

TEST(DecodeTextLines, WhatFollowsTheLinesAskedForDoesNotChangeThem) {
  for (const DecodeCase& c : DecodeCases()) {
    const Lines all = DecodeTextLines(c.bytes);
    for (size_t n = 0; n < all.size(); ++n) {
      const Lines first = DecodeTextLines(c.bytes, n);
      ASSERT_EQ(first.size(), n) << c.name;
      EXPECT_EQ(DecodeTextLines(c.bytes + "\xFF\r\n\xE9", n), first) << c.name << " n=" << n;
    }
  }
  // UTF-8 in the lines asked for stays UTF-8, whatever comes after them.
  std::string text = "caf\xC3\xA9\r\n";
  text += std::string(100000, 'x') + "\xE9";
  EXPECT_EQ(DecodeTextLines(text, 1), Lines{"café"});
  EXPECT_EQ(DecodeTextLines(text)[0], "cafÃ©");
}

TEST(Windows1252, EveryByteHasOneCharacterAndComesBack) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string text = Windows1252ToUtf8(byte);
    EXPECT_TRUE(IsValidUtf8(text)) << b;
    EXPECT_EQ(Utf8ToWindows1252(text), byte) << b;
  }
  EXPECT_EQ(Windows1252ToUtf8("\x80\x99\xA0\xFF"), "€™\u00A0ÿ");
  // C1 controls the code page assigns to a printable character do not fit.
  EXPECT_EQ(Utf8ToWindows1252("\u0080"), std::nullopt);
  EXPECT_EQ(Utf8ToWindows1252("日本"), std::nullopt);
  EXPECT_EQ(Utf8ToWindows1252("a\xFF"), std::nullopt);
}

TEST(IsValidUtf8, AcceptsOnlyWellFormedText) {
  const std::pair<std::string, bool> cases[] = {
      {"", true},
      {"plain ASCII that is longer than a word", true},
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", true},
      {"\xC3", false},
      {"\xC1\xBF", false},          // overlong
      {"\xE0\x9F\xBF", false},      // overlong
      {"\xED\xBF\xBF", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\x80", false},
      {"abcdefgh\xC3\xA9"
       "abcdefgh\xFF",
       false},
  };
  for (const auto& [bytes, valid] : cases)
    EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes;
}

TEST(EncodeTextLines, WritesWindows1252WhenItFitsAndUtf8WithAMarkOtherwise) {
  struct Case {
    Lines lines;
    std::string bytes;
  };
  const Case cases[] = {
      {{}, ""},
      {{""}, "\r\n"},
      {{"a", "", "b"}, "a\r\n\r\nb\r\n"},
      {{"café", "€ 5"}, "caf\xE9\r\n\x80 5\r\n"},
      {{"日本"}, "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\n"},
      {{"ok", "Zoë Δ"}, "\xEF\xBB\xBFok\r\nZo\xC3\xAB \xCE\x94\r\n"},
      // Fits the code page, but its bytes would read back as UTF-8 or as a mark.
      {{"Ã©"}, "\xEF\xBB\xBF\xC3\x83\xC2\xA9\r\n"},
      {{"ÿþx"}, "\xEF\xBB\xBF\xC3\xBF\xC3\xBEx\r\n"},
      {{"þÿ"}, "\xEF\xBB\xBF\xC3\xBE\xC3\xBF\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeTextLines(c.lines), c.bytes) << (c.lines.empty() ? "" : c.lines[0]);
    // And whatever was written reads back as the same lines.
    EXPECT_EQ(DecodeTextLines(EncodeTextLines(c.lines)), c.lines);
  }
}

TEST(EncodeTextLines, ReadsBackEveryDecodedText) {
  for (const DecodeCase& c : DecodeCases()) {
    const Lines lines = DecodeTextLines(c.bytes);
    EXPECT_EQ(DecodeTextLines(EncodeTextLines(lines)), lines) << c.name;
  }
}

}  // namespace
