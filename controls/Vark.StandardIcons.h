// CStandardIcon: one of six vector icons (check mark, error cross, question
// mark, information sign, warning triangle, star) drawn straight onto the
// control's canvas and scaled to its size, with no pictures. The control is
// transparent: its parent and the controls beneath it show wherever the icon
// does not paint. Every setter draws at once.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Types.h"
#include "platform/ui/CustomTransparentControl.h"

enum VarkIconType : uint8_t {
  ciconCheckmark,
  ciconError,
  ciconQuestion,
  ciconInformation,
  ciconWarning,
  ciconStar,
  ciconNone
};

// The vertices of a regular pentagon: top, upper left, lower left, lower right,
// upper right.
using TPent = std::array<TPoint, 5>;

class CStandardIcon : public TCustomTransparentControl {
 public:
  explicit CStandardIcon(TComponent* AOwner);
  ~CStandardIcon() override;

  // Keeps the control square: every paint shrinks the longer side to the shorter.
  bool Proportional() const { return FProport; }
  void SetProport(bool Value);
  VarkIconType SelectedIcon() const { return FIcon; }
  void SetIcon(VarkIconType Value);
  // The pen width in percent of the control's width.
  int PenWidth() const { return FWidth; }
  void SetWid(int Value);

  const std::string& Author() const { return FAuthor; }
  const std::string& Site() const { return FSite; }
  const std::string& Version() const { return FVersion; }

  // Marks the icon's area (and so the parent and siblings beneath it) for
  // repainting, and draws the icon at once.
  void Invalidate() override;

  // A five-pointed star with its top point at (cX, cY) and pentagon side size,
  // filled with Colour; a bordersize other than 0 fills the star in bordercolor
  // first and a smaller star in Colour over it, leaving a rim.
  static void MakeStar(TCanvas& Canvas, int cX, int cY, int size, TColor Colour, int bordersize,
                       TColor bordercolor);
  // The pentagon with side L whose top vertex is (X, Y).
  static TPent MakePent(int X, int Y, int L);
  // Traces the star through every second vertex of Pent (in a path, as a rule).
  static void DrawPentacle(TCanvas& Canvas, const TPent& Pent);

 protected:
  void Paint() override;

 private:
  void DrawGlyph(const char* glyph, TColor color, int W, int H);

  std::string FAuthor;
  std::string FSite;
  std::string FVersion;
  VarkIconType FIcon;
  bool FProport;
  int32_t FWidth;
};
