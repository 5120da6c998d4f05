// The aliased rasteriser under TCanvas. It knows pixels, spans and shapes, and
// nothing of pens, brushes or controls.
//
// Geometry is in device pixels held in 64-bit integers, so that a logical
// coordinate plus any origin can never overflow; every routine walks only the
// rows and columns inside the surface's clip, so a shape a billion pixels wide
// costs no more than one that fits the surface.
//
// Pixel model: pixel (x, y) is sampled at the point (x, y). Filled areas are
// half-open: a span [xl, xr) lights the pixels x with xl <= x < xr, and a
// figure's rows likewise include its top and leave out its bottom, so that
// shapes sharing an edge neither overlap nor leave a gap.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Types.h"

namespace vark::raster {

struct Point64 {
  int64_t x = 0;
  int64_t y = 0;
  friend constexpr bool operator==(const Point64&, const Point64&) = default;
};

struct Rect64 {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
};

// A 32-bit pixel buffer (rows of `width` pixels) and the device rectangle that
// may change. The clip must lie inside the buffer.
struct Surface {
  Pixel* bits = nullptr;
  int width = 0;
  int height = 0;
  TRect clip;
};

// How a closed shape is painted: an outline of penWidth pixels (0 or 1 for the
// thin outline) centred on its edge when stroke is set, the inside when fill is set.
struct ShapeStyle {
  bool stroke = false;
  Pixel penPixel = 0;
  int penWidth = 1;
  bool fill = false;
  Pixel brushPixel = 0;
};

// Polygon fill rules, numbered as the canvas numbers them.
enum FillRule : int { kAlternate = 1, kWinding = 2 };

// Each drawing routine returns the device rectangle it may have changed,
// already clipped (empty when nothing changed).

TRect FillRect(const Surface& s, const Rect64& r, Pixel p);

// A one-pixel line from a to b; b itself is left out, so joined lines never
// paint a shared point twice and a line of length 0 paints nothing.
TRect ThinLine(const Surface& s, Point64 a, Point64 b, Pixel p);

// A line of the given width (> 1) with round ends: every pixel within width / 2
// of the segment. Joined segments drawn this way meet with round joins.
TRect WideLine(const Surface& s, Point64 a, Point64 b, int width, Pixel p);

// Fills closed figures (each closed back to its first point) by the rule.
TRect FillPolygons(const Surface& s, std::span<const std::vector<Point64>> figures, FillRule rule,
                   Pixel p);

// A rectangle with elliptic corners cw × ch pixels across (0 or 1: square), in
// the box [box.left, box.right) × [box.top, box.bottom); an ellipse is the round
// rectangle whose corners are as large as the box. The box is normalised first.
TRect RoundRect(const Surface& s, Rect64 box, int64_t cw, int64_t ch, const ShapeStyle& style);

// The row span [xl, xr) of the discrete round rectangle above (normalised box,
// corner sizes clamped to it); false for rows outside it.
bool RoundRectSpan(const Rect64& box, int64_t cw, int64_t ch, int64_t y, int64_t& xl, int64_t& xr);

}  // namespace vark::raster
