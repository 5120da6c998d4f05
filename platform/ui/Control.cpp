#include "platform/ui/Control.h"

#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/backend/Backend.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Painter.h"
#include "platform/ui/UiState.h"
#include "platform/ui/WinControl.h"
#include "platform/ui/a11y/ControlAccessible.h"

// --- TSizeConstraints ----------------------------------------------------------

void TSizeConstraints::SetMinWidth(int value) {
  minWidth_ = std::max(0, value);
  if (maxWidth_ > 0 && maxWidth_ < minWidth_) maxWidth_ = minWidth_;
  Changed();
}
void TSizeConstraints::SetMinHeight(int value) {
  minHeight_ = std::max(0, value);
  if (maxHeight_ > 0 && maxHeight_ < minHeight_) maxHeight_ = minHeight_;
  Changed();
}
void TSizeConstraints::SetMaxWidth(int value) {
  maxWidth_ = std::max(0, value);
  if (maxWidth_ > 0 && maxWidth_ < minWidth_) minWidth_ = maxWidth_;
  Changed();
}
void TSizeConstraints::SetMaxHeight(int value) {
  maxHeight_ = std::max(0, value);
  if (maxHeight_ > 0 && maxHeight_ < minHeight_) minHeight_ = maxHeight_;
  Changed();
}
int TSizeConstraints::ConstrainWidth(int width) const {
  if (maxWidth_ > 0) width = std::min(width, maxWidth_);
  return std::max(width, minWidth_);
}
int TSizeConstraints::ConstrainHeight(int height) const {
  if (maxHeight_ > 0) height = std::min(height, maxHeight_);
  return std::max(height, minHeight_);
}
void TSizeConstraints::Changed() {
  if (control_ != nullptr) {
    control_->SetBounds(control_->Left(), control_->Top(), control_->Width(), control_->Height());
  }
}

void TMargins::SetMargins(int left, int top, int right, int bottom) {
  if (left == left_ && top == top_ && right == right_ && bottom == bottom_) return;
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
  if (control_ != nullptr && control_->AlignWithMargins() && control_->Parent() != nullptr) {
    control_->Parent()->Realign();
  }
}

// --- capture ------------------------------------------------------------------

namespace {

TWeakRef<TControl>& CaptureRef() {
  return vark::ui::State().capture;
}

}  // namespace

TControl* GetCaptureControl() {
  return CaptureRef().get();
}

void SetCaptureControl(TControl* control) {
  bool had = GetCaptureControl() != nullptr;
  CaptureRef() = control;
  bool has = control != nullptr;
  if (had != has && Application->HasBackend()) Application->Backend().SetMouseCapture(has);
}

bool ReleaseCapture() {
  SetCaptureControl(nullptr);
  return true;
}

// --- TControl -----------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  Destroying();
  if (GetCaptureControl() == this) ReleaseCapture();
  if (parent_ != nullptr) {
    InvalidateArea();
    TWinControl* parent = parent_;
    parent_ = nullptr;
    parent->RemoveControl(this);
  }
  vark::ui::Painter::LayoutChanged();
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (auto* self = dynamic_cast<TWinControl*>(this);
      self != nullptr && AParent != nullptr && self->ContainsControl(AParent)) {
    throw EInvalidOperation("A control cannot be placed inside itself");
  }
  if (parent_ != nullptr) {
    InvalidateArea();
    TWinControl* old = parent_;
    parent_ = nullptr;
    old->RemoveControl(this);
    old->Realign();
  }
  parent_ = AParent;
  if (parent_ != nullptr) {
    parent_->InsertControl(this);
    if (parentFont_) ParentFontChanged();
    UpdateAnchorRules();
    vark::ui::Painter::LayoutChanged();
    RequestAlign();
    InvalidateArea();
  }
  vark::ui::Painter::LayoutChanged();
  ParentChanged();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  SetBoundsRaw(ALeft, ATop, AWidth, AHeight, false);
}

