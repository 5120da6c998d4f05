#include "app/Artwork.h"

#include <string>

#include "platform/Exceptions.h"

// Defined by the embedded artwork (tools/artgen/EmbeddedArtwork.cpp): the first
// byte of each file and its size.
#define VALDOR_ARTWORK_FILE(name)                                                      \
  extern "C" const uint8_t valdor_artwork_##name[];                                    \
  extern "C" const uint64_t valdor_artwork_##name##_size;                              \
  static std::span<const uint8_t> name() {                                             \
    return {valdor_artwork_##name, static_cast<size_t>(valdor_artwork_##name##_size)}; \
  }

namespace {
VALDOR_ARTWORK_FILE(background)
VALDOR_ARTWORK_FILE(backdrop)
VALDOR_ARTWORK_FILE(mapeditor)
VALDOR_ARTWORK_FILE(icon)
VALDOR_ARTWORK_FILE(edition1)
VALDOR_ARTWORK_FILE(edition2)
VALDOR_ARTWORK_FILE(edition3)
VALDOR_ARTWORK_FILE(edition4)
VALDOR_ARTWORK_FILE(edition5)
VALDOR_ARTWORK_FILE(edition6)
VALDOR_ARTWORK_FILE(edition7)
VALDOR_ARTWORK_FILE(edition8)
}  // namespace

std::span<const uint8_t> BackgroundJpeg() {
  return background();
}
std::span<const uint8_t> BackdropPng() {
  return backdrop();
}
std::span<const uint8_t> MapEditorPng() {
  return mapeditor();
}
std::span<const uint8_t> AppIconPng() {
  return icon();
}

std::span<const uint8_t> EditionPng(int index) {
  switch (index) {
    case 1:
      return edition1();
    case 2:
      return edition2();
    case 3:
      return edition3();
    case 4:
      return edition4();
    case 5:
      return edition5();
    case 6:
      return edition6();
    case 7:
      return edition7();
    case 8:
      return edition8();
  }
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}
