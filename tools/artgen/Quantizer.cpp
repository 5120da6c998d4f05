#include "Quantizer.h"

#include <algorithm>
#include <array>
#include <map>

namespace artgen {
namespace {

using Rgba8 = std::array<uint8_t, 4>;

struct Entry {
  Rgba8 color;
  uint32_t count;
};

struct Box {
  std::vector<Entry> entries;
  int Channel() const {  // the channel with the widest spread
    int best = 0, bestRange = -1;
    for (int c = 0; c < 4; ++c) {
      int lo = 255, hi = 0;
      for (const Entry& e : entries)
        lo = std::min<int>(lo, e.color[c]), hi = std::max<int>(hi, e.color[c]);
      if (hi - lo > bestRange) bestRange = hi - lo, best = c;
    }
    return best;
  }
  int Range() const {
    const int c = Channel();
    int lo = 255, hi = 0;
    for (const Entry& e : entries)
      lo = std::min<int>(lo, e.color[c]), hi = std::max<int>(hi, e.color[c]);
    return hi - lo;
  }
  uint64_t Weight() const {
    uint64_t sum = 0;
    for (const Entry& e : entries)
      sum += e.count;
    return sum;
  }
  Rgba8 Mean() const {
    uint64_t sum[4] = {}, total = Weight();
    for (const Entry& e : entries)
      for (int c = 0; c < 4; ++c)
        sum[c] += uint64_t{e.color[c]} * e.count;
    Rgba8 out;
    for (int c = 0; c < 4; ++c)
      out[c] = static_cast<uint8_t>((sum[c] + total / 2) / total);
    return out;
  }
};

// Distance in premultiplied space, so colours under low alpha count for little.
int Distance(const Rgba8& a, const Rgba8& b) {
  int d = (int{a[3]} - b[3]) * (int{a[3]} - b[3]);
  for (int c = 0; c < 3; ++c) {
    const int pa = a[c] * a[3] / 255, pb = b[c] * b[3] / 255;
    d += (pa - pb) * (pa - pb);
  }
  return d;
}

Rgba8 Normalised(const uint8_t* p) {
  if (p[3] == 0) return {0, 0, 0, 0};
  return {p[0], p[1], p[2], p[3]};
}

}  // namespace

IndexedImage Quantize(const std::vector<uint8_t>& rgba, int width, int height, int maxColors) {
  const size_t count = static_cast<size_t>(width) * height;
  std::map<Rgba8, uint32_t> histogram;
  for (size_t i = 0; i < count; ++i)
    ++histogram[Normalised(&rgba[i * 4])];

  std::vector<Rgba8> palette;
  if (histogram.size() <= static_cast<size_t>(maxColors)) {
    for (const auto& [color, n] : histogram)
      palette.push_back(color);
  } else {
    // Fully transparent pixels keep an exact entry of their own.
    std::vector<Box> boxes(1);
    bool hasClear = false;
    for (const auto& [color, n] : histogram) {
      if (color[3] == 0)
        hasClear = true;
      else
        boxes[0].entries.push_back({color, n});
    }
    const size_t budget = static_cast<size_t>(maxColors) - (hasClear ? 1 : 0);
    while (boxes.size() < budget) {
      // Split the box whose spread weighs most: wide boxes of many pixels first.
      size_t pick = boxes.size();
      uint64_t bestScore = 0;
      for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].entries.size() < 2) continue;
        const uint64_t score = uint64_t(boxes[i].Range()) * boxes[i].Weight();
        if (pick == boxes.size() || score > bestScore) pick = i, bestScore = score;
      }
      if (pick == boxes.size()) break;
      Box& box = boxes[pick];
      const int c = box.Channel();
      std::sort(box.entries.begin(), box.entries.end(),
                [c](const Entry& a, const Entry& b) { return a.color[c] < b.color[c]; });
      const uint64_t half = box.Weight() / 2;
      uint64_t run = 0;
      size_t cut = 1;
      for (; cut < box.entries.size() - 1; ++cut) {
        run += box.entries[cut - 1].count;
        if (run >= half) break;
      }
      Box upper;
      upper.entries.assign(box.entries.begin() + cut, box.entries.end());
      box.entries.resize(cut);
      boxes.push_back(std::move(upper));
    }
    if (hasClear) palette.push_back({0, 0, 0, 0});
    for (const Box& b : boxes)
      palette.push_back(b.Mean());
  }
  std::stable_sort(palette.begin(), palette.end(),
                   [](const Rgba8& a, const Rgba8& b) { return (a[3] == 255) < (b[3] == 255); });

  IndexedImage out;
  out.width = width;
  out.height = height;
  out.palette = palette;
  out.indices.resize(count);
  std::map<Rgba8, uint8_t> lookup;
  for (size_t i = 0; i < count; ++i) {
    const Rgba8 color = Normalised(&rgba[i * 4]);
    auto it = lookup.find(color);
    if (it == lookup.end()) {
      size_t best = 0;
      for (size_t p = 1; p < palette.size(); ++p)
        if (Distance(color, palette[p]) < Distance(color, palette[best])) best = p;
      it = lookup.emplace(color, static_cast<uint8_t>(best)).first;
    }
    out.indices[i] = it->second;
  }
  return out;
}

}  // namespace artgen
