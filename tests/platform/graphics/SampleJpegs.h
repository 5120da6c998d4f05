// The sample JPEG files of tests/data, compiled into the test program.
#pragma once

#include <cstdint>
#include <span>

namespace vark::testing {

std::span<const uint8_t> ProgressiveBlocksJpeg();
std::span<const uint8_t> ProgressiveGreyBlocksJpeg();
std::span<const uint8_t> ProgressiveCmykBlocksJpeg();

}  // namespace vark::testing
