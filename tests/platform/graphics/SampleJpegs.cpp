// The assembler reads the files itself (.incbin), as the program's artwork
// is embedded (tools/artgen/EmbeddedArtwork.cpp).
#include "SampleJpegs.h"

#ifndef VARK_TEST_DATA_DIR
#error "VARK_TEST_DATA_DIR names tests/data"
#endif

// clang-format off
#if defined(_WIN32)
#define VARK_SAMPLE_SECTION ".section .rdata$vark_samples, \"dr\"\n"
#define VARK_SAMPLE_END ".text\n"
#else
#define VARK_SAMPLE_SECTION ".pushsection .rodata.vark_samples, \"a\", @progbits\n"
#define VARK_SAMPLE_END ".popsection\n"
#endif
#define VARK_SAMPLE(symbol, file)                 \
  ".globl " symbol "\n" symbol ":\n"              \
  ".incbin \"" VARK_TEST_DATA_DIR "/" file "\"\n" \
  ".globl " symbol "_end\n" symbol "_end:\n"

asm(VARK_SAMPLE_SECTION
    VARK_SAMPLE("vark_sample_progressive", "blocks-progressive.jpg")
    VARK_SAMPLE("vark_sample_progressive_grey", "blocks-progressive-grey.jpg")
    VARK_SAMPLE("vark_sample_progressive_cmyk", "blocks-progressive-cmyk.jpg")
    VARK_SAMPLE_END);
// clang-format on

extern "C" const uint8_t vark_sample_progressive[], vark_sample_progressive_end[];
extern "C" const uint8_t vark_sample_progressive_grey[], vark_sample_progressive_grey_end[];
extern "C" const uint8_t vark_sample_progressive_cmyk[], vark_sample_progressive_cmyk_end[];

namespace vark::testing {

std::span<const uint8_t> ProgressiveBlocksJpeg() {
  return {vark_sample_progressive, vark_sample_progressive_end};
}
std::span<const uint8_t> ProgressiveGreyBlocksJpeg() {
  return {vark_sample_progressive_grey, vark_sample_progressive_grey_end};
}
std::span<const uint8_t> ProgressiveCmykBlocksJpeg() {
  return {vark_sample_progressive_cmyk, vark_sample_progressive_cmyk_end};
}

}  // namespace vark::testing
