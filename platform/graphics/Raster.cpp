// Sections: spans and damage; rectangles; thin lines; wide lines; polygons;
// round rectangles and ellipses.
#include "platform/graphics/Raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vark::raster {

namespace {

// ---- Spans and damage ------------------------------------------------------

// Fills n pixels. The plain loop is compiled twice on x86-64, for the
// baseline and for AVX2, and the loader picks the one the processor runs:
// with 256-bit stores a window-sized fill runs as fast as memset, while the
// baseline's 128-bit stores take about twice as long. The pick needs the ELF
// loader's indirect functions, so Windows programs keep the baseline.
#if defined(__x86_64__) && defined(__ELF__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target_clones("avx2", "default")))
#endif
void FillPixels(Pixel* p, size_t n, Pixel v) {
  for (size_t i = 0; i < n; ++i)
    p[i] = v;
}

// Writes spans clipped to the surface and remembers the box they covered.
class Painter {
 public:
  explicit Painter(const Surface& s) : s_(s) {}

  void Span(int64_t y, int64_t xl, int64_t xr, Pixel p) {
    if (y < s_.clip.Top || y >= s_.clip.Bottom) return;
    xl = std::max<int64_t>(xl, s_.clip.Left);
    xr = std::min<int64_t>(xr, s_.clip.Right);
    if (xl >= xr) return;
    FillPixels(s_.bits + y * s_.width + xl, static_cast<size_t>(xr - xl), p);
    Touch(static_cast<int>(xl), static_cast<int>(y), static_cast<int>(xr), static_cast<int>(y) + 1);
  }

  void Dot(int64_t x, int64_t y, Pixel p) { Span(y, x, x + 1, p); }

  void Touch(int l, int t, int r, int b) {
    if (damage_.IsEmpty()) {
      damage_ = {l, t, r, b};
    } else {
      damage_ = {std::min(damage_.Left, l), std::min(damage_.Top, t), std::max(damage_.Right, r),
                 std::max(damage_.Bottom, b)};
    }
  }

  // The rows of [top, bottom) that lie inside the clip.
  int64_t FirstRow(int64_t top) const { return std::max<int64_t>(top, s_.clip.Top); }
  int64_t EndRow(int64_t bottom) const { return std::min<int64_t>(bottom, s_.clip.Bottom); }

  const TRect& Damage() const { return damage_; }
  const TRect& Clip() const { return s_.clip; }

 private:
  const Surface& s_;
  TRect damage_;
};

bool Drawable(const Surface& s) {
  return s.bits != nullptr && !s.clip.IsEmpty();
}

// The smallest integer >= v, for v a double that may lie far outside the
// surface: clamped to a window around the clip first, so the conversion to an
// integer is always defined.
int64_t CeilClamped(double v, const TRect& clip) {
  double lo = static_cast<double>(clip.Left) - 2.0;
  double hi = static_cast<double>(clip.Right) + 2.0;
  if (!(v >= lo)) return static_cast<int64_t>(lo);  // also catches NaN
  if (v > hi) return static_cast<int64_t>(hi);
  return static_cast<int64_t>(std::ceil(v));
}

__int128 FloorDiv(__int128 num, __int128 den) {  // den > 0
  __int128 q = num / den;
  if ((num % den) != 0 && num < 0) --q;
  return q;
}

}  // namespace

// ---- Rectangles --------------------------------------------------------------

TRect FillRect(const Surface& s, const Rect64& r, Pixel p) {
  if (!Drawable(s) || r.IsEmpty()) return {};
  int64_t l = std::max<int64_t>(r.left, s.clip.Left);
  int64_t t = std::max<int64_t>(r.top, s.clip.Top);
  int64_t rr = std::min<int64_t>(r.right, s.clip.Right);
  int64_t b = std::min<int64_t>(r.bottom, s.clip.Bottom);
  if (l >= rr || t >= b) return {};
  if (l == 0 && rr == s.width) {
    // Whole rows are contiguous: one fill.
    FillPixels(s.bits + t * s.width, static_cast<size_t>((b - t) * s.width), p);
  } else {
    for (int64_t y = t; y < b; ++y) {
      FillPixels(s.bits + y * s.width + l, static_cast<size_t>(rr - l), p);
    }
  }
  return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(rr), static_cast<int>(b)};
}