void TControl::SetBoundsRaw(int ALeft, int ATop, int AWidth, int AHeight, bool fromAnchors) {
  AWidth = constraints_.ConstrainWidth(std::max(0, AWidth));
  AHeight = constraints_.ConstrainHeight(std::max(0, AHeight));
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) {
    if (!fromAnchors) UpdateAnchorRules();
    return;
  }
  bool resized = AWidth != width_ || AHeight != height_;
  InvalidateArea();
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  vark::ui::Painter::LayoutChanged();
  if (!fromAnchors) UpdateAnchorRules();
  InvalidateArea();
  if (parent_ != nullptr && align_ != alNone && !fromAnchors) parent_->Realign();
  if (resized && !ComponentState().Contains(csLoading)) SizeChanged();
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TCustomForm* form = AsForm();
  TPoint origin;
  if (form != nullptr) {
    origin = form->ClientOffset();
  } else {
    form = GetParentForm(this);
    origin = WindowOrigin();
  }
  if (form == nullptr) return {p.X + left_, p.Y + top_};
  return {form->Left() + origin.X + p.X, form->Top() + origin.Y + p.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint zero = ClientToScreen({0, 0});
  return {p.X - zero.X, p.Y - zero.Y};
}

void TControl::SetVisible(bool value) {
  if (visible_ == value) return;
  if (!value) InvalidateArea();
  visible_ = value;
  vark::ui::Painter::LayoutChanged();
  if (value) InvalidateArea();
  if (!value) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) {
      if (auto* active = form->ActiveControl();
          active != nullptr &&
          (active == this || (dynamic_cast<TWinControl*>(this) != nullptr &&
                              static_cast<TWinControl*>(this)->ContainsControl(active)))) {
        form->SetActiveControl(nullptr);
      }
    }
  }
  if (parent_ != nullptr && align_ != alNone) parent_->Realign();
  VisibleChanged();
  vark::a11y::Announce(*this, vark::a11y::Change::States);
}

bool TControl::Showing() const {
  if (!visible_) return false;
  const TControl* c = this;
  while (c->parent_ != nullptr) {
    c = c->parent_;
    if (!c->visible_) return false;
  }
  const auto* form = c->AsForm();
  return form != nullptr && form->HandleAllocated();
}

void TControl::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  EnabledChanged();
  vark::a11y::Announce(*this, vark::a11y::Change::States);
}

bool TControl::EnabledInTree() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void TControl::SetAlign(TAlign value) {
  if (align_ == value) return;
  align_ = value;
  if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetAlignWithMargins(bool value) {
  if (alignWithMargins_ == value) return;
  alignWithMargins_ = value;
  if (parent_ != nullptr && align_ != alNone) parent_->Realign();
}

void TControl::SetAnchors(TAnchors value) {
  anchors_ = value;
  UpdateAnchorRules();
}

void TControl::SetCursor(TCursor value) {
  cursor_ = value;
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form->HandleAllocated()) {
    vark::ui::Dispatch::UpdateHover(*form);
  }
}

TColor TControl::Color() const {
  if (parentColor_ && parent_ != nullptr) return parent_->Color();
  return color_;
}

void TControl::SetColor(TColor value) {
  if (color_ == value && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  // A control that stops following its parent keeps the colour it had from
  // it, as the classic framework does (there the parent's colour is copied in).
  if (!value && parent_ != nullptr) color_ = parent_->Color();
  parentColor_ = value;
  ColorChanged();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || parent_ == nullptr) return;
  takingParentFont_ = true;
  font_.Assign(parent_->Font());
  takingParentFont_ = false;
}

void TControl::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  TextChanged();
  vark::a11y::Announce(*this, vark::a11y::Change::Name);
}

TBiDiMode TControl::BiDiMode() const {
  if (parentBiDiMode_ && parent_ != nullptr) return parent_->BiDiMode();
  return biDiMode_;
}

void TControl::SetBiDiMode(TBiDiMode value) {
  biDiMode_ = value;
  parentBiDiMode_ = false;
  InvalidateArea();
}

void TControl::SetParentBiDiMode(bool value) {
  parentBiDiMode_ = value;
  InvalidateArea();
}

void TControl::Invalidate() {
  InvalidateArea();
}

void TControl::InvalidateArea() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || !form->HandleAllocated()) return;
  TRect r = VisibleWindowRect();
  if (!r.IsEmpty()) form->Window().invalid.Add(r);
}

void TControl::Update() {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form->HandleAllocated()) vark::ui::Painter::UpdateWindow(*form);
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (parent_ == nullptr) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  vark::ui::Painter::LayoutChanged();
  InvalidateArea();
}

void TControl::SendToBack() {
  if (parent_ == nullptr) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  vark::ui::Painter::LayoutChanged();
  InvalidateArea();
}

