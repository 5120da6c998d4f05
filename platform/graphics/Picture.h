// TPicture: holds one graphic of any kind (PNG, JPEG or bitmap) and loads it
// from a file or from memory, choosing the kind by the data's signature.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/graphics/Graphic.h"

class TPicture {
 public:
  TPicture();
  ~TPicture();
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // The graphic held, or nullptr when the picture is empty.
  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // A copy of another picture's graphic; nullptr empties the picture.
  void Assign(const TPicture* source);
  void Assign(const TGraphic* source);

  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  bool Empty() const { return !graphic_ || graphic_->Empty(); }

  // PNG and JPEG data. EInvalidGraphic for data of another kind or broken
  // data, EFOpenError for a file that cannot be read; a failed load leaves
  // the picture as it was.
  void LoadFromFile(const std::string& path);
  void LoadFromMemory(std::span<const uint8_t> data);

  // Called after the graphic changed, also when it was loaded again in place
  // (controls repaint on it).
  std::function<void()> OnChange;

 private:
  void Changed();

  std::unique_ptr<TGraphic> graphic_;
};
