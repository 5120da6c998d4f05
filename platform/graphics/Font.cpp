#include "platform/graphics/Font.h"

#include <cstdint>
#include <cstdlib>

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t num = static_cast<int64_t>(a) * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  int64_t half = den / 2;
  int64_t q = num >= 0 ? (num + half) / den : -((-num + half) / den);
  return static_cast<int>(q);
}

void TFont::SetName(const std::string& name) {
  name_ = name;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, kPixelsPerInch, 72)); }

void TFont::SetHeight(int height) {
  height_ = height;
  Changed();
}

void TFont::SetColor(TColor color) {
  color_ = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  style_ = style;
  Changed();
}

void TFont::SetCharset(TFontCharset charset) {
  charset_ = charset;
  Changed();
}

void TFont::Assign(const TFont& other) {
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
  Changed();
}

void TFont::Reset() {
  name_ = kDefaultName;
  height_ = kDefaultHeight;
  color_ = clWindowText;
  style_ = {};
  charset_ = DEFAULT_CHARSET;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange();
}