bool TControl::MouseCapture() const {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
  if (value) {
    SetCaptureControl(this);
  } else if (MouseCapture()) {
    SetCaptureControl(nullptr);
  }
}

LRESULT TControl::Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case CM_MOUSEENTER:
      CMMouseEnter();
      return 0;
    case CM_MOUSELEAVE:
      CMMouseLeave();
      return 0;
    case CM_DIALOGKEY: {
      TCMDialogKey message;
      message.CharCode = static_cast<uint16_t>(WParam);
      message.Shift = TShiftState::FromBits(static_cast<uint16_t>(LParam));
      CMDialogKey(message);
      return message.Result;
    }
    case WM_NCLBUTTONDOWN:
      if (static_cast<int>(WParam) == HTCAPTION) {
        TCustomForm* form = GetParentForm(this);
        if (form != nullptr) vark::ui::Dispatch::BeginCaptionDrag(*form);
      }
      return 0;
    case WM_SIZE:
      if (auto* win = dynamic_cast<TWinControl*>(this)) {
        TWMSize message;
        message.SizeType = WParam;
        message.Width = static_cast<int>(LParam & 0xFFFF);
        message.Height = static_cast<int>((LParam >> 16) & 0xFFFF);
        win->WMSize(message);
        return message.Result;
      }
      return 0;
    case WM_CLOSE:
      if (auto* form = dynamic_cast<TCustomForm*>(this)) form->Close();
      return 0;
    default:
      return 0;
  }
}

void TControl::Click() {
  FireEvent(OnClick, this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FireEvent(OnMouseDown, this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FireEvent(OnMouseUp, this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  FireEvent(OnMouseMove, this, Shift, X, Y);
}

void TControl::CMMouseEnter() {
  FireEvent(OnMouseEnter, this);
}

void TControl::CMMouseLeave() {
  FireEvent(OnMouseLeave, this);
}

void TControl::CMDialogKey(TCMDialogKey&) {}

bool TControl::HitTest(int, int) const {
  return true;
}

void TControl::Resize() {
  FireEvent(OnResize, this);
}

void TControl::PaintInWindow(TBitmap&, const TRect&) {}

vark::a11y::ControlAccessible& TControl::Accessibility() {
  if (!accessibility_) accessibility_ = std::make_unique<vark::a11y::ControlAccessible>(*this);
  return *accessibility_;
}

void TControl::DescribeAccessible(vark::a11y::Facts& facts) const {
  using vark::a11y::State;
  facts.name = caption_;
  if (visible_) facts.states.Include(State::Visible);
  if (Showing()) facts.states.Include(State::Showing);
  if (EnabledInTree()) facts.states.Include(State::Enabled);
}

void TControl::DoAccessibleAction(std::string_view) {}

void TControl::VisibleChanged() {}

void TControl::EnabledChanged() {
  if (!enabled_) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) {
      TWinControl* active = form->ActiveControl();
      auto* self = dynamic_cast<TWinControl*>(this);
      if (active != nullptr && self != nullptr && self->ContainsControl(active)) {
        form->SetActiveControl(nullptr);
      }
    }
  }
  InvalidateArea();
}

void TControl::FontChanged() {
  if (!takingParentFont_) parentFont_ = false;
  InvalidateArea();
}

void TControl::ColorChanged() {
  InvalidateArea();
}

void TControl::TextChanged() {
  InvalidateArea();
}

void TControl::RequestAlign() {
  if (parent_ != nullptr) parent_->Realign();
}

TPoint TControl::WindowOrigin() const {
  if (const auto* form = AsForm()) return form->ClientOffset();
  TPoint p{left_, top_};
  for (const TWinControl* par = parent_; par != nullptr; par = par->parent_) {
    if (const auto* form = par->AsForm()) {
      TPoint offset = form->ClientOffset();
      p.X += offset.X;
      p.Y += offset.Y;
      break;
    }
    p.X += par->left_;
    p.Y += par->top_;
  }
  return p;
}

TRect TControl::VisibleWindowRect() const {
  if (!visible_) return {};
  if (const auto* form = AsForm()) {
    if (!form->HandleAllocated()) return {};
    TPoint offset = form->ClientOffset();
    return Bounds(offset.X, offset.Y, form->ClientWidth(), form->ClientHeight());
  }
  TPoint origin = WindowOrigin();
  TRect r = Bounds(origin.X, origin.Y, width_, height_);
  const TControl* c = this;
  while (c->parent_ != nullptr) {
    const TWinControl* par = c->parent_;
    if (!par->visible_) return {};
    TRect parentClient;
    if (const auto* form = par->AsForm()) {
      if (!form->HandleAllocated()) return {};
      TPoint offset = form->ClientOffset();
      parentClient = Bounds(offset.X, offset.Y, form->ClientWidth(), form->ClientHeight());
      r = IntersectRect(r, parentClient);
      return r.IsEmpty() ? TRect{} : r;
    }
    TPoint po = par->WindowOrigin();
    TRect client = par->ClientRect();
    client.Offset(po.X, po.Y);
    r = IntersectRect(r, client);
    if (r.IsEmpty()) return {};
    c = par;
  }
  return {};  // not on a form
}

void TControl::NoteDirectDamage(const TRect& windowRect) {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || !form->HandleAllocated() || windowRect.IsEmpty()) return;
  vark::ui::FormWindow& w = form->Window();
  if (vark::ui::Painter::Painting()) {
    w.damage.Add(windowRect);  // the painter presents what it paints
    return;
  }
  // Every drawing operation reports here, in runs from one control: extend its
  // entry (the last one, mostly); the frame presents the union.
  if (!w.direct.empty() && w.direct.back().control.get() == this) {
    w.direct.back().rect = UnionRect(w.direct.back().rect, windowRect);
    return;
  }
  for (auto& d : w.direct) {
    if (d.control.get() == this) {
      d.rect = UnionRect(d.rect, windowRect);
      return;
    }
  }
  w.direct.push_back({this, windowRect});
}

