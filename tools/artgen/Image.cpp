#include "Image.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace artgen {

void Image::Blend(int x, int y, Color c, float coverage) {
  const float a = c.a * coverage;
  if (a <= 0) return;
  Rgba& d = At(x, y);
  const float k = 1 - a;
  d.r = c.r * a + d.r * k;
  d.g = c.g * a + d.g * k;
  d.b = c.b * a + d.b * k;
  d.a = a + d.a * k;
}

void Image::AddLight(int x, int y, Color c, float amount) {
  Rgba& d = At(x, y);
  const float k = amount * c.a * d.a;
  d.r = std::min(d.a, d.r + c.r * k);
  d.g = std::min(d.a, d.g + c.g * k);
  d.b = std::min(d.a, d.b + c.b * k);
}

void Image::Composite(const Image& src, int dx, int dy, float opacity) {
  for (int y = std::max(0, dy); y < std::min(height_, dy + src.Height()); ++y) {
    for (int x = std::max(0, dx); x < std::min(width_, dx + src.Width()); ++x) {
      const Rgba& s = src.At(x - dx, y - dy);
      Rgba& d = At(x, y);
      const float k = 1 - s.a * opacity;
      d.r = s.r * opacity + d.r * k;
      d.g = s.g * opacity + d.g * k;
      d.b = s.b * opacity + d.b * k;
      d.a = s.a * opacity + d.a * k;
    }
  }
}

Rgba Image::Sample(float x, float y) const {
  x -= 0.5f;
  y -= 0.5f;
  const float fx = std::floor(x), fy = std::floor(y);
  const float tx = x - fx, ty = y - fy;
  const int x0 = std::clamp(static_cast<int>(fx), 0, width_ - 1);
  const int y0 = std::clamp(static_cast<int>(fy), 0, height_ - 1);
  const int x1 = std::clamp(static_cast<int>(fx) + 1, 0, width_ - 1);
  const int y1 = std::clamp(static_cast<int>(fy) + 1, 0, height_ - 1);
  const Rgba &a = At(x0, y0), &b = At(x1, y0), &c = At(x0, y1), &d = At(x1, y1);
  auto lerp2 = [&](float pa, float pb, float pc, float pd) {
    return Mix(Mix(pa, pb, tx), Mix(pc, pd, tx), ty);
  };
  return {lerp2(a.r, b.r, c.r, d.r), lerp2(a.g, b.g, c.g, d.g), lerp2(a.b, b.b, c.b, d.b),
          lerp2(a.a, b.a, c.a, d.a)};
}

namespace {

// Area-average resampling of one axis: each target cell averages the source
// cells it overlaps, weighted by the overlap.
std::vector<Rgba> AreaAxis(const std::vector<Rgba>& src, int srcLen, int dstLen, int lines,
                           bool alongRows) {
  std::vector<Rgba> dst(static_cast<size_t>(dstLen) * lines);
  const float step = static_cast<float>(srcLen) / dstLen;
  for (int line = 0; line < lines; ++line) {
    for (int i = 0; i < dstLen; ++i) {
      const float from = i * step, to = (i + 1) * step;
      Rgba sum;
      for (int s = static_cast<int>(from); s < srcLen && s < to; ++s) {
        const float w = std::min<float>(to, s + 1) - std::max<float>(from, s);
        const Rgba& p = alongRows ? src[static_cast<size_t>(line) * srcLen + s]
                                  : src[static_cast<size_t>(s) * lines + line];
        sum.r += p.r * w;
        sum.g += p.g * w;
        sum.b += p.b * w;
        sum.a += p.a * w;
      }
      Rgba& d = alongRows ? dst[static_cast<size_t>(line) * dstLen + i]
                          : dst[static_cast<size_t>(i) * lines + line];
      d = {sum.r / step, sum.g / step, sum.b / step, sum.a / step};
    }
  }
  return dst;
}

void BoxBlurLine(Rgba* data, int count, size_t stride, int radius, std::vector<Rgba>& tmp) {
  tmp.resize(count);
  for (int i = 0; i < count; ++i)
    tmp[i] = data[i * stride];
  const float norm = 1.0f / (2 * radius + 1);
  Rgba sum;
  auto at = [&](int i) -> const Rgba& { return tmp[std::clamp(i, 0, count - 1)]; };
  for (int i = -radius; i <= radius; ++i) {
    sum.r += at(i).r, sum.g += at(i).g, sum.b += at(i).b, sum.a += at(i).a;
  }
  for (int i = 0; i < count; ++i) {
    data[i * stride] = {sum.r * norm, sum.g * norm, sum.b * norm, sum.a * norm};
    const Rgba& in = at(i + radius + 1);
    const Rgba& out = at(i - radius);
    sum.r += in.r - out.r, sum.g += in.g - out.g, sum.b += in.b - out.b, sum.a += in.a - out.a;
  }
}

}  // namespace

