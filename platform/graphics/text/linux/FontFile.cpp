#include "platform/graphics/text/linux/FontFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include FT_TRUETYPE_TABLES_H

namespace vark::text {

std::unique_ptr<FontFile> FontFile::Open(FT_Library library, const std::string& path, int index) {
  if (path.empty()) return nullptr;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size <= 0) {
    ::close(fd);
    return nullptr;
  }
  void* map = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) return nullptr;

  auto file = std::make_unique<FontFile>();
  file->path_ = path;
  file->map_ = map;
  file->mapSize_ = static_cast<size_t>(st.st_size);
  if (FT_New_Memory_Face(library, static_cast<const FT_Byte*>(map),
                         static_cast<FT_Long>(file->mapSize_), index, &file->face_) != 0) {
    file->face_ = nullptr;
    return nullptr;
  }
  if (!FT_IS_SCALABLE(file->face_)) return nullptr;
  file->blob_ = hb_blob_create(static_cast<const char*>(map), static_cast<unsigned>(file->mapSize_),
                               HB_MEMORY_MODE_READONLY, nullptr, nullptr);
  file->hbFace_ = hb_face_create(file->blob_, static_cast<unsigned>(index));
  file->ReadMetrics();
  return file;
}

FontFile::~FontFile() {
  if (hbFace_ != nullptr) hb_face_destroy(hbFace_);
  if (blob_ != nullptr) hb_blob_destroy(blob_);
  if (face_ != nullptr) FT_Done_Face(face_);
  if (map_ != nullptr) munmap(map_, mapSize_);
}

void FontFile::ReadMetrics() {
  unitsPerEm_ = face_->units_per_EM > 0 ? face_->units_per_EM : 1000;
  ascent_ = face_->ascender;
  descent_ = -face_->descender;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent_ = os2->usWinAscent;
    descent_ = os2->usWinDescent;
  }
  if (ascent_ + descent_ <= 0) {
    ascent_ = unitsPerEm_ * 4 / 5;
    descent_ = unitsPerEm_ / 5;
  }
  if (face_->underline_thickness > 0) {
    underlinePosition_ = face_->underline_position;
    underlineThickness_ = face_->underline_thickness;
  } else {
    underlinePosition_ = -unitsPerEm_ / 10;
    underlineThickness_ = unitsPerEm_ / 20;
  }
  if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    strikeoutPosition_ = os2->yStrikeoutPosition;
    strikeoutThickness_ = os2->yStrikeoutSize;
  } else {
    strikeoutPosition_ = unitsPerEm_ / 4;
    strikeoutThickness_ = underlineThickness_;
  }
}

}  // namespace vark::text
