#include "platform/ui/WinControl.h"

#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/ui/Form.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Painter.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace {
uint64_t nextTabStamp = 0;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

TWinControl::~TWinControl() {
  Destroying();
  // The children belong to their owners; they only lose their parent.
  for (TControl* child : std::vector<TControl*>(controls_)) {
    child->parent_ = nullptr;
    child->ParentChanged();
  }
  controls_.clear();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c != nullptr; c = c->Parent()) {
    if (c == this) return true;
  }
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool AllowDisabled, bool AllowWinControls) const {
  auto test = [&](TControl* c) {
    return c->Visible() && (AllowDisabled || c->Enabled()) && c->BoundsRect().Contains(p) &&
           c->HitTest(p.X - c->Left(), p.Y - c->Top());
  };
  if (AllowWinControls) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      if (dynamic_cast<TWinControl*>(*it) != nullptr && test(*it)) return *it;
    }
  }
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if (dynamic_cast<TWinControl*>(*it) == nullptr && test(*it)) return *it;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    int windowed = 0;
    for (TControl* c : controls_)
      windowed += dynamic_cast<TWinControl*>(c) != nullptr ? 1 : 0;
    win->tabOrder_ = windowed;
    win->tabStamp_ = 0;
  }
  controls_.push_back(control);
  vark::a11y::Announce(*this, vark::a11y::Change::Children);
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (TCustomForm* form = GetParentForm(this)) {
    TWinControl* active = form->ActiveControl();
    auto* win = dynamic_cast<TWinControl*>(control);
    if (active != nullptr && win != nullptr && win->ContainsControl(active)) {
      form->SetActiveControl(nullptr);
    }
  }
  vark::ui::Painter::LayoutChanged();
  vark::a11y::Announce(*this, vark::a11y::Change::Children);
}

void TWinControl::SetTabOrder(int value) {
  tabOrder_ = value;
  tabStamp_ = ++nextTabStamp;
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || !form->Visible() || !form->Enabled()) return false;
  for (const TControl* c = this; c != form && c != nullptr; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) {
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  }
  form->FocusControl(this);
}

bool TWinControl::Focused() const {
  TCustomForm* form = GetParentForm(this);
  return form != nullptr && form->ActiveControl() == this;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  std::vector<TWinControl*> children;
  for (TControl* c : controls_) {
    if (auto* win = dynamic_cast<TWinControl*>(c)) children.push_back(win);
  }
  std::stable_sort(children.begin(), children.end(), [](TWinControl* a, TWinControl* b) {
    if (a->tabOrder_ != b->tabOrder_) return a->tabOrder_ < b->tabOrder_;
    return a->tabStamp_ > b->tabStamp_;
  });
  for (TWinControl* c : children) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  int start = it == list.end() ? (GoForward ? -1 : n) : static_cast<int>(it - list.begin());
  for (int step = 1; step <= n; ++step) {
    int i = GoForward ? (start + step) % n : ((start - step) % n + n) % n;
    TWinControl* c = list[i];
    if (c == CurControl) continue;
    if ((!CheckTabStop || c->TabStop()) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
  if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
}

void TWinControl::SetParentBackground(bool value) {
  if (parentBackground_ == value) return;
  parentBackground_ = value;
  TControlStyle style = ControlStyle();
  if (value) {
    style.Include(csParentBackground);
  } else {
    style.Exclude(csParentBackground);
  }
  SetControlStyle(style);
  InvalidateArea();
}

bool TWinControl::ErasesBackground() const {
  return !parentBackground_;
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || aligning_ || ComponentState().Contains(csLoading)) return;
  AlignChildren();
}

void TWinControl::AlignChildren() {
  bool any = std::any_of(controls_.begin(), controls_.end(),
                         [](TControl* c) { return c->Align() != alNone; });
  if (!any) return;
  aligning_ = true;
  TRect rect = AlignRect();
  AlignControls(nullptr, rect);
  aligning_ = false;
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  static constexpr TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : kOrder) {
    std::vector<TControl*> list;
    for (TControl* c : controls_) {
      if (c->Align() == align && c->Visible()) list.push_back(c);
    }
    // Among controls of the same alignment, their current place decides the
    // order, as the classic framework does; ties keep the creation order.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop:
          return a->Top() < b->Top();
        case alBottom:
          return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft:
          return a->Left() < b->Left();
        case alRight:
          return a->Left() + a->Width() > b->Left() + b->Width();
        default:
          return false;
      }
    });
    for (TControl* c : list) {
      int ml = 0, mt = 0, mr = 0, mb = 0;
      if (c->AlignWithMargins()) {
        ml = c->Margins().Left();
        mt = c->Margins().Top();
        mr = c->Margins().Right();
        mb = c->Margins().Bottom();
      }
      int w = c->Width(), h = c->Height();
      switch (align) {
        case alTop:
          c->SetBounds(rect.Left + ml, rect.Top + mt, rect.Width() - ml - mr, h);
          rect.Top += c->Height() + mt + mb;
          break;
        case alBottom:
          c->SetBounds(rect.Left + ml, rect.Bottom - mb - h, rect.Width() - ml - mr, h);
          rect.Bottom -= c->Height() + mt + mb;
          break;
        case alLeft:
          c->SetBounds(rect.Left + ml, rect.Top + mt, w, rect.Height() - mt - mb);
          rect.Left += c->Width() + ml + mr;
          break;
        case alRight:
          c->SetBounds(rect.Right - mr - w, rect.Top + mt, w, rect.Height() - mt - mb);
          rect.Right -= c->Width() + ml + mr;
          break;
        case alClient:
          c->SetBounds(rect.Left + ml, rect.Top + mt, rect.Width() - ml - mr,
                       rect.Height() - mt - mb);
          break;
        default:
          break;
      }
    }
  }
}

