// TCanvas: drawing on a bitmap with a pen, a brush and a font, by the rules of
// the classic desktop drawing API:
//   - aliased; rectangles are half-open (right column and bottom row left out);
//   - LineTo leaves out its end point; a pen wider than 1 has round ends and
//     joins; width 0 draws as 1; psClear draws no line or outline (the other
//     dash styles draw solid);
//   - outlines (Rectangle, RoundRect, Ellipse, Polygon) are centred on the
//     shape's edge and the brush fills the inside; with psClear the brush fills
//     the whole shape; bsClear fills nothing (FillRect included);
//   - CopyRect copies pixels as they are, stretched with nearest sampling;
//   - TextOut draws anti-aliased glyphs in the font colour with the text's
//     top-left at (x, y), over a box in the brush colour unless bsClear.
// The scan conversion itself is vark::raster's (Raster.h).
//
// Coordinates are logical: the device position is logical + Origin(), and every
// operation is clipped to the device clip rectangle and the target's bounds. A
// bitmap's own canvas has origin (0, 0) and the whole bitmap as clip; the
// windowing layer binds control canvases to a window's back buffer. Device
// positions are computed in 64 bits, so no origin or coordinate overflows.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Raster.h"
#include "platform/graphics/Scale.h"
#include "platform/graphics/Types.h"

class TBitmap;
class TGraphic;

enum TPenStyle : uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame
};
enum TBrushStyle : uint8_t { bsSolid, bsClear };

// Polygon and path fill modes, as the classic API numbers them.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;
// TCanvas::TextFlags: text read right to left.
constexpr int ETO_RTLREADING = 0x80;

class TPen {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  // Widths below 1 draw as 1 pixel; a negative width is ignored (the pen keeps
  // the width it had), as the classic API does.
  int Width() const { return width_; }
  void SetWidth(int width) {
    if (width >= 0) width_ = width;
  }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style) { style_ = style; }

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
};

class TBrush {
 public:
  TColor Color() const { return color_; }
  // Setting a colour makes a clear brush solid again.
  void SetColor(TColor color) {
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
  }
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style) { style_ = style; }

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

// One recorded canvas call: the operation, its arguments as passed (logical
// coordinates) and the pen, brush and font in force at that moment.
struct CanvasCall {
  std::string op;  // "FillRect", "RoundRect", "Ellipse", "Polygon", "MoveTo", "LineTo",
                   // "TextOut", "CopyRect", "BeginPath", "EndPath", "SetPolyFillMode",
                   // "FillPath", "Draw", "StretchDraw", "Rectangle", "Polyline",
                   // "TextRect", "SetPixel", "DrawScaled" (dest, opacity, filter, edge)
  std::vector<int> args;
  std::string text;
  TColor penColor = clBlack;
  int penWidth = 1;
  TPenStyle penStyle = psSolid;
  TColor brushColor = clWhite;
  TBrushStyle brushStyle = bsSolid;
  std::string fontName;
  int fontSize = 0;
  TColor fontColor = clBlack;
  TFontStyles fontStyle;
};

// Collects the calls of every canvas it is attached to, for tests.
class CanvasRecorder {
 public:
  std::vector<CanvasCall> calls;
  void Clear() { calls.clear(); }
  std::vector<CanvasCall> Of(std::string_view op) const;
};