// ---- Thin lines --------------------------------------------------------------
//
// Bresenham's line, stepping along the major axis from a and stopping one
// step short of b. The pixel of step i on the minor axis is i × minor / major
// rounded to the nearest integer, a tie staying on the starting side; it is
// computed exactly for the first visible step (in 128 bits, since the product
// may exceed 64), and incrementally after that. Only steps inside the clip
// along the major axis are walked.

TRect ThinLine(const Surface& s, Point64 a, Point64 b, Pixel p) {
  if (!Drawable(s)) return {};
  const int64_t dx = b.x - a.x;
  const int64_t dy = b.y - a.y;
  if (dx == 0 && dy == 0) return {};
  if (dx == 0) {
    // One column, the commonest line in the controls (gradients, highlight
    // bands draw hundreds a frame): rows [a.y, b.y) downwards, (b.y, a.y]
    // upwards, without the stepping's set-up.
    if (a.x < s.clip.Left || a.x >= s.clip.Right) return {};
    const int64_t top = std::max<int64_t>(dy > 0 ? a.y : b.y + 1, s.clip.Top);
    const int64_t bottom = std::min<int64_t>(dy > 0 ? b.y : a.y + 1, s.clip.Bottom);
    if (top >= bottom) return {};
    Pixel* px = s.bits + top * s.width + a.x;
    for (int64_t y = top; y < bottom; ++y, px += s.width)
      *px = p;
    return {static_cast<int>(a.x), static_cast<int>(top), static_cast<int>(a.x) + 1,
            static_cast<int>(bottom)};
  }
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const int64_t major = xMajor ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
  const int64_t minor = xMajor ? (dy < 0 ? -dy : dy) : (dx < 0 ? -dx : dx);
  const int64_t sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t start = xMajor ? a.x : a.y;
  const int64_t startMinor = xMajor ? a.y : a.x;
  const int64_t lo = xMajor ? s.clip.Left : s.clip.Top;
  const int64_t hi = xMajor ? s.clip.Right : s.clip.Bottom;  // exclusive

  // Steps whose major coordinate lies in [lo, hi).
  int64_t iFirst = sMajor > 0 ? lo - start : start - (hi - 1);
  int64_t iLast = sMajor > 0 ? hi - 1 - start : start - lo;
  iFirst = std::max<int64_t>(iFirst, 0);
  iLast = std::min<int64_t>(iLast, major - 1);
  Painter out(s);
  if (iFirst > iLast) return {};

  if (minor == 0) {
    // Horizontal and vertical lines: one span, or one column.
    const int64_t u0 = start + sMajor * (sMajor > 0 ? iFirst : iLast);
    const int64_t u1 = u0 + (iLast - iFirst) + 1;
    if (xMajor) {
      out.Span(startMinor, u0, u1, p);
    } else if (startMinor >= s.clip.Left && startMinor < s.clip.Right) {
      for (int64_t y = u0; y < u1; ++y)
        s.bits[y * s.width + startMinor] = p;
      out.Touch(static_cast<int>(startMinor), static_cast<int>(u0),
                static_cast<int>(startMinor) + 1, static_cast<int>(u1));
    }
    return out.Damage();
  }

  const __int128 twoMajor = static_cast<__int128>(major) * 2;
  __int128 num = static_cast<__int128>(iFirst) * minor * 2 + major - 1;
  int64_t m = static_cast<int64_t>(FloorDiv(num, twoMajor));
  int64_t rem = static_cast<int64_t>(num - static_cast<__int128>(m) * twoMajor);
  const int64_t step = minor * 2;
  const int64_t wrap = major * 2;
  for (int64_t i = iFirst; i <= iLast; ++i) {
    int64_t u = start + sMajor * i;
    int64_t v = startMinor + sMinor * m;
    if (xMajor) {
      out.Dot(u, v, p);
    } else {
      out.Dot(v, u, p);
    }
    rem += step;
    if (rem >= wrap) {
      rem -= wrap;
      ++m;
    }
  }
  return out.Damage();
}

