// TLabel: a caption painted on its parent. Alignment places the text across the
// label, Layout up and down; WordWrap breaks it into lines that fit the width;
// AutoSize makes the label as large as its text (as wide too, unless it wraps;
// a right-aligned label keeps its right edge). An opaque label (Transparent
// false, the default) fills its rectangle with its colour first.
//
// BiDiMode is kept and inherited. A right-to-left mode makes the caption read
// right to left: each line is laid out as a right-to-left paragraph (the
// Unicode bidirectional algorithm), so "© Varkel" shows as "Varkel ©". The
// alignment is not mirrored, as on a desktop whose locale reads left to right.
#pragma once

#include "platform/ui/GraphicControl.h"

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // With ShowAccelChar "&&" draws "&" and a single "&" marks the next character.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  // Sizes the label to its text now (AutoSize does it after every change).
  void AdjustBounds();
  // Text does not grow in proportion to its size: an auto-sized label
  // measures itself again once scaled.
  void ChangeScale(int M, int D) override;

 protected:
  void Paint() override;
  // A label with its text (none while it shows no text).
  void DescribeAccessible(vark::a11y::Facts& facts) const override;
  void Loaded() override;
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;

 private:
  // The canvas's text flags for the reading order.
  int TextFlags() const;

  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
};
