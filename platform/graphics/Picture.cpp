#include "platform/graphics/Picture.h"

#include "platform/Exceptions.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PictureFile.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  // A graphic loaded again in place changes the picture too.
  if (graphic_) graphic_->OnChange = [this] { Changed(); };
  Changed();
}

void TPicture::Assign(const TPicture* source) {
  Assign(source != nullptr ? source->Graphic() : nullptr);
}

void TPicture::Assign(const TGraphic* source) {
  // Cloning first keeps the picture intact when a picture assigns its own graphic.
  SetGraphic(source != nullptr ? source->Clone() : nullptr);
}

void TPicture::LoadFromFile(const std::string& path) {
  LoadFromMemory(vark::ReadPictureFile(path));
}

void TPicture::LoadFromMemory(std::span<const uint8_t> data) {
  if (vark::IsPng(data)) {
    auto png = std::make_unique<TPngImage>();
    png->LoadFromMemory(data);
    SetGraphic(std::move(png));
  } else if (vark::IsJpeg(data)) {
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromMemory(data);
    SetGraphic(std::move(jpeg));
  } else {
    throw EInvalidGraphic("Unknown picture file format");
  }
}

void TPicture::Changed() {
  if (OnChange) OnChange();
}
