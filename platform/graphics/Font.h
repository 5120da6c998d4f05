// TFont: a font by name, size, colour and style.
//
// Size is in points and Height in pixels, tied as the classic framework ties
// them at 96 pixels per inch: Height = -MulDiv(Size, 96, 72) and
// Size = -MulDiv(Height, 72, 96). A negative Height is the em height in pixels
// (the "character height"); a positive one the cell height (ascent + descent).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/graphics/Color.h"

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of TFontStyle.
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) bits_ |= Bit(s);
  }
  constexpr bool Contains(TFontStyle s) const { return (bits_ & Bit(s)) != 0; }
  constexpr void Include(TFontStyle s) { bits_ |= Bit(s); }
  constexpr void Exclude(TFontStyle s) { bits_ &= static_cast<uint8_t>(~Bit(s)); }
  constexpr bool IsEmpty() const { return bits_ == 0; }
  constexpr uint8_t Bits() const { return bits_; }
  friend constexpr bool operator==(const TFontStyles&, const TFontStyles&) = default;

 private:
  static constexpr uint8_t Bit(TFontStyle s) { return static_cast<uint8_t>(1u << s); }
  uint8_t bits_ = 0;
};

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;

class TFont {
 public:
  static constexpr int kPixelsPerInch = 96;
  // The framework's default font, which a reset font takes.
  static constexpr const char* kDefaultName = "Segoe UI";
  static constexpr int kDefaultHeight = -12;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Size() const;
  void SetSize(int points);
  int Height() const { return height_; }
  void SetHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);

  // Copies every attribute of another font (not its OnChange handler).
  void Assign(const TFont& other);
  // Back to the framework's default font.
  void Reset();

  bool SameLook(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && color_ == other.color_ &&
           style_ == other.style_;
  }

  // Called after any attribute changed (controls repaint or re-measure on it).
  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_ = kDefaultName;
  int height_ = kDefaultHeight;
  TColor color_ = clWindowText;
  TFontStyles style_;
  TFontCharset charset_ = DEFAULT_CHARSET;
};

// a * b / c rounded to the nearest integer, halves away from zero, as the
// classic MulDiv; -1 when c is 0.
int MulDiv(int a, int b, int c);
