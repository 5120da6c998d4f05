#include "platform/ui/Painter.h"

#include <exception>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/ui/Application.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Screen.h"

namespace vark::ui {

namespace {

int paintDepth = 0;
uint64_t layoutGeneration = 1;
std::exception_ptr paintError;

struct PaintScope {
  PaintScope() { ++paintDepth; }
  ~PaintScope() { --paintDepth; }
};

bool IsWindowed(const TControl* c) {
  return c->AsWinControl() != nullptr;
}

// The client area of a windowed control in window coordinates.
TRect ClientInWindow(const TWinControl& win) {
  if (const auto* form = win.AsForm()) {
    TPoint o = form->ClientOffset();
    return Bounds(o.X, o.Y, form->ClientWidth(), form->ClientHeight());
  }
  TPoint o = win.WindowOrigin();
  TRect r = win.ClientRect();
  r.Offset(o.X, o.Y);
  return r;
}

}  // namespace

// Walks a window's controls in painting order: each container, then its graphic
// controls, then its windowed children (each followed by its own contents).
// While `painting` is false nothing is drawn; PaintAbove turns it on once the
// walk has passed the control whose direct paint is being repaired.
class PaintWalk {
 public:
  PaintWalk(TBitmap& surface, const TRect& area, const TControl* after)
      : surface_(surface), area_(area), after_(after), painting_(after == nullptr) {}

  void Container(TWinControl& win, const TRect& visible) {
    TRect client = IntersectRect(ClientInWindow(win), visible);
    if (client.IsEmpty()) return;
    std::vector<TControl*> children = win.ControlList();
    for (TControl* c : children) {
      if (IsWindowed(c)) continue;
      if (painting_ && c->Visible()) Paint(*c, client);
      if (c == after_) painting_ = true;
    }
    for (TControl* c : children) {
      if (!IsWindowed(c) || !c->Visible()) continue;
      auto& child = static_cast<TWinControl&>(*c);
      TRect bounds = Bounds(0, 0, child.Width(), child.Height());
      TPoint o = child.WindowOrigin();
      bounds.Offset(o.X, o.Y);
      TRect childVisible = IntersectRect(bounds, client);
      if (childVisible.IsEmpty() || IntersectRect(childVisible, area_).IsEmpty()) {
        if (c == after_) painting_ = true;
        continue;
      }
      if (painting_) Paint(child, client);
      if (c == after_) painting_ = true;
      Container(child, childVisible);
    }
  }

  void Paint(TControl& c, const TRect& parentClient) {
    TPoint o = c.WindowOrigin();
    TRect clip =
        IntersectRect(IntersectRect(Bounds(o.X, o.Y, c.Width(), c.Height()), parentClient), area_);
    if (clip.IsEmpty()) return;
    Painter::PaintControl(c, surface_, clip);
  }

 private:
  TBitmap& surface_;
  TRect area_;
  const TControl* after_;
  bool painting_;
};

void Painter::PaintControl(TControl& control, TBitmap& surface, const TRect& clip) {
  try {
    control.PaintInWindow(surface, clip);
  } catch (const std::exception&) {
    // Keep painting the rest of the window; the first failure is reported
    // once the frame is presented.
    if (!paintError) paintError = std::current_exception();
  }
}

void Painter::PaintRect(TCustomForm& form, const TRect& rect) {
  TBitmap* surface = form.Surface();
  if (surface == nullptr) return;
  TRect area = IntersectRect(rect, Rect(0, 0, surface->Width(), surface->Height()));
  if (area.IsEmpty()) return;
  PaintScope scope;
  PaintControl(form, *surface, area);
  PaintWalk walk(*surface, area, nullptr);
  walk.Container(form, Rect(0, 0, surface->Width(), surface->Height()));
}

void Painter::PaintAbove(TCustomForm& form, const TControl& control, const TRect& rect) {
  TBitmap* surface = form.Surface();
  if (surface == nullptr) return;
  TRect area = IntersectRect(rect, Rect(0, 0, surface->Width(), surface->Height()));
  if (area.IsEmpty()) return;
  PaintScope scope;
  PaintWalk walk(*surface, area, &control == &form ? nullptr : &control);
  walk.Container(form, Rect(0, 0, surface->Width(), surface->Height()));
}

namespace {

// Custom controls paint whole or not at all: a control's canvas clip is always
// its whole visible part, which its Paint may use as its drawing area. An area
// to repaint therefore grows to take in every custom control it touches.
void Grow(const TWinControl& win, TRect& area, bool& grown) {
  for (TControl* c : win.ControlList()) {
    if (!c->Visible() || !IsWindowed(c)) continue;
    if (dynamic_cast<TCustomControl*>(c) != nullptr) {
      TRect vis = c->VisibleWindowRect();
      if (!vis.IsEmpty() && !IntersectRect(vis, area).IsEmpty() && UnionRect(vis, area) != area) {
        area = UnionRect(vis, area);
        grown = true;
      }
    }
    Grow(static_cast<TWinControl&>(*c), area, grown);
  }
}

TRect WholeControls(const TCustomForm& form, TRect area) {
  for (int i = 0; i < 8; ++i) {
    bool grown = false;
    Grow(form, area, grown);
    if (!grown) break;
  }
  return area;
}

}  // namespace

void Painter::UpdateWindow(TCustomForm& form) {
  TBitmap* surface = form.Surface();
  if (surface == nullptr) return;
  FormWindow& w = form.Window();

  // Direct paints first: what lies above the control that drew is painted again
  // over it, so the control never shows through what covers it.
  std::vector<DirectPaint> direct;
  direct.swap(w.direct);
  for (DirectPaint& d : direct) {
    w.damage.Add(d.rect);
    TControl* c = d.control.get();
    if (c != nullptr && GetParentForm(c) == &form) PaintAbove(form, *c, d.rect);
  }

  // A paint may invalidate again (a control that sizes itself as it paints):
  // settle a few rounds, the rest waits for the next turn of the loop.
  for (int round = 0; round < 3 && !w.invalid.Empty(); ++round) {
    std::vector<TRect> rects = w.invalid.Rects();
    w.invalid.Clear();
    for (const TRect& r : rects) {
      TRect area = WholeControls(form, r);
      PaintRect(form, area);
      w.damage.Add(area);
    }
  }

  if (!w.damage.Empty()) {
    if (form.Visible() && form.HandleAllocated()) {
      Application->Backend().Present(form.Handle(), *surface, w.damage.Rects());
    }
    w.damage.Clear();
  }
  if (paintError) {
    std::exception_ptr error = paintError;
    paintError = nullptr;
    std::rethrow_exception(error);
  }
}

void Painter::UpdateAllWindows() {
  std::vector<TWeakRef<TCustomForm>> forms;
  for (int i = 0; i < Screen->FormCount(); ++i)
    forms.emplace_back(Screen->Forms(i));
  for (auto& ref : forms) {
    if (TCustomForm* f = ref.get(); f != nullptr && f->HandleAllocated()) UpdateWindow(*f);
  }
}

bool Painter::Painting() {
  return paintDepth > 0;
}

uint64_t Painter::LayoutGeneration() {
  return layoutGeneration;
}

void Painter::LayoutChanged() {
  ++layoutGeneration;
}

}  // namespace vark::ui