Image Image::Resized(int width, int height) const {
  Image out(width, height);
  if (width <= width_ && height <= height_) {
    const std::vector<Rgba> rows = AreaAxis(pixels_, width_, width, height_, true);
    out.pixels_ = AreaAxis(rows, height_, height, width, false);
    return out;
  }
  // Bilinear, with the column taps worked out once instead of for every row.
  struct Tap {
    int i0, i1;
    float t;
  };
  auto taps = [](int srcLen, int dstLen) {
    std::vector<Tap> out(dstLen);
    const float scale = static_cast<float>(srcLen) / dstLen;
    for (int i = 0; i < dstLen; ++i) {
      const float s = (i + 0.5f) * scale - 0.5f;
      const int f = static_cast<int>(std::floor(s));
      out[i] = {std::clamp(f, 0, srcLen - 1), std::clamp(f + 1, 0, srcLen - 1), s - f};
    }
    return out;
  };
  const std::vector<Tap> xs = taps(width_, width), ys = taps(height_, height);
  auto lerp = [](const Rgba& a, const Rgba& b, float t) {
    return Rgba{Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
  };
  for (int y = 0; y < height; ++y) {
    const Tap& ty = ys[y];
    for (int x = 0; x < width; ++x) {
      const Tap& tx = xs[x];
      out.At(x, y) = lerp(lerp(At(tx.i0, ty.i0), At(tx.i1, ty.i0), tx.t),
                          lerp(At(tx.i0, ty.i1), At(tx.i1, ty.i1), tx.t), ty.t);
    }
  }
  return out;
}

Image Image::Blurred(int radius) const {
  Image out = *this;
  if (radius <= 0) return out;
  std::vector<Rgba> tmp;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height_; ++y)
      BoxBlurLine(&out.At(0, y), width_, 1, radius, tmp);
    for (int x = 0; x < width_; ++x)
      BoxBlurLine(&out.At(x, 0), height_, width_, radius, tmp);
  }
  return out;
}

std::vector<uint8_t> Image::ToRgba8(bool dither) const {
  std::vector<uint8_t> out(Size() * 4);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Rgba& p = At(x, y);
      uint8_t* o = &out[(static_cast<size_t>(y) * width_ + x) * 4];
      const int a = static_cast<int>(Clamp01(p.a) * 255 + 0.5f);
      if (a == 0) {
        o[0] = o[1] = o[2] = o[3] = 0;
        continue;
      }
      const float inv = 1.0f / p.a;
      const float noise = dither ? Hash01(x, y, 0xD17E) - 0.5f : 0.f;
      const float ch[3] = {p.r * inv, p.g * inv, p.b * inv};
      for (int c = 0; c < 3; ++c)
        o[c] = static_cast<uint8_t>(
            std::clamp(static_cast<int>(Clamp01(ch[c]) * 255 + 0.5f + noise), 0, 255));
      o[3] = static_cast<uint8_t>(a);
    }
  }
  return out;
}

template <typename Fn>
void Canvas::ForEachCovered(const Path& design, const Coverage* clip, Fn fn) {
  const Coverage mask = Mask(design);
  for (int y = mask.top; y < mask.top + mask.height; ++y) {
    for (int x = mask.left; x < mask.left + mask.width; ++x) {
      float cov = mask.At(x, y);
      if (clip) cov *= clip->At(x, y);
      if (cov > 0) fn(x, y, cov, transform_.Invert({x + 0.5f, y + 0.5f}));
    }
  }
}

Coverage Canvas::Mask(const Path& design) const {
  return Rasterize(design.Transformed(transform_), image_.Width(), image_.Height(), subsamples_);
}

void Canvas::Fill(const Path& design, const Paint& paint, const Coverage* clip) {
  ForEachCovered(design, clip,
                 [&](int x, int y, float cov, Vec2 p) { image_.Blend(x, y, paint(p), cov); });
}

void Canvas::Fill(const Path& design, Color color, const Coverage* clip) {
  ForEachCovered(design, clip,
                 [&](int x, int y, float cov, Vec2) { image_.Blend(x, y, color, cov); });
}

void Canvas::Glow(const Path& design, Color color, const Coverage* clip) {
  ForEachCovered(design, clip,
                 [&](int x, int y, float cov, Vec2) { image_.AddLight(x, y, color, cov); });
}

Paint LinearGradient(Vec2 from, Vec2 to, Color a, Color b) {
  const Vec2 d = to - from;
  const float len2 = Dot(d, d);
  return [=](Vec2 p) { return MixColor(a, b, Clamp01(Dot(p - from, d) / len2)); };
}

Paint RadialGradient(Vec2 centre, float radius, Color inner, Color outer) {
  return [=](Vec2 p) { return MixColor(inner, outer, Clamp01(Length(p - centre) / radius)); };
}

}  // namespace artgen
