// Sections: binding and clipping; recording and damage; shapes; lines and
// paths; text; copies and graphics; single pixels.
#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Text.h"

namespace raster = vark::raster;

namespace {

// A 64-bit coordinate brought back into int, saturating: only used for
// rectangles that are clipped afterwards or only reported.
int Saturate(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

::Pixel Opaque(TColor color) {
  return OpaquePixel(ColorToRGB(color));
}

}  // namespace

std::vector<CanvasCall> CanvasRecorder::Of(std::string_view op) const {
  std::vector<CanvasCall> out;
  for (const CanvasCall& c : calls) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

// ---- Binding and clipping ---------------------------------------------------------

TCanvas::TCanvas(TBitmap* target) {
  Bind(target);
}

void TCanvas::Bind(TBitmap* target, TPoint origin, const TRect& deviceClip) {
  target_ = target;
  origin_ = origin;
  deviceClip_ = deviceClip;
  wholeTarget_ = false;
}

void TCanvas::Bind(TBitmap* target) {
  target_ = target;
  origin_ = {};
  deviceClip_ = {};
  wholeTarget_ = true;
}

TRect TCanvas::DeviceClipRect() const {
  if (target_ == nullptr) return {};
  const TRect bounds = Rect(0, 0, target_->Width(), target_->Height());
  if (wholeTarget_) return bounds;
  TRect r = IntersectRect(deviceClip_, bounds);
  return r.IsEmpty() ? TRect{} : r;
}

TCanvasClip::TCanvasClip(TCanvas& canvas, const TRect& rect)
    : canvas_(canvas), deviceClip_(canvas.deviceClip_), wholeTarget_(canvas.wholeTarget_) {
  const raster::Rect64 d = canvas.Device(rect);
  const TRect device{Saturate(d.left), Saturate(d.top), Saturate(d.right), Saturate(d.bottom)};
  const TRect narrowed = IntersectRect(canvas.DeviceClipRect(), device);
  canvas.deviceClip_ = narrowed.IsEmpty() ? TRect{} : narrowed;
  canvas.wholeTarget_ = false;
}

TCanvasClip::~TCanvasClip() {
  canvas_.deviceClip_ = deviceClip_;
  canvas_.wholeTarget_ = wholeTarget_;
}

TRect TCanvas::ClipRect() const {
  const TRect d = wholeTarget_ || target_ != nullptr ? DeviceClipRect() : deviceClip_;
  return {Saturate(int64_t{d.Left} - origin_.X), Saturate(int64_t{d.Top} - origin_.Y),
          Saturate(int64_t{d.Right} - origin_.X), Saturate(int64_t{d.Bottom} - origin_.Y)};
}

raster::Surface TCanvas::MakeSurface() const {
  raster::Surface s;
  if (target_ == nullptr || target_->Empty()) return s;
  s.bits = target_->Bits();
  s.width = target_->Width();
  s.height = target_->Height();
  s.clip = DeviceClipRect();
  return s;
}

raster::Point64 TCanvas::Device(int x, int y) const {
  return {int64_t{x} + origin_.X, int64_t{y} + origin_.Y};
}

raster::Rect64 TCanvas::Device(const TRect& r) const {
  return {int64_t{r.Left} + origin_.X, int64_t{r.Top} + origin_.Y, int64_t{r.Right} + origin_.X,
          int64_t{r.Bottom} + origin_.Y};
}

// ---- Recording and damage ---------------------------------------------------------

void TCanvas::Record(const char* op, std::initializer_list<int> args, std::string_view text) {
  if (recorder_ != nullptr) Record(op, std::vector<int>(args), text);
}

void TCanvas::Record(const char* op, std::vector<int> args, std::string_view text) {
  if (recorder_ == nullptr) return;
  CanvasCall c;
  c.op = op;
  c.args = std::move(args);
  c.text = std::string(text);
  c.penColor = pen_.Color();
  c.penWidth = pen_.Width();
  c.penStyle = pen_.Style();
  c.brushColor = brush_.Color();
  c.brushStyle = brush_.Style();
  c.fontName = font_.Name();
  c.fontSize = font_.Size();
  c.fontColor = font_.Color();
  c.fontStyle = font_.Style();
  recorder_->calls.push_back(std::move(c));
}

void TCanvas::Damage(const TRect& deviceRect) {
  if (damage_ && !deviceRect.IsEmpty()) damage_(deviceRect);
}

// ---- Shapes --------------------------------------------------------------------------

raster::ShapeStyle TCanvas::MakeStyle() const {
  raster::ShapeStyle st;
  st.stroke = PenVisible();
  st.penPixel = Opaque(pen_.Color());
  st.penWidth = std::max(1, pen_.Width());
  st.fill = BrushVisible();
  st.brushPixel = Opaque(brush_.Color());
  return st;
}

void TCanvas::FillRect(const TRect& rect) {
  Record("FillRect", {rect.Left, rect.Top, rect.Right, rect.Bottom});
  if (!BrushVisible()) return;
  Damage(raster::FillRect(MakeSurface(), Device(rect), Opaque(brush_.Color())));
}

void TCanvas::DrawShape(int x1, int y1, int x2, int y2, int64_t cw, int64_t ch) {
  const raster::Rect64 box = Device(Rect(x1, y1, x2, y2));
  Damage(raster::RoundRect(MakeSurface(), box, cw, ch, MakeStyle()));
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Record("Rectangle", {x1, y1, x2, y2});
  DrawShape(x1, y1, x2, y2, 0, 0);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  Record("RoundRect", {x1, y1, x2, y2, x3, y3});
  DrawShape(x1, y1, x2, y2, x3, y3);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Record("Ellipse", {x1, y1, x2, y2});
  const int64_t w = int64_t{x2} - x1;
  const int64_t h = int64_t{y2} - y1;
  DrawShape(x1, y1, x2, y2, w < 0 ? -w : w, h < 0 ? -h : h);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  std::vector<int> args;
  for (const TPoint& p : points) {
    args.push_back(p.X);
    args.push_back(p.Y);
  }
  Record("Polygon", std::move(args));
  std::vector<raster::Point64> fig;
  fig.reserve(points.size());
  for (const TPoint& p : points)
    fig.push_back(Device(p.X, p.Y));
  if (inPath_) {
    path_.push_back(std::move(fig));
    return;
  }
  if (fig.empty()) return;
  const raster::Surface s = MakeSurface();
  if (BrushVisible()) {
    std::vector<std::vector<raster::Point64>> figs{fig};
    Damage(raster::FillPolygons(s, figs, static_cast<raster::FillRule>(polyFillMode_),
                                Opaque(brush_.Color())));
  }
  if (!PenVisible()) return;
  for (size_t i = 0; i < fig.size(); ++i)
    DrawLine(fig[i], fig[(i + 1) % fig.size()]);
}

// ---- Lines and paths -------------------------------------------------------------

void TCanvas::DrawLine(raster::Point64 a, raster::Point64 b) {
  if (!PenVisible()) return;
  const raster::Surface s = MakeSurface();
  const ::Pixel p = Opaque(pen_.Color());
  if (pen_.Width() <= 1) {
    Damage(raster::ThinLine(s, a, b, p));
  } else {
    Damage(raster::WideLine(s, a, b, pen_.Width(), p));
  }
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  std::vector<int> args;
  for (const TPoint& p : points) {
    args.push_back(p.X);
    args.push_back(p.Y);
  }
  Record("Polyline", std::move(args));
  if (inPath_) {
    std::vector<raster::Point64> fig;
    for (const TPoint& p : points)
      fig.push_back(Device(p.X, p.Y));
    path_.push_back(std::move(fig));
    return;
  }
  for (size_t i = 1; i < points.size(); ++i) {
    DrawLine(Device(points[i - 1].X, points[i - 1].Y), Device(points[i].X, points[i].Y));
  }
}

void TCanvas::MoveTo(int x, int y) {
  Record("MoveTo", {x, y});
  penPos_ = {x, y};
  if (inPath_) path_.push_back({Device(x, y)});
}

void TCanvas::LineTo(int x, int y) {
  Record("LineTo", {x, y});
  if (inPath_) {
    if (path_.empty()) path_.push_back({Device(penPos_.X, penPos_.Y)});
    path_.back().push_back(Device(x, y));
  } else {
    DrawLine(Device(penPos_.X, penPos_.Y), Device(x, y));
  }
  penPos_ = {x, y};
}

void TCanvas::BeginPath() {
  Record("BeginPath", {});
  path_.clear();
  inPath_ = true;
}

void TCanvas::EndPath() {
  Record("EndPath", {});
  inPath_ = false;
}

void TCanvas::SetPolyFillMode(int mode) {
  Record("SetPolyFillMode", {mode});
  // Anything but the two known modes is refused and leaves the mode as it was.
  if (mode == ALTERNATE || mode == WINDING) polyFillMode_ = mode;
}

void TCanvas::FillPath() {
  Record("FillPath", {});
  // A path still open is closed here rather than dropped: the figures the
  // caller traced are what it means to fill.
  inPath_ = false;
  if (BrushVisible()) {
    Damage(raster::FillPolygons(MakeSurface(), path_, static_cast<raster::FillRule>(polyFillMode_),
                                Opaque(brush_.Color())));
  }
  path_.clear();
}

// ---- Text ------------------------------------------------------------------------------

void TCanvas::DrawText(int x, int y, const TRect& deviceClip, std::string_view text) {
  if (target_ == nullptr || text.empty() || deviceClip.IsEmpty()) return;
  const raster::Point64 at = Device(x, y);
  // Text that starts beyond the range of int cannot reach the surface.
  if (at.x < INT_MIN || at.x > INT_MAX || at.y < INT_MIN || at.y > INT_MAX) return;
  const TColor rgb = ColorToRGB(font_.Color());
  if (rgb == font_.Color()) {
    vark::text::Draw(*target_, deviceClip, static_cast<int>(at.x), static_cast<int>(at.y), font_,
                     text, RightToLeft());
  } else {
    TFont resolved;
    resolved.Assign(font_);
    resolved.SetColor(rgb);
    vark::text::Draw(*target_, deviceClip, static_cast<int>(at.x), static_cast<int>(at.y), resolved,
                     text, RightToLeft());
  }
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  Record("TextOut", {x, y}, text);
  const vark::text::TextMetrics m = vark::text::Measure(font_, text, RightToLeft());
  const raster::Rect64 box = Device(Rect(x, y, x, y));
  const raster::Rect64 textBox{box.left, box.top, box.left + m.width, box.top + m.height};
  const raster::Surface s = MakeSurface();
  if (BrushVisible() && !text.empty()) {
    Damage(raster::FillRect(s, textBox, Opaque(brush_.Color())));
  }
  DrawText(x, y, s.clip, text);
  if (s.bits != nullptr && !text.empty()) {
    const TRect shown = IntersectRect({Saturate(textBox.left), Saturate(textBox.top),
                                       Saturate(textBox.right), Saturate(textBox.bottom)},
                                      s.clip);
    Damage(shown);
  }
  penPos_ = {Saturate(int64_t{x} + m.width), y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  Record("TextRect", {rect.Left, rect.Top, rect.Right, rect.Bottom, x, y}, text);
  const raster::Surface s = MakeSurface();
  if (s.bits == nullptr) return;
  const raster::Rect64 d = Device(rect);
  const TRect area = IntersectRect(
      {Saturate(d.left), Saturate(d.top), Saturate(d.right), Saturate(d.bottom)}, s.clip);
  if (area.IsEmpty()) return;
  if (BrushVisible()) raster::FillRect(s, d, Opaque(brush_.Color()));
  DrawText(x, y, area, text);
  Damage(area);
}

int TCanvas::TextWidth(std::string_view text) const {
  return vark::text::Measure(font_, text, RightToLeft()).width;
}

int TCanvas::TextHeight(std::string_view text) const {
  return vark::text::Measure(font_, text, RightToLeft()).height;
}

TSize TCanvas::TextExtent(std::string_view text) const {
  const vark::text::TextMetrics m = vark::text::Measure(font_, text, RightToLeft());
  return {m.width, m.height};
}

TSize TCanvas::GetTextExtentPoint(std::string_view text, int count) const {
  // Cut after count code points: a UTF-8 continuation byte never starts one.
  size_t end = 0;
  int seen = 0;
  while (end < text.size()) {
    if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) {
      if (seen == count) break;
      ++seen;
    }
    ++end;
  }
  if (count <= 0) end = 0;
  return TextExtent(text.substr(0, end));
}

// ---- Copies and graphics --------------------------------------------------------
//
// Nearest sampling maps destination column i (0-based, of n) to source column
// floor((i + ½) · m / n) of m, so a same-size copy is exact and an enlargement
// by a whole factor repeats each pixel that many times. A rectangle whose
// source and destination run in opposite directions (one of them given right
// to left) mirrors the image, as the classic stretch does. Source pixels
// outside the source bitmap are not copied: their destination pixels stay.

namespace {

// For each of n destination steps, the source index (or -1 when outside
// [0, limit)); the span starts at `first` destination steps in.
std::vector<int> SampleMap(int64_t first, int64_t count, int64_t n, int64_t m, bool flip,
                           int64_t srcStart, int64_t limit) {
  std::vector<int> map(static_cast<size_t>(count));
  for (int64_t k = 0; k < count; ++k) {
    const int64_t i = first + k;
    int64_t j = static_cast<int64_t>((static_cast<__int128>(2 * i + 1) * m) / (2 * n));
    if (flip) j = m - 1 - j;
    const int64_t src = srcStart + j;
    map[static_cast<size_t>(k)] = (src >= 0 && src < limit) ? static_cast<int>(src) : -1;
  }
  return map;
}

}  // namespace

void TCanvas::CopyPixels(const TRect& dest, const TBitmap& source,
                         const raster::Rect64& srcDevice) {
  const raster::Surface s = MakeSurface();
  if (s.bits == nullptr || source.Empty()) return;
  const raster::Rect64 d = Device(dest);
  const int64_t dw = d.right - d.left;
  const int64_t dh = d.bottom - d.top;
  const int64_t sw = srcDevice.right - srcDevice.left;
  const int64_t sh = srcDevice.bottom - srcDevice.top;
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  const bool flipX = (dw < 0) != (sw < 0);
  const bool flipY = (dh < 0) != (sh < 0);
  const int64_t dl = std::min(d.left, d.right);
  const int64_t dt = std::min(d.top, d.bottom);
  const int64_t n = dw < 0 ? -dw : dw;
  const int64_t nh = dh < 0 ? -dh : dh;
  const int64_t m = sw < 0 ? -sw : sw;
  const int64_t mh = sh < 0 ? -sh : sh;
  const int64_t sl = std::min(srcDevice.left, srcDevice.right);
  const int64_t st = std::min(srcDevice.top, srcDevice.bottom);

  int64_t x0 = std::max<int64_t>(dl, s.clip.Left);
  int64_t x1 = std::min<int64_t>(dl + n, s.clip.Right);
  int64_t y0 = std::max<int64_t>(dt, s.clip.Top);
  int64_t y1 = std::min<int64_t>(dt + nh, s.clip.Bottom);

  // Copying a bitmap onto itself reads from a snapshot, so overlapping
  // rectangles copy the pixels as they were before the call.
  std::vector<::Pixel> snapshot;
  const ::Pixel* srcBits = source.Bits();
  const int64_t srcW = source.Width();
  const int64_t srcH = source.Height();
  if (&source == target_ && x0 < x1 && y0 < y1) {
    snapshot.assign(source.Bits(), source.Bits() + srcW * srcH);
    srcBits = snapshot.data();
  }

  if (!flipX && !flipY && n == m && nh == mh) {
    // Same size, same direction: whole rows of memory, without sampling.
    // Destination x maps to source x + (sl - dl); keep both inside.
    x0 = std::max(x0, dl - sl);
    x1 = std::min(x1, dl - sl + srcW);
    y0 = std::max(y0, dt - st);
    y1 = std::min(y1, dt - st + srcH);
    if (x0 >= x1 || y0 >= y1) return;
    for (int64_t y = y0; y < y1; ++y) {
      std::memcpy(s.bits + y * s.width + x0, srcBits + (y - dt + st) * srcW + (x0 - dl + sl),
                  static_cast<size_t>(x1 - x0) * sizeof(::Pixel));
    }
    Damage(
        {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)});
    return;
  }
  if (x0 >= x1 || y0 >= y1) return;

  const std::vector<int> cols = SampleMap(x0 - dl, x1 - x0, n, m, flipX, sl, srcW);
  const std::vector<int> rows = SampleMap(y0 - dt, y1 - y0, nh, mh, flipY, st, srcH);
  for (int64_t y = y0; y < y1; ++y) {
    const int sy = rows[static_cast<size_t>(y - y0)];
    if (sy < 0) continue;
    const ::Pixel* srow = srcBits + int64_t{sy} * srcW;
    ::Pixel* drow = s.bits + y * s.width;
    for (int64_t x = x0; x < x1; ++x) {
      const int sx = cols[static_cast<size_t>(x - x0)];
      if (sx >= 0) drow[x] = srow[sx];
    }
  }
  Damage({static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)});
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect) {
  Record("CopyRect", {dest.Left, dest.Top, dest.Right, dest.Bottom, srcRect.Left, srcRect.Top,
                      srcRect.Right, srcRect.Bottom});
  if (source.target_ == nullptr) return;
  CopyPixels(dest, *source.target_, source.Device(srcRect));
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  Record("Draw", {x, y});
  if (graphic.Empty()) return;
  const int64_t r = int64_t{x} + graphic.Width();
  const int64_t b = int64_t{y} + graphic.Height();
  if (r > INT_MAX || b > INT_MAX) return;  // wholly beyond any surface
  const TRect dest = Rect(x, y, static_cast<int>(r), static_cast<int>(b));
  graphic.Draw(*this, dest);
  const raster::Rect64 d = Device(dest);
  Damage(IntersectRect({Saturate(d.left), Saturate(d.top), Saturate(d.right), Saturate(d.bottom)},
                       DeviceClipRect()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
  Record("StretchDraw", {rect.Left, rect.Top, rect.Right, rect.Bottom});
  if (graphic.Empty() || rect.IsEmpty()) return;
  graphic.Draw(*this, rect);
  const raster::Rect64 d = Device(rect);
  Damage(IntersectRect({Saturate(d.left), Saturate(d.top), Saturate(d.right), Saturate(d.bottom)},
                       DeviceClipRect()));
}

void TCanvas::DrawScaled(const TRect& dest, const TBitmap& source, uint8_t opacity,
                         vark::ScaleFilter filter, vark::EdgeMode edge) {
  Record("DrawScaled", {dest.Left, dest.Top, dest.Right, dest.Bottom, opacity,
                        static_cast<int>(filter), static_cast<int>(edge)});
  if (target_ == nullptr || source.Empty() || dest.IsEmpty()) return;
  const raster::Rect64 d = Device(dest);
  if (d.left < INT_MIN || d.right > INT_MAX || d.top < INT_MIN || d.bottom > INT_MAX) return;
  const TRect device{static_cast<int>(d.left), static_cast<int>(d.top), static_cast<int>(d.right),
                     static_cast<int>(d.bottom)};
  const TRect clip = DeviceClipRect();
  if (&source == target_) {
    // Compositing a bitmap onto itself would read pixels already written.
    TBitmap copy;
    source.AssignTo(copy);
    vark::DrawScaled(*target_, clip, device, copy, Rect(0, 0, copy.Width(), copy.Height()), opacity,
                     filter, true, edge);
  } else {
    vark::DrawScaled(*target_, clip, device, source, Rect(0, 0, source.Width(), source.Height()),
                     opacity, filter, true, edge);
  }
  Damage(IntersectRect(device, clip));
}

// ---- Single pixels ------------------------------------------------------------------

TColor TCanvas::Pixel(int x, int y) const {
  const raster::Point64 p = Device(x, y);
  const TRect clip = DeviceClipRect();
  if (p.x < clip.Left || p.x >= clip.Right || p.y < clip.Top || p.y >= clip.Bottom) return clBlack;
  return target_->ColorAt(static_cast<int>(p.x), static_cast<int>(p.y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  Record("SetPixel", {x, y, static_cast<int>(color)});
  const raster::Point64 p = Device(x, y);
  Damage(raster::FillRect(MakeSurface(), {p.x, p.y, p.x + 1, p.y + 1}, Opaque(color)));
}
