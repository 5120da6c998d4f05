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
using Lines = std::vector<std::string>;
using namespace std::string_literals;

namespace {

// A text of `size` bytes, `head` and then zero bytes, handed out at most
// `step` bytes a call; `given` counts them.
struct VirtualFile {
  std::string head;
  uint64_t size;
  size_t step = SIZE_MAX;
  uint64_t given = 0;

  Lines Read(size_t maxLines) {
    return vark::os::ReadFirstLines(
        [this](std::span<char> buffer) {
          const auto n =
              static_cast<size_t>(std::min<uint64_t>({buffer.size(), size - given, step}));
          std::memset(buffer.data(), 0, n);
          if (given < head.size())
            head.copy(buffer.data(), std::min<size_t>(n, head.size() - given), given);
          given += n;
          return n;
        },
        maxLines);
  }
};

// Parts joined (GCC 12 warns wrongly about chains of string operator+), the
// first one `times` times over.
std::string Cat(std::string_view repeated, size_t times,
                std::initializer_list<std::string_view> rest) {
  std::string s;
  while (times-- > 0)
    s.append(repeated);
  for (std::string_view p : rest)
    s.append(p);
  return s;
}

const std::string kEightLines = "e1\r\ne2\r\ne3\r\ne4\r\ne5\r\ne6\r\ne7\r\ne8\r\n";

TEST(ReadFirstLines, AsksOnlyForTheBytesTheLinesNeed) {
  VirtualFile huge{kEightLines, 3ull << 30};
  EXPECT_EQ(huge.Read(8).size(), 8u);
  EXPECT_LE(huge.given, 64u * 1024);
  VirtualFile oneLine{"", 100ull << 20};
  EXPECT_EQ(oneLine.Read(8).size(), 0u);
  EXPECT_LE(oneLine.given, 256u * 1024);
}

TEST(ReadFirstLines, ALineTooLongToBeAnEntryEndsTheText) {
  const std::string most(kMaxLineUnits, 'x');
  const std::string euros = Cat("\xE2\x82\xAC", kMaxLineUnits, {});  // three bytes, one unit each
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"the longest line", Cat(most, 1, {"\nb\n"}), {most, "b"}},
      {"one unit more", Cat("a\n", 1, {most, "x\nb\n"}), {"a"}},
      {"the longest in three-byte characters", Cat(euros, 1, {"\n"}), {euros}},
      {"one more of them", Cat(euros, 1, {"\xE2\x82\xAC\nb"}), {}},
      {"pairs count two units", Cat("\xF0\x9F\x98\x80", kMaxLineUnits / 2 + 1, {"\n"}), {}},
      {"the last line, unended", Cat("a\n", 1, {most, "x"}), {"a"}},
  };
  for (const auto& c : cases) {
    VirtualFile file{c.text, c.text.size()};
    EXPECT_EQ(file.Read(8), c.lines) << c.name;
  }
}

TEST(ReadFirstLines, GivesTheLinesOfTheWholeTextInAnyChunking) {
  const std::string texts[] = {
      Cat(kEightLines, 1, {"ninth\r\n"}),
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
        EXPECT_EQ(file.Read(maxLines), whole) << text << " " << maxLines << " " << step;
      }
    }
  }
}

}  // namespace
