#include "platform/graphics/windows/PngChunks.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/Exceptions.h"

namespace vark::png {

namespace {

// The CRC of PNG chunks (ISO 3309, the polynomial reflected), a byte at a time.
const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

uint32_t Crc(std::span<const uint8_t> bytes) {
  const auto& table = CrcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t b : bytes)
    c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string Name(uint32_t type) {
  std::string name(4, ' ');
  for (int i = 0; i < 4; ++i) {
    const auto c = static_cast<char>(type >> (24 - 8 * i));
    name[static_cast<size_t>(i)] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? c : '?';
  }
  return name;
}

[[noreturn]] void Fail(const std::string& reason) {
  throw EInvalidGraphic("Invalid PNG image: " + reason);
}

}  // namespace

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t ReadBigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

void PutBigEndian32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

std::vector<Chunk> ReadChunks(std::span<const uint8_t> file) {
  std::vector<Chunk> chunks;
  size_t pos = sizeof kSignature;
  for (;;) {
    if (file.size() - pos < 12) Fail("the data ends too early");
    const uint32_t length = ReadBigEndian32(file.data() + pos);
    const uint32_t type = ReadBigEndian32(file.data() + pos + 4);
    // Lengths are limited to 2^31 - 1 bytes.
    if (length > 0x7FFFFFFFu) Fail("a chunk length is too large");
    if (file.size() - pos - 12 < length) Fail("the data ends too early");
    const std::span<const uint8_t> whole = file.subspan(pos, size_t{length} + 12);
    const bool critical = (type & 0x20000000u) == 0;  // the first letter is upper case
    if (Crc(whole.subspan(4, size_t{length} + 4)) != ReadBigEndian32(whole.data() + 8 + length)) {
      if (critical) Fail(Name(type) + ": CRC error");
    } else {
      chunks.push_back({type, whole.subspan(8, length), whole});
    }
    pos += whole.size();
    if (chunks.empty() || chunks.front().type != Type("IHDR")) Fail("the first chunk is not IHDR");
    if (type == Type("IEND")) return chunks;
  }
}

void AppendChunk(std::vector<uint8_t>& out, uint32_t type, std::span<const uint8_t> data) {
  const size_t at = out.size();
  out.resize(at + 12 + data.size());
  uint8_t* p = out.data() + at;
  PutBigEndian32(p, static_cast<uint32_t>(data.size()));
  PutBigEndian32(p + 4, type);
  std::copy(data.begin(), data.end(), p + 8);
  PutBigEndian32(p + 8 + data.size(), Crc(std::span<const uint8_t>(p + 4, data.size() + 4)));
}

}  // namespace vark::png
