// Drawing helpers between the canvas and the controls: the rounded-rectangle
// record, the largest font size that fits a box, a copy of a rounded region
// between canvases, and a left-to-right colour gradient.
#pragma once

#include <string_view>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Types.h"

// A rectangle with elliptic corners RoundX wide and RoundY high (diameters).
struct TRoundRect {
  TRect Rect;
  int RoundY = 0;
  int RoundX = 0;

  TRoundRect() = default;
  TRoundRect(const TRect& SRect, int RndX, int RndY) : Rect(SRect), RoundY(RndY), RoundX(RndX) {}
  static TRoundRect Create(const TRect& SRect, int RndX, int RndY) { return {SRect, RndX, RndY}; }

  int Width() const { return Rect.Width(); }
  int Height() const { return Rect.Height(); }
  int Bottom() const { return Rect.Bottom; }
};

TRoundRect RoundRect(const TRect& SRect, int RndX, int RndY);

// The largest font size (points) at which Text fits MaxWidth × MaxHeight: from
// 11 up until the text reaches either limit, then down until it fits or the
// size is 1. Leaves the canvas font at that size; an empty text gives 0 and
// changes nothing.
int GetMaxFontSize(TCanvas& Canvas, std::string_view Text, int MaxWidth, int MaxHeight);

// Copies the rounded region FromRect of FromCanvas onto DestRect of
// DestCanvas, stretched, as two-pixel strips along the corner arcs plus the
// band between them; destination pixels outside the rounded shape keep their
// colour. shrinkborder moves every edge of both rectangles inwards first.
void CopyRoundRect(TCanvas& FromCanvas, const TRoundRect& FromRect, TCanvas& DestCanvas,
                   const TRect& DestRect, int shrinkborder);

// Fills Rect with one-pixel vertical lines whose colour runs from FromColor at
// the left towards ToColor (which the last column does not quite reach), with
// the canvas's pen width and style.
void GradHorizontal(TCanvas& Canvas, const TRect& Rect, TColor FromColor, TColor ToColor);
