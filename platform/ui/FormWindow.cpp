#include "platform/ui/FormWindow.h"

namespace vark::ui {

namespace {

// Overlapping or edge to edge: merging them costs no extra painting.
bool Touches(const TRect& a, const TRect& b) {
  return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

constexpr size_t kMaxRects = 8;

}  // namespace

void RectList::Add(const TRect& rect) {
  if (rect.IsEmpty()) return;
  TRect r = rect;
  bool merged = true;
  while (merged) {
    merged = false;
    for (size_t i = 0; i < rects_.size(); ++i) {
      if (Touches(rects_[i], r)) {
        r = UnionRect(rects_[i], r);
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
        merged = true;
        break;
      }
    }
  }
  rects_.push_back(r);
  if (rects_.size() > kMaxRects) {
    TRect all = Bounds();
    rects_.assign(1, all);
  }
}

TRect RectList::Bounds() const {
  TRect all;
  for (const TRect& r : rects_)
    all = UnionRect(all, r);
  return all;
}

}  // namespace vark::ui
