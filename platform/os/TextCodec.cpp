#include "platform/os/TextCodec.h"

#include "platform/os/AnsiCodePage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vark::os {
namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// unassigned map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

constexpr char32_t kReplacement = 0xFFFD;

// One UTF-8 sequence at the start of s (which is not empty). Returns how many
// bytes it takes; for a malformed sequence that is its longest valid-looking
// start (at least one byte), as the Unicode replacement practice counts.
size_t NextSequence(std::string_view s, char32_t& cp, bool& valid) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(0);
  valid = false;
  cp = kReplacement;
  if (lead < 0x80) {
    valid = true;
    cp = lead;
    return 1;
  }
  size_t need;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  char32_t value = lead & (0x7F >> need);
  for (size_t k = 1; k < need; ++k) {
    if (k >= s.size()) return k;
    unsigned char b = byte(k);
    unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
    if (b < lo || b > hi) return k;
    value = (value << 6) | (b & 0x3F);
  }
  valid = true;
  cp = value;
  return need;
}

std::string SanitizedUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    char32_t cp;
    bool valid;
    size_t n = NextSequence(s.substr(i), cp, valid);
    if (valid) {
      out.append(s.substr(i, n));
    } else {
      AppendUtf8(out, kReplacement);
    }
    i += n;
  }
  return out;
}

enum EightBitKind { ebUtf8, ebUtf8Lenient, ebAnsi };

std::string ConvertLine(std::string_view line, EightBitKind kind) {
  switch (kind) {
    case ebUtf8:
      return std::string(line);
    case ebUtf8Lenient:
      return SanitizedUtf8(line);
    case ebAnsi:
      return AnsiToUtf8(line);
  }
  return {};
}

// CR and LF are single bytes in UTF-8 and in every ANSI code page and never
// part of a longer sequence (the double-byte code pages' second bytes start at
// 0x40), so 8-bit text is split before it is converted.
std::vector<std::string_view> SplitEightBit(std::string_view text, size_t maxLines) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  const size_t n = text.size();
  while (start < n && lines.size() < maxLines) {
    size_t end = start;
    while (end < n && text[end] != '\r' && text[end] != '\n')
      ++end;
    lines.push_back(text.substr(start, end - start));
    if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> ConvertLines(const std::vector<std::string_view>& lines,
                                      EightBitKind kind) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (std::string_view line : lines)
    out.push_back(ConvertLine(line, kind));
  return out;
}

// Without a mark, the lines taken decide: UTF-8 when all of them are valid
// UTF-8, else the ANSI code page. What follows them plays no part, so the text read
// back is the text that was there, however the rest of the file is spoilt.
EightBitKind KindOfUnmarked(const std::vector<std::string_view>& lines) {
  for (std::string_view line : lines) {
    if (!IsValidUtf8(line)) return ebAnsi;
  }
  return ebUtf8;
}

std::vector<std::string> SplitUtf16(std::string_view bytes, bool bigEndian, size_t maxLines) {
  std::vector<std::string> lines;
  const size_t units = bytes.size() / 2;
  const bool oddByte = bytes.size() % 2 != 0;
  const auto unit = [&](size_t i) -> char16_t {
    unsigned char a = static_cast<unsigned char>(bytes[2 * i]);
    unsigned char b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
  };
  std::string line;
  bool open = false;  // whether a line has started since the last break
  size_t i = 0;
  while (i < units && lines.size() < maxLines) {
    char16_t u = unit(i++);
    if (u == u'\r' || u == u'\n') {
      if (u == u'\r' && i < units && unit(i) == u'\n') ++i;
      lines.push_back(std::move(line));
      line.clear();
      open = false;
      continue;
    }
    open = true;
    char32_t cp = u;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i < units && unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(i++) - 0xDC00);
      } else {
        cp = kReplacement;
      }
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(line, cp);
  }
  if (lines.size() < maxLines) {
    // A lone last byte cannot be a character; it still shows that text is there.
    if (oddByte && i >= units) {
      AppendUtf8(line, kReplacement);
      open = true;
    }
    if (open) lines.push_back(std::move(line));
  }
  return lines;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// Bytes that the reader would not take for the ANSI code page: they start with a
// byte-order mark, or they are valid UTF-8 beyond plain ASCII.
bool ReadsAsSomethingElse(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) return true;
  bool highByte = false;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      highByte = true;
      break;
    }
  }
  return highByte && IsValidUtf8(bytes);
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    // Plain ASCII dominates; skip it eight bytes at a time.
    if (i + 8 <= n) {
      uint64_t word;
      std::memcpy(&word, bytes.data() + i, 8);
      if ((word & 0x8080808080808080ull) == 0) {
        i += 8;
        continue;
      }
    }
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    bool valid;
    size_t len = NextSequence(bytes.substr(i), cp, valid);
    if (!valid) return false;
    i += len;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else if (b < 0xA0) {
      AppendUtf8(out, kHighHalf[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t cp;
    bool valid;
    i += NextSequence(text.substr(i), cp, valid);
    if (!valid) return std::nullopt;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    size_t found = kHighHalf.size();
    for (size_t k = 0; k < kHighHalf.size(); ++k) {
      if (kHighHalf[k] == cp) {
        found = k;
        break;
      }
    }
    if (found == kHighHalf.size()) return std::nullopt;
    out.push_back(static_cast<char>(0x80 + found));
  }
  return out;
}

std::vector<std::string> DecodeTextLines(std::string_view bytes, size_t maxLines) {
  if (maxLines == 0) return {};
  if (StartsWith(bytes, kUtf8Mark)) {
    return ConvertLines(SplitEightBit(bytes.substr(3), maxLines), ebUtf8Lenient);
  }
  if (StartsWith(bytes, "\xFF\xFE")) return SplitUtf16(bytes.substr(2), false, maxLines);
  if (StartsWith(bytes, "\xFE\xFF")) return SplitUtf16(bytes.substr(2), true, maxLines);
  const std::vector<std::string_view> lines = SplitEightBit(bytes, maxLines);
  return ConvertLines(lines, KindOfUnmarked(lines));
}

std::string EncodeTextLines(std::span<const std::string> lines) {
  std::string text;
  size_t total = 0;
  for (const std::string& line : lines)
    total += line.size() + 2;
  text.reserve(total);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  std::optional<std::string> ansi = Utf8ToAnsi(text);
  if (ansi && !ReadsAsSomethingElse(*ansi)) return std::move(*ansi);
  return kUtf8Mark + SanitizedUtf8(text);
}

}  // namespace vark::os
