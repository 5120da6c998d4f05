// Random drawing: each 20 bytes pick a canvas operation, pen and brush
// settings and four coordinates anywhere in the range of int, on a small
// bitmap bound at a random origin. The sanitizers catch out-of-bounds
// writes and integer overflow; the time limit catches work that grows with
// the size of a shape instead of the size of the surface.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Scale.h"

namespace {

int32_t Int(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return static_cast<int32_t>(v);
}

// Small values most of the time, extreme ones sometimes.
int Coord(const uint8_t* p) {
  const int32_t v = Int(p);
  switch (static_cast<uint32_t>(v) >> 30) {
    case 0:
      return v % 64;
    case 1:
      return v % 4096;
    default:
      return v;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  TBitmap target(40, 30);
  TBitmap other(17, 9);
  other.SetPixelFormat(pf32bit);
  other.SetAlphaFormat(data[0] & 1 ? afPremultiplied : afDefined);
  TCanvas c;
  c.Bind(&target, Point(Coord(data), Coord(data + 4)), Rect(-5, 3, 35, 40));
  data += 8;
  size -= 8;
  for (; size >= 20; data += 20, size -= 20) {
    const uint8_t op = data[0];
    c.Pen().SetWidth(static_cast<int8_t>(data[1]));
    c.Pen().SetStyle(data[2] & 1 ? psClear : psSolid);
    c.Brush().SetStyle(data[2] & 2 ? bsClear : bsSolid);
    c.SetPolyFillMode(data[2] & 4 ? WINDING : ALTERNATE);
    const int a = Coord(data + 4), b = Coord(data + 8), x = Coord(data + 12), y = Coord(data + 16);
    switch (op % 13) {
      case 0:
        c.FillRect(Rect(a, b, x, y));
        break;
      case 1:
        c.Rectangle(a, b, x, y);
        break;
      case 2:
        c.RoundRect(a, b, x, y, Coord(data + 1), Coord(data + 2));
        break;
      case 3:
        c.Ellipse(a, b, x, y);
        break;
      case 4:
        c.MoveTo(a, b);
        c.LineTo(x, y);
        break;
      case 5: {
        const TPoint pts[] = {{a, b}, {x, y}, {a, y}, {x, b}};
        c.Polygon(pts);
        break;
      }
      case 6:
        c.BeginPath();
        c.MoveTo(a, b);
        c.LineTo(x, y);
        c.LineTo(a, y);
        c.EndPath();
        c.FillPath();
        break;
      case 7:
        c.CopyRect(Rect(a, b, x, y), other.Canvas(), Rect(b, a, y, x));
        break;
      case 8:
        c.CopyRect(Rect(a, b, x, y), c, Rect(x, y, a, b));
        break;
      case 9:
        c.StretchDraw(Rect(a, b, x, y), other);
        break;
      case 10:
        c.SetPixel(a, b, static_cast<TColor>(Int(data + 12)));
        (void)c.Pixel(x, y);
        break;
      case 11: {
        // Scaled drawing: every filter and edge mode, any rectangles.
        const auto filter = static_cast<vark::ScaleFilter>(data[3] % 3);
        const auto edge = static_cast<vark::EdgeMode>(data[3] / 3 % 3);
        vark::DrawScaled(target, Rect(-5, 3, 35, 40), Rect(a, b, x, y), other, Rect(b, a, y, x),
                         data[1], filter, (data[2] & 8) != 0, edge);
        break;
      }
      default: {
        const TPoint pts[] = {{a, b}, {x, y}, {b, a}};
        c.Polyline(pts);
        break;
      }
    }
  }
  return 0;
}
