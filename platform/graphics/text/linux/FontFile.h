// FontFile: one font file mapped into memory, opened once by FreeType (for
// glyph outlines) and HarfBuzz (for shaping), with its design metrics.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstddef>
#include <memory>
#include <string>

namespace vark::text {

class FontFile {
 public:
  // nullptr when the file is missing or not a font.
  static std::unique_ptr<FontFile> Open(FT_Library library, const std::string& path, int index);
  FontFile() = default;
  ~FontFile();
  FontFile(const FontFile&) = delete;
  FontFile& operator=(const FontFile&) = delete;

  const std::string& Path() const { return path_; }
  FT_Face Face() const { return face_; }
  hb_face_t* HbFace() const { return hbFace_; }
  bool HasGlyph(char32_t codepoint) const { return FT_Get_Char_Index(face_, codepoint) != 0; }

  // Design metrics in font units. Ascent and descent are those the classic
  // desktop reports (the OS/2 "Windows" values, else the horizontal header's),
  // so a line is as tall as it is there.
  int UnitsPerEm() const { return unitsPerEm_; }
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  int UnderlinePosition() const { return underlinePosition_; }  // below the baseline: negative
  int UnderlineThickness() const { return underlineThickness_; }
  int StrikeoutPosition() const { return strikeoutPosition_; }  // above the baseline
  int StrikeoutThickness() const { return strikeoutThickness_; }

 private:
  void ReadMetrics();

  std::string path_;
  void* map_ = nullptr;
  size_t mapSize_ = 0;
  FT_Face face_ = nullptr;
  hb_blob_t* blob_ = nullptr;
  hb_face_t* hbFace_ = nullptr;
  int unitsPerEm_ = 1000;
  int ascent_ = 800;
  int descent_ = 200;
  int underlinePosition_ = -100;
  int underlineThickness_ = 50;
  int strikeoutPosition_ = 250;
  int strikeoutThickness_ = 50;
};

}  // namespace vark::text