void TControl::BindCanvas(TCanvas& canvas) const {
  BindCanvas(canvas, VisibleWindowRect());
}

void TControl::BindCanvas(TCanvas& canvas, const TRect& clip) const {
  TCustomForm* form = GetParentForm(this);
  TBitmap* surface = form != nullptr ? form->Surface() : nullptr;
  TPoint origin = WindowOrigin();
  if (surface == nullptr || clip.IsEmpty()) {
    canvas.Bind(nullptr, origin, TRect{});
  } else {
    canvas.Bind(surface, origin, clip);
  }
}

void TControl::UpdateAnchorRules() {
  if (parent_ == nullptr) return;
  anchorBounds_ = BoundsRect();
  anchorParentSize_ = {parent_->ClientWidth(), parent_->ClientHeight()};
}

void TControl::AnchorsMoved(int parentWidth, int parentHeight) {
  if (align_ != alNone) return;
  if (anchorParentSize_.cx < 0) {
    UpdateAnchorRules();
    return;
  }
  int dw = parentWidth - anchorParentSize_.cx;
  int dh = parentHeight - anchorParentSize_.cy;
  int l = anchorBounds_.Left, t = anchorBounds_.Top;
  int w = anchorBounds_.Width(), h = anchorBounds_.Height();
  if (anchors_.Contains(akRight)) {
    if (anchors_.Contains(akLeft)) {
      w += dw;
    } else {
      l += dw;
    }
  } else if (!anchors_.Contains(akLeft)) {
    l += dw / 2;
  }
  if (anchors_.Contains(akBottom)) {
    if (anchors_.Contains(akTop)) {
      h += dh;
    } else {
      t += dh;
    }
  } else if (!anchors_.Contains(akTop)) {
    t += dh / 2;
  }
  SetBoundsRaw(l, t, w, h, true);
}

void TControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  int x = MulDiv(left_, M, D);
  int y = MulDiv(top_, M, D);
  int w = MulDiv(left_ + width_, M, D) - x;
  int h = MulDiv(top_ + height_, M, D) - y;
  auto scale = [M, D](int v) { return v > 0 ? MulDiv(v, M, D) : v; };
  constraints_.SetMinWidth(scale(constraints_.MinWidth()));
  constraints_.SetMinHeight(scale(constraints_.MinHeight()));
  constraints_.SetMaxWidth(scale(constraints_.MaxWidth()));
  constraints_.SetMaxHeight(scale(constraints_.MaxHeight()));
  margins_.SetMargins(scale(margins_.Left()), scale(margins_.Top()), scale(margins_.Right()),
                      scale(margins_.Bottom()));
  if (!parentFont_) font_.SetHeight(MulDiv(font_.Height(), M, D));
  SetBounds(x, y, w, h);
}