class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(TBitmap* target);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Where drawing goes. A null target draws nothing (measuring still works).
  void Bind(TBitmap* target, TPoint origin, const TRect& deviceClip);
  void Bind(TBitmap* target);  // the whole bitmap, origin (0, 0)
  TBitmap* Target() const { return target_; }
  TPoint Origin() const { return origin_; }
  // The clip rectangle in logical coordinates (the whole surface of a bitmap).
  TRect ClipRect() const;
  TRect GetClipRect() const { return ClipRect(); }
  // The clip rectangle in device coordinates, inside the target's bounds
  // (empty without a target). Graphics drawing themselves clip to it.
  TRect DeviceClipRect() const;

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_.Assign(font); }

  void FillRect(const TRect& rect);
  void Rectangle(int x1, int y1, int x2, int y2);
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  void RoundRect(const TRect& rect, int cx, int cy) {
    RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, cx, cy);
  }
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void Polygon(std::span<const TPoint> points);
  void Polyline(std::span<const TPoint> points);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  TPoint PenPos() const { return penPos_; }

  // How TextOut lays text out: ETO_RTLREADING reads each text as a
  // right-to-left paragraph (it starts at the right; a left-to-right word
  // inside keeps its own order). The classic canvas's TextFlags.
  int TextFlags() const { return textFlags_; }
  void SetTextFlags(int flags) { textFlags_ = flags; }

  // Text is UTF-8.
  void TextOut(int x, int y, std::string_view text);
  // TextOut clipped to rect (logical), as the classic TextRect.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  int TextWidth(std::string_view text) const;
  int TextHeight(std::string_view text) const;
  TSize TextExtent(std::string_view text) const;
  // The extent of the first count characters (code points) of text.
  TSize GetTextExtentPoint(std::string_view text, int count) const;

  // Copies srcRect of source onto dest, stretched with nearest sampling.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect);
  // Draws a graphic at (x, y) at its own size, or stretched into rect.
  void Draw(int x, int y, const TGraphic& graphic);
  void StretchDraw(const TRect& rect, const TGraphic& graphic);
  // Composites the whole of source, scaled into dest, with an overall opacity,
  // the filter and the edge handling given, sampling pixel centres: the smooth
  // picture drawing under the drawing helpers. The source's alpha is read by
  // its AlphaFormat (vark::DrawScaled).
  void DrawScaled(const TRect& dest, const TBitmap& source, uint8_t opacity,
                  vark::ScaleFilter filter, vark::EdgeMode edge);

  // Paths: between BeginPath and EndPath, MoveTo, LineTo, Polyline and Polygon
  // add to the path instead of drawing (MoveTo starts a new figure); FillPath
  // closes every figure, fills them with the brush by the poly-fill mode (which
  // Polygon uses too) and discards the path. The other shapes draw as usual.
  void BeginPath();
  void EndPath();
  void SetPolyFillMode(int mode);
  int PolyFillMode() const { return polyFillMode_; }
  void FillPath();

  TColor Pixel(int x, int y) const;  // 0x00BBGGRR, logical coordinates; clBlack outside
  void SetPixel(int x, int y, TColor color);

  // Tests attach a recorder; nullptr detaches it.
  void SetRecorder(CanvasRecorder* recorder) { recorder_ = recorder; }
  // Told the device rectangle of every drawing operation, after clipping, so
  // the windowing layer knows what to present.
  void SetDamageListener(std::function<void(const TRect&)> listener) {
    damage_ = std::move(listener);
  }

 private:
  friend class TBitmap;      // draws itself through CopyPixels
  friend class TCanvasClip;  // narrows the clip for a while

  void Record(const char* op, std::initializer_list<int> args, std::string_view text = {});
  void Record(const char* op, std::vector<int> args, std::string_view text = {});
  void Damage(const TRect& deviceRect);
  vark::raster::Surface MakeSurface() const;
  vark::raster::Point64 Device(int x, int y) const;
  vark::raster::Rect64 Device(const TRect& r) const;
  vark::raster::ShapeStyle MakeStyle() const;
  bool PenVisible() const { return pen_.Style() != psClear; }
  bool BrushVisible() const { return brush_.Style() != bsClear; }
  bool RightToLeft() const { return (textFlags_ & ETO_RTLREADING) != 0; }
  void DrawLine(vark::raster::Point64 a, vark::raster::Point64 b);
  void DrawShape(int x1, int y1, int x2, int y2, int64_t cw, int64_t ch);
  // Copies srcDevice of source (device coordinates of the source bitmap) onto
  // dest (logical coordinates of this canvas), stretched with nearest sampling.
  void CopyPixels(const TRect& dest, const TBitmap& source, const vark::raster::Rect64& srcDevice);
  void DrawText(int x, int y, const TRect& deviceClip, std::string_view text);

  TBitmap* target_ = nullptr;
  TPoint origin_;
  TRect deviceClip_;
  bool wholeTarget_ = true;  // clip follows the target's size (a bitmap's own canvas)
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint penPos_;
  int polyFillMode_ = ALTERNATE;
  int textFlags_ = 0;
  bool inPath_ = false;
  std::vector<std::vector<vark::raster::Point64>> path_;  // figures, device coordinates
  CanvasRecorder* recorder_ = nullptr;
  std::function<void(const TRect&)> damage_;
};

// Narrows a canvas's clip to a logical rectangle while it lives, then puts the
// previous clip back. Clips only ever shrink: the new clip is the old one
// intersected with the rectangle.
class TCanvasClip {
 public:
  TCanvasClip(TCanvas& canvas, const TRect& rect);
  ~TCanvasClip();
  TCanvasClip(const TCanvasClip&) = delete;
  TCanvasClip& operator=(const TCanvasClip&) = delete;

 private:
  TCanvas& canvas_;
  TRect deviceClip_;
  bool wholeTarget_;
};
