// The gallery shows every control of the library, section by section. Each
// control adds one file to this folder that registers its section:
//
//   static const GalleryRegistration kButtons{{
//       "buttons",
//       [](const std::filesystem::path& dir) { ... write PNGs into dir ... },
//       [](TWinControl& area) { ... put live controls into area ... },
//   }};
//
// `gallery OUTDIR [SECTION...]` runs on the headless backend and writes each
// section's pictures into OUTDIR/SECTION/. `gallery` alone (or `gallery --live
// [SECTION...]`) opens a real window with every section's live controls side by
// side, for a person to try.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"

class TCustomForm;
class TForm;
class TWinControl;
namespace vark {
class HeadlessBackend;
}

struct GallerySection {
  std::string name;
  // Writes the section's pictures into an existing folder (headless backend).
  std::function<void(const std::filesystem::path& dir)> writePictures;
  // Fills the section's area of the live window (may be empty).
  std::function<void(TWinControl& area)> populateLive;
};

const std::vector<GallerySection>& GallerySections();

struct GalleryRegistration {
  explicit GalleryRegistration(GallerySection section);
};

// A folder or file named in UTF-8, and back: the standard library's own
// conversions use the ANSI code page on Windows.
inline std::filesystem::path PathOfUtf8(const std::string& utf8) {
  return std::u8string(utf8.begin(), utf8.end());
}
inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

// Paints a form on the headless backend and writes it as a PNG.
void SaveFormPicture(TCustomForm& form, const std::filesystem::path& path);

// The headless backend the pictures are drawn on.
vark::HeadlessBackend& GalleryHeadless();

// A shown borderless form of that client size and colour, to lay controls on.
std::unique_ptr<TForm> GalleryPage(int width, int height, TColor color);
