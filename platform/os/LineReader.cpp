#include "platform/os/LineReader.h"

#include <string_view>

#include "platform/os/TextCodec.h"

namespace vark::os {
namespace {

// Bytes asked of the source at a time: a whole list file at once, and a small
// part of a huge one.
constexpr size_t kChunk = 64 * 1024;

// How the text's line breaks look: one byte per unit, or two in either order
// after a UTF-16 mark. The mark itself is skipped.
struct Units {
  size_t start = 0;
  size_t size = 1;
  bool bigEndian = false;
};

Units UnitsOf(std::string_view head) {
  const auto starts = [&](std::string_view mark) { return head.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) return {3, 1, false};
  if (starts("\xFF\xFE")) return {2, 2, false};
  if (starts("\xFE\xFF")) return {2, 2, true};
  return {};
}

// UTF-16 code units of valid UTF-8 text: one for each character, two for one
// beyond the Basic Multilingual Plane (whose UTF-8 starts with 0xF0..0xF4).
size_t Utf16Length(std::string_view text) {
  size_t units = 0;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
  }
  return units;
}

// Takes bytes from the source until the text holds maxLines line breaks, a
// line has grown past kMaxLineBytes, or the source ends; returns the bytes of
// the lines that are whole (and of the last one at the end of the text).
std::string TakeLineBytes(const ByteSource& source, size_t maxLines) {
  std::string bytes;
  bool ended = false;
  const auto pull = [&] {
    const size_t had = bytes.size();
    bytes.resize(had + kChunk);
    const size_t got = source(std::span<char>(bytes.data() + had, kChunk));
    bytes.resize(had + std::min(got, kChunk));
    ended = got == 0;
  };
  // A mark is up to three bytes long.
  while (!ended && bytes.size() < 3)
    pull();
  const Units units = UnitsOf(bytes);
  const auto unitAt = [&](size_t i) -> char16_t {
    if (units.size == 1) return static_cast<unsigned char>(bytes[i]);
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(units.bigEndian ? (a << 8) | b : (b << 8) | a);
  };

  size_t at = units.start;         // the next unit to look at
  size_t lineStart = units.start;  // where the line being read begins
  size_t lines = 0;
  bool afterCr = false;
  for (;;) {
    for (; at + units.size <= bytes.size(); at += units.size) {
      const char16_t u = unitAt(at);
      const bool crlf = afterCr && u == u'\n';
      afterCr = u == u'\r';
      if (crlf) {
        // The second half of a CR LF break: the next line starts after it.
        lineStart = at + units.size;
      } else if (u == u'\r' || u == u'\n') {
        lineStart = at + units.size;
        if (++lines == maxLines) {
          bytes.resize(lineStart);
          return bytes;
        }
      } else if (at + units.size - lineStart > kMaxLineBytes) {
        // No entry is this long: the text ends before this line.
        bytes.resize(lineStart);
        return bytes;
      }
    }
    if (ended) return bytes;
    pull();
  }
}

}  // namespace

std::vector<std::string> ReadFirstLines(const ByteSource& source, size_t maxLines) {
  if (maxLines == 0) return {};
  std::vector<std::string> lines = DecodeTextLines(TakeLineBytes(source, maxLines), maxLines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (Utf16Length(lines[i]) > kMaxLineUnits) {
      lines.resize(i);
      break;
    }
  }
  return lines;
}

}  // namespace vark::os
