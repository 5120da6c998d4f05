// The first lines of a text taken from a byte source: only as many bytes as
// the lines need are asked for, however large the text, and a line too long
// to be an entry ends the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/LineReader.h"
#include "platform/os/TextCodec.h"

using vark::os::kMaxLineUnits;
using vark::os::ReadFirstLines;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

namespace {

// A text of `size` bytes: `head`, then zero bytes. Counts what it hands out,
// at most `step` bytes a call.
struct VirtualFile {
  std::string head;
  uint64_t size;
  size_t step = SIZE_MAX;
  uint64_t given = 0;

  size_t operator()(std::span<char> buffer) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>({buffer.size(), size - given, step}));
    std::memset(buffer.data(), 0, n);
    if (given < head.size()) {
      std::memcpy(buffer.data(), head.data() + given, std::min<size_t>(n, head.size() - given));
    }
    given += n;
    return n;
  }
};

Lines Read(VirtualFile& file, size_t maxLines) {
  return ReadFirstLines([&](std::span<char> b) { return file(b); }, maxLines);
}

// Joined with append: GCC 12 warns wrongly about chains of string operator+.
std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (std::string_view p : parts)
    s.append(p);
  return s;
}

std::string EightLines() {
  std::string s;
  for (char i = '1'; i <= '8'; ++i)
    s += {'e', i, '\r', '\n'};
  return s;
}

TEST(ReadFirstLines, AsksOnlyForTheBytesTheLinesNeed) {
  struct Case {
    const char* name;
    std::string head;
    uint64_t size;
    size_t lines;
  };
  const std::string eight = EightLines();
  const Case cases[] = {
      {"eight lines, then 3 GB", eight, 3ull << 30, 8},
      {"one line of 100 MB", "", 100ull << 20, 0},
      {"two lines, then 100 MB in the third", "a\nb\n", 100ull << 20, 2},
  };
  for (const Case& c : cases) {
    VirtualFile file{c.head, c.size};
    const Lines lines = Read(file, 8);
    EXPECT_EQ(lines.size(), c.lines) << c.name;
    EXPECT_LE(file.given, 256u * 1024) << c.name;
  }
}

TEST(ReadFirstLines, ALineTooLongToBeAnEntryEndsTheText) {
  const std::string most(kMaxLineUnits, 'x');
  const std::string euro = "\xE2\x82\xAC";  // three bytes, one unit
  std::string euros;
  for (size_t i = 0; i < kMaxLineUnits; ++i)
    euros += euro;
  const std::string astral = "\xF0\x9F\x98\x80";  // four bytes, two units
  std::string astrals;
  for (size_t i = 0; i < kMaxLineUnits / 2; ++i)
    astrals += astral;
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"the longest line", Cat({most, "\nb\n"}), {most, "b"}},
      {"one unit more", Cat({"a\n", most, "x\nb\n"}), {"a"}},
      {"the longest in three-byte characters", Cat({euros, "\n"}), {euros}},
      {"one more of them", Cat({euros, euro, "\nb"}), {}},
      {"pairs count two units", Cat({astrals, astral, "\n"}), {}},
      {"the last line, unended", Cat({"a\n", most, "x"}), {"a"}},
  };
  for (const auto& c : cases) {
    VirtualFile file{c.text, c.text.size()};
    EXPECT_EQ(Read(file, 8), c.lines) << c.name;
  }
}

TEST(ReadFirstLines, GivesTheLinesOfTheWholeTextInAnyChunking) {
  const std::string texts[] = {
      Cat({EightLines(), "ninth\r\n"}),
      "caf\xC3\xA9\r\nb\r",
      "\xEF\xBB\xBF\xC3\xA9\n\r\n",
      "\xFF\xFE"
      "a\0\r\0\n\0b\0\r\0"s,
      "\xFE\xFF\0a\0\n\0b"s,
      "x\r",
  };
  for (const std::string& text : texts) {
    for (size_t maxLines : {size_t{1}, size_t{2}, size_t{8}}) {
      const Lines whole = vark::os::DecodeTextLines(text, maxLines);
      for (size_t step : {size_t{1}, size_t{2}, size_t{3}, SIZE_MAX}) {
        VirtualFile file{text, text.size(), step};
        EXPECT_EQ(Read(file, maxLines), whole) << text << " " << maxLines << " " << step;
      }
    }
  }
}

}  // namespace
