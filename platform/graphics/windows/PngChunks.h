// PNG files chunk by chunk, by hand. WIC inflates and deflates the samples,
// but it hides the chunks our pictures keep exactly (the palette as stored,
// the transparency chunk) and cannot write every colour type; the container
// around the samples is read, checked and written here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vark::png {

// A chunk type as its four letters read big-endian ("IHDR" = 0x49484452).
constexpr uint32_t Type(const char (&name)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(name[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(name[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(name[2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(name[3]));
}

struct Chunk {
  uint32_t type = 0;
  std::span<const uint8_t> data;   // the chunk's data, inside the file
  std::span<const uint8_t> whole;  // length, type, data and CRC
};

extern const uint8_t kSignature[8];

// The chunks of a PNG file from the signature to IEND, checked: every length
// inside the data, the CRC of every critical chunk (an ancillary chunk with a
// wrong CRC is left out, as decoders do), IHDR first. EInvalidGraphic
// "Invalid PNG image: <reason>" otherwise.
std::vector<Chunk> ReadChunks(std::span<const uint8_t> file);

// Appends a chunk with its length and CRC.
void AppendChunk(std::vector<uint8_t>& out, uint32_t type, std::span<const uint8_t> data);

uint32_t ReadBigEndian32(const uint8_t* p);
void PutBigEndian32(uint8_t* p, uint32_t v);

}  // namespace vark::png