// ---- Wide lines ----------------------------------------------------------------
//
// A wide line is the set of points within r = width / 2 of the segment (a
// capsule: round ends, and round joins where segments meet). An odd width is
// centred on the pixels of the line; an even width cannot be, and is centred
// half a pixel up and left of them, so a 2-pixel line along row y covers rows
// y - 1 and y. Each row of the capsule is one interval of x.

namespace {

struct Interval {
  double lo = 1;
  double hi = 0;
  bool Empty() const { return !(lo <= hi); }
  void Join(double l, double h) {
    if (!(l <= h)) return;
    if (Empty()) {
      lo = l;
      hi = h;
    } else {
      lo = std::min(lo, l);
      hi = std::max(hi, h);
    }
  }
};

// The x for which lo <= c·x + k <= hi.
Interval Slab(double c, double k, double lo, double hi) {
  Interval r;
  if (c == 0) {
    if (k >= lo && k <= hi) {
      r.lo = -std::numeric_limits<double>::infinity();
      r.hi = std::numeric_limits<double>::infinity();
    }
    return r;
  }
  double x1 = (lo - k) / c;
  double x2 = (hi - k) / c;
  r.lo = std::min(x1, x2);
  r.hi = std::max(x1, x2);
  return r;
}

// Cuts the segment to the rectangle (Liang-Barsky); false when nothing is left.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, double l, double t, double r,
                 double b) {
  double t0 = 0;
  double t1 = 1;
  const double dx = bx - ax;
  const double dy = by - ay;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {ax - l, r - ax, ay - t, b - ay};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double u = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, u);
    } else {
      t1 = std::min(t1, u);
    }
    if (t0 > t1) return false;
  }
  const double nax = ax + t0 * dx;
  const double nay = ay + t0 * dy;
  bx = ax + t1 * dx;
  by = ay + t1 * dy;
  ax = nax;
  ay = nay;
  return true;
}

}  // namespace

TRect WideLine(const Surface& s, Point64 a, Point64 b, int width, Pixel p) {
  if (!Drawable(s) || width <= 1) return ThinLine(s, a, b, p);
  const double r = width / 2.0;
  const double shift = (width % 2 == 0) ? 0.5 : 0.0;
  double ax = static_cast<double>(a.x) - shift;
  double ay = static_cast<double>(a.y) - shift;
  double bx = static_cast<double>(b.x) - shift;
  double by = static_cast<double>(b.y) - shift;
  // Far-away parts cannot reach the clip; cutting them off keeps the
  // arithmetic below in small numbers. An end cut off this way lies more than
  // r + 2 pixels outside the clip, so its round cap would not show either.
  const double margin = r + 2.0;
  if (!ClipSegment(ax, ay, bx, by, s.clip.Left - margin, s.clip.Top - margin, s.clip.Right + margin,
                   s.clip.Bottom + margin)) {
    return {};
  }
  const double dx = bx - ax;
  const double dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  const double len = std::sqrt(len2);

  Painter out(s);
  const int64_t top = static_cast<int64_t>(std::floor(std::min(ay, by) - r));
  const int64_t bottom = static_cast<int64_t>(std::ceil(std::max(ay, by) + r)) + 1;
  for (int64_t y = out.FirstRow(top); y < out.EndRow(bottom); ++y) {
    const double yc = static_cast<double>(y);
    Interval row;
    for (int end = 0; end < 2; ++end) {
      const double cx = end == 0 ? ax : bx;
      const double cy = end == 0 ? ay : by;
      const double ddy = yc - cy;
      if (ddy * ddy <= r * r) {
        const double h = std::sqrt(r * r - ddy * ddy);
        row.Join(cx - h, cx + h);
      }
    }
    if (len > 0) {
      // Along the segment: 0 <= (p - a)·d <= |d|²; across it: |(p - a) × d| <= r·|d|.
      Interval along = Slab(dx, (yc - ay) * dy - ax * dx, 0, len2);
      Interval across = Slab(-dy, dx * (yc - ay) + dy * ax, -r * len, r * len);
      row.Join(std::max(along.lo, across.lo), std::min(along.hi, across.hi));
    }
    if (row.Empty()) continue;
    out.Span(y, CeilClamped(row.lo, out.Clip()), CeilClamped(row.hi, out.Clip()), p);
  }
  return out.Damage();
}