void TWinControl::SizeChanged() {
  TWMSize message;
  message.SizeType = SIZE_RESTORED;
  message.Width = ClientWidth();
  message.Height = ClientHeight();
  WMSize(message);
}

void TWinControl::WMSize(TWMSize&) {
  if (ComponentState().Contains(csLoading)) return;
  int w = ClientWidth(), h = ClientHeight();
  if (anchorsFrozen_ == 0) {
    for (TControl* c : std::vector<TControl*>(controls_))
      c->AnchorsMoved(w, h);
  }
  Realign();
  Resize();
}

void TWinControl::Loaded() {
  for (TControl* c : controls_)
    c->UpdateAnchorRules();
  Realign();
}

void TWinControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  DisableAlign();
  TControl::ChangeScale(M, D);
  for (TControl* c : std::vector<TControl*>(controls_))
    c->ChangeScale(M, D);
  EnableAlign();
}

void TWinControl::DoEnter() {
  FireEvent(OnEnter, this);
}

void TWinControl::DoExit() {
  FireEvent(OnExit, this);
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  FireEvent(OnKeyDown, this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  FireEvent(OnKeyUp, this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  FireEvent(OnKeyPress, this, Key);
}

void TWinControl::CMDialogKey(TCMDialogKey& Message) {
  // A handler may free controls: walk a snapshot and skip the ones gone.
  std::vector<TWeakRef<TControl>> children(controls_.begin(), controls_.end());
  for (auto& ref : children) {
    TControl* c = ref.get();
    if (c == nullptr || c->Parent() != this) continue;
    c->CMDialogKey(Message);
    if (Message.Result != 0) return;
  }
}

bool TWinControl::WantsKey(uint16_t, TShiftState) const {
  return false;
}

uint16_t TWinControl::PressKey() const {
  return VK_RETURN;
}

void TWinControl::DescribeAccessible(vark::a11y::Facts& facts) const {
  using vark::a11y::State;
  TControl::DescribeAccessible(facts);
  if (tabStop_ && CanFocus()) facts.states.Include(State::Focusable);
  // The keyboard's focus is in the active window only.
  if (const TCustomForm* form = GetParentForm(this);
      form != nullptr && form != this && form->Active() && Focused()) {
    facts.states.Include(State::Focused);
  }
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_)
    c->ParentFontChanged();
}