// ---- Polygons ----------------------------------------------------------------------
//
// Scanline fill sampling each row at its integer y: an edge crosses row y when
// its upper end is at or above y and its lower end below it; a crossing at x
// starts or ends the span at ceil(x), computed exactly. Alternate fills between
// every second pair of crossings, winding wherever the signed count of crossed
// edges is not zero (so the inner pentagon of a self-crossing star is filled).

namespace {

struct Edge {
  int64_t x0, y0, x1, y1;  // y0 < y1
  int dir;                 // +1 downwards, -1 upwards
};

struct Crossing {
  int64_t x;
  int dir;
};

}  // namespace

TRect FillPolygons(const Surface& s, std::span<const std::vector<Point64>> figures, FillRule rule,
                   Pixel p) {
  if (!Drawable(s)) return {};
  std::vector<Edge> edges;
  int64_t top = std::numeric_limits<int64_t>::max();
  int64_t bottom = std::numeric_limits<int64_t>::min();
  for (const auto& fig : figures) {
    const size_t n = fig.size();
    if (n < 2) continue;
    for (size_t i = 0; i < n; ++i) {
      Point64 u = fig[i];
      Point64 v = fig[(i + 1) % n];
      if (u.y == v.y) continue;
      if (u.y < v.y) {
        edges.push_back({u.x, u.y, v.x, v.y, 1});
      } else {
        edges.push_back({v.x, v.y, u.x, u.y, -1});
      }
      top = std::min(top, std::min(u.y, v.y));
      bottom = std::max(bottom, std::max(u.y, v.y));
    }
  }
  Painter out(s);
  if (edges.empty()) return {};
  std::vector<Crossing> xs;
  for (int64_t y = out.FirstRow(top); y < out.EndRow(bottom); ++y) {
    xs.clear();
    for (const Edge& e : edges) {
      if (y < e.y0 || y >= e.y1) continue;
      __int128 num = static_cast<__int128>(y - e.y0) * (e.x1 - e.x0);
      __int128 den = e.y1 - e.y0;
      int64_t cx = e.x0 - static_cast<int64_t>(FloorDiv(-num, den));  // x0 + ceil(num / den)
      xs.push_back({cx, e.dir});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    if (rule == kWinding) {
      int wind = 0;
      int64_t start = 0;
      for (const Crossing& c : xs) {
        int before = wind;
        wind += c.dir;
        if (before == 0 && wind != 0) start = c.x;
        if (before != 0 && wind == 0) out.Span(y, start, c.x, p);
      }
    } else {
      for (size_t i = 0; i + 1 < xs.size(); i += 2)
        out.Span(y, xs[i].x, xs[i + 1].x, p);
    }
  }
  return out.Damage();
}

// ---- Round rectangles and ellipses -------------------------------------------------
//
// The discrete shape: a pixel of the box is inside unless it lies in a corner
// square of cw/2 × ch/2 and its centre (x + ½, y + ½) falls outside that
// corner's ellipse (semi-axes cw/2, ch/2, centred cw/2, ch/2 in from the box's
// corner). Each row is therefore one span, computed for the upper half and
// mirrored to the lower half and to the right, so the shape is exactly
// symmetric. Growing the corner by one pixel moves a row's end inwards by at
// most one pixel (the edge moves by at most half a pixel per step), and never
// outwards.
//
// A one-pixel outline is the shape's boundary: its pixels with a neighbour
// (left, right, above or below) outside the shape; the brush fills the rest.
// The first pixel of every row is on the boundary, so drawing the outlines of
// corner sizes 0, 1, ..., N over each other paints every pixel that corner N
// cuts off, without gaps: the controls rely on this to paint their corners.
//
// A wider pen paints the ring between the shape grown outwards by width / 2
// and shrunk inwards by (width - 1) / 2 pixels, with the corner ellipses grown
// and shrunk by as much, so a width-p outline is p pixels thick, centred on
// the one-pixel outline (an even width leans outwards); the brush fills what
// lies inside the ring. A square box with a wide pen gets round outer corners,
// the round joins of the pen.

namespace {

struct Shape {
  Rect64 box;
  double rx = 0;
  double ry = 0;

  Shape(const Rect64& b, int64_t cw, int64_t ch) : box(b) {
    cw = std::clamp<int64_t>(cw, 0, b.right - b.left);
    ch = std::clamp<int64_t>(ch, 0, b.bottom - b.top);
    rx = static_cast<double>(cw) / 2;
    ry = static_cast<double>(ch) / 2;
  }

  bool Span(int64_t y, int64_t& xl, int64_t& xr) const {
    if (box.IsEmpty() || y < box.top || y >= box.bottom) return false;
    const int64_t k = std::min(y - box.top, box.bottom - 1 - y);  // rows from the nearer edge
    const double v = static_cast<double>(k) + 0.5;
    int64_t inset = 0;
    if (v < ry) {
      const double t = (ry - v) / ry;
      const double hx = rx * std::sqrt(std::max(0.0, 1.0 - t * t));
      // Pixels whose centre u = j + ½ satisfies rx - u <= hx are inside; a
      // hair of tolerance makes exact ties count as inside on every platform.
      inset = static_cast<int64_t>(std::max(0.0, std::ceil(rx - 0.5 - hx - 1e-9)));
    }
    xl = box.left + inset;
    xr = box.right - inset;
    return xl < xr;
  }
};

Rect64 Normalised(Rect64 r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

}  // namespace

bool RoundRectSpan(const Rect64& box, int64_t cw, int64_t ch, int64_t y, int64_t& xl, int64_t& xr) {
  return Shape(box, cw, ch).Span(y, xl, xr);
}

TRect RoundRect(const Surface& s, Rect64 box, int64_t cw, int64_t ch, const ShapeStyle& style) {
  if (!Drawable(s)) return {};
  box = Normalised(box);
  if (box.IsEmpty() || (!style.stroke && !style.fill)) return {};
  cw = std::clamp<int64_t>(cw, 0, box.right - box.left);
  ch = std::clamp<int64_t>(ch, 0, box.bottom - box.top);
  Painter out(s);
  int64_t xl, xr;

  if (!style.stroke) {
    const Shape shape(box, cw, ch);
    for (int64_t y = out.FirstRow(box.top); y < out.EndRow(box.bottom); ++y) {
      if (shape.Span(y, xl, xr)) out.Span(y, xl, xr, style.brushPixel);
    }
    return out.Damage();
  }

  if (style.penWidth <= 1) {
    const Shape shape(box, cw, ch);
    for (int64_t y = out.FirstRow(box.top); y < out.EndRow(box.bottom); ++y) {
      if (!shape.Span(y, xl, xr)) continue;
      int64_t il = xl + 1;
      int64_t ir = xr - 1;
      int64_t al, ar, bl, br;
      if (shape.Span(y - 1, al, ar) && shape.Span(y + 1, bl, br)) {
        il = std::max({il, al, bl});
        ir = std::min({ir, ar, br});
      } else {
        ir = il;
      }
      if (il < ir) {
        out.Span(y, xl, il, style.penPixel);
        out.Span(y, ir, xr, style.penPixel);
        if (style.fill) out.Span(y, il, ir, style.brushPixel);
      } else {
        out.Span(y, xl, xr, style.penPixel);
      }
    }
    return out.Damage();
  }

  const int64_t grow = style.penWidth / 2;
  const int64_t shrink = (style.penWidth - 1) / 2 + 1;
  const Rect64 outerBox{box.left - grow, box.top - grow, box.right + grow, box.bottom + grow};
  const Shape outer(outerBox, cw + 2 * grow, ch + 2 * grow);
  const Rect64 innerBox{box.left + shrink, box.top + shrink, box.right - shrink,
                        box.bottom - shrink};
  const Shape inner(innerBox, std::max<int64_t>(0, cw - 2 * shrink),
                    std::max<int64_t>(0, ch - 2 * shrink));
  for (int64_t y = out.FirstRow(outerBox.top); y < out.EndRow(outerBox.bottom); ++y) {
    if (!outer.Span(y, xl, xr)) continue;
    int64_t il, ir;
    if (inner.Span(y, il, ir)) {
      out.Span(y, xl, il, style.penPixel);
      out.Span(y, ir, xr, style.penPixel);
      if (style.fill) out.Span(y, il, ir, style.brushPixel);
    } else {
      out.Span(y, xl, xr, style.penPixel);
    }
  }
  return out.Damage();
}

}  // namespace vark::raster
