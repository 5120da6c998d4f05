#include "platform/ui/Form.h"

#include <algorithm>
#include <cmath>

#include "platform/Exceptions.h"
#include "platform/backend/Backend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace {

int cascade = 0;

// The plain frame's colours: a white title bar and border with a grey outline.
constexpr TColor kPlainFrame = clWhite;
constexpr TColor kPlainOutline = 0x00AAAAAA;
constexpr TColor kCloseHoverBackground = 0x002311E8;  // RGB(232, 17, 35)

vark::Backend& Backend() {
  return Application->Backend();
}

// What the system may do with the form's window, as its border icons say:
// the boxes a dialog's or a tool window's frame lacks are not offered either.
void OfferBorderIcons(vark::WindowSpec& params, TBorderIcons icons, TFormBorderStyle style) {
  const bool boxes = style != bsDialog && style != bsToolWindow && style != bsSizeToolWin;
  params.systemMenu = icons.Contains(biSystemMenu);
  params.minimizeBox = params.systemMenu && boxes && icons.Contains(biMinimize);
  params.maximizeBox = params.systemMenu && boxes && icons.Contains(biMaximize);
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), window_(std::make_unique<vark::ui::FormWindow>()) {
  Screen->AddForm(this);
  SetVisible(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  canvas_.SetDamageListener([this](const TRect& r) { NoteDirectDamage(r); });
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      Application->HandleException(this, e);
    }
  }
  if (modal_) Application->PopModal(this);
  if (TControl* capture = GetCaptureControl();
      capture != nullptr && GetParentForm(capture) == this) {
    ReleaseCapture();
  }
  const bool shown = Visible() && HandleAllocated();
  DestroyHandle();
  Screen->RemoveForm(this);
  if (shown) vark::a11y::WindowsChanged();
}

void TCustomForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  // Layouts are made at 96 pixels per inch: scale them once, now.
  ScaleTo(Screen->PixelsPerInch());
  DoCreate();
}

void TCustomForm::ScaleTo(int ppi) {
  if (ppi <= 0 || ppi == ppi_) return;
  ChangeScale(ppi, ppi_);
  ppi_ = ppi;
}

void TCustomForm::DoCreate() {
  // A failing OnCreate is reported like any handler's failure, and the form
  // is made all the same.
  try {
    FireEvent(OnCreate, this);
  } catch (const std::exception& e) {
    Application->HandleException(this, e);
  }
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
}

// --- geometry ---------------------------------------------------------------

TRect TCustomForm::FrameInsets() const {
  if (borderStyle_ == bsNone) return {0, 0, 0, 0};
  if (titleBar_.Enabled()) return {kFrameWidth, 0, kFrameWidth, kFrameWidth};
  return {kFrameWidth, kCaptionHeight, kFrameWidth, kFrameWidth};
}

TRect TCustomForm::ClientRect() const {
  TRect f = FrameInsets();
  return Rect(0, 0, std::max(0, width_ - f.Left - f.Right),
              std::max(0, height_ - f.Top - f.Bottom));
}

TPoint TCustomForm::ClientOffset() const {
  TRect f = FrameInsets();
  return {f.Left, f.Top};
}

void TCustomForm::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  DisableAlign();
  ++anchorsFrozen_;
  Font().SetHeight(MulDiv(Font().Height(), M, D));
  // The client size is read before the new constraints can stretch it.
  int cw = MulDiv(ClientWidth(), M, D), ch = MulDiv(ClientHeight(), M, D);
  auto scale = [M, D](int v) { return v > 0 ? MulDiv(v, M, D) : v; };
  Constraints().SetMinWidth(scale(Constraints().MinWidth()));
  Constraints().SetMinHeight(scale(Constraints().MinHeight()));
  Constraints().SetMaxWidth(scale(Constraints().MaxWidth()));
  Constraints().SetMaxHeight(scale(Constraints().MaxHeight()));
  for (TControl* c : std::vector<TControl*>(ControlList()))
    c->ChangeScale(M, D);
  // After the children: the band sets its panel's height, which the panel's
  // own scaling would otherwise double again.
  titleBar_.SetHeight(MulDiv(titleBar_.Height(), M, D));
  KeepClientSize(cw, ch);
  --anchorsFrozen_;
  for (TControl* c : ControlList())
    c->UpdateAnchorRules();
  EnableAlign();
}

void TCustomForm::SetClientWidth(int value) {
  TRect f = FrameInsets();
  SetBounds(left_, top_, value + f.Left + f.Right, height_);
}

void TCustomForm::SetClientHeight(int value) {
  TRect f = FrameInsets();
  SetBounds(left_, top_, width_, value + f.Top + f.Bottom);
}

void TCustomForm::KeepClientSize(int clientWidth, int clientHeight) {
  TRect f = FrameInsets();
  SetBounds(left_, top_, clientWidth + f.Left + f.Right, clientHeight + f.Top + f.Bottom);
  window_->invalid.Add(Rect(0, 0, width_, height_));
  vark::ui::Painter::LayoutChanged();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (borderStyle_ == value) return;
  int cw = ClientWidth(), ch = ClientHeight();
  borderStyle_ = value;
  KeepClientSize(cw, ch);
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  borderIcons_ = value;
  window_->invalid.Add(Rect(0, 0, width_, height_));
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  SyncWindow();
}

void TCustomForm::SizeChanged() {
  SyncWindow();
  TWMSize message;
  message.SizeType = windowState_ == wsMaximized   ? SIZE_MAXIMIZED
                     : windowState_ == wsMinimized ? SIZE_MINIMIZED
                                                   : SIZE_RESTORED;
  message.Width = ClientWidth();
  message.Height = ClientHeight();
  WMSize(message);
}

void TCustomForm::SyncWindow() {
  if (!HandleAllocated()) return;
  TBitmap& surface = *window_->surface;
  int w = std::max(1, width_), h = std::max(1, height_);
  if (surface.Width() != w || surface.Height() != h) {
    surface.SetSize(w, h);
    window_->invalid.Add(Rect(0, 0, w, h));
    vark::ui::Painter::LayoutChanged();
  }
  TRect b = BoundsRect();
  if (b != sentBounds_) {
    sentBounds_ = b;
    Backend().SetBounds(window_->handle, b);
  }
}

void TCustomForm::ApplyInitialPosition() {
  if (positioned_) return;
  positioned_ = true;
  TSize screen = Backend().ScreenSize();
  TRect work = Backend().WorkArea();
  int l = left_, t = top_;
  TCustomForm* over = nullptr;
  switch (position_) {
    case poDesigned:
      return;
    case poDefault:
    case poDefaultPosOnly:
    case poDefaultSizeOnly:
      l = work.Left + 32 + 24 * (cascade % 8);
      t = work.Top + 32 + 24 * (cascade % 8);
      ++cascade;
      break;
    case poMainFormCenter:
      over = Application->MainForm();
      break;
    case poOwnerFormCenter:
      over = dynamic_cast<TCustomForm*>(Owner());
      break;
    case poScreenCenter:
    case poDesktopCenter:
      break;
  }
  if (position_ >= poScreenCenter) {
    if (over != nullptr && over != this && over->Visible()) {
      l = over->Left() + (over->Width() - width_) / 2;
      t = over->Top() + (over->Height() - height_) / 2;
    } else {
      l = screen.cx / 2 - width_ / 2;
      t = screen.cy / 2 - height_ / 2;
    }
  }
  SetBounds(l, t, width_, height_);
}

// --- window state --------------------------------------------------------------

void TCustomForm::SetWindowState(TWindowState value) {
  if (windowState_ == value) return;
  if (!HandleAllocated() || !Visible()) {
    windowState_ = value;  // applied when the window shows
    return;
  }
  Backend().SetState(window_->handle, value);
  if (!Backend().ManagesWindowState()) ApplyState(value);
}

void TCustomForm::ApplyState(TWindowState state) {
  TWindowState old = windowState_;
  if (old == state) return;
  if (old == wsNormal) restoreBounds_ = BoundsRect();
  windowState_ = state;
  TRect target = BoundsRect();
  if (state == wsMaximized) target = Backend().WorkArea();
  if (state == wsNormal && old == wsMaximized) target = restoreBounds_;
  if (target != BoundsRect()) {
    SetBoundsRect(target);  // sends the size message
  } else {
    SizeChanged();
  }
}

void TCustomForm::WindowStateChanged(TWindowState state) {
  if (state == windowState_) return;
  if (Backend().ManagesWindowState()) {
    // The desktop sizes the window and tells us; only the state is news here.
    if (windowState_ == wsNormal) restoreBounds_ = BoundsRect();
    windowState_ = state;
    SizeChanged();
  } else {
    ApplyState(state);
  }
}

void TCustomForm::WindowMoved(int ALeft, int ATop) {
  left_ = ALeft;
  top_ = ATop;
  sentBounds_ = BoundsRect();
  UpdateAnchorRules();
}

void TCustomForm::WindowResized(int AWidth, int AHeight) {
  sentBounds_ = Bounds(left_, top_, AWidth, AHeight);
  TWinControl::SetBounds(left_, top_, AWidth, AHeight);
  SyncWindow();
}

void TCustomForm::WindowScaleChanged(int pixelsPerInch, const TRect& suggested) {
  ScaleTo(pixelsPerInch);
  // The size is the layout's own: the client area scaled, the border not.
  SetBounds(suggested.Left, suggested.Top, width_, height_);
}

void TCustomForm::WindowActivated(bool active) {
  if (active_ == active) return;
  active_ = active;
  TRect f = FrameInsets();
  int band = titleBar_.Enabled() ? titleBar_.Height() : 0;
  window_->invalid.Add(Rect(0, 0, width_, f.Top + band));
  window_->invalid.Add(Rect(0, 0, f.Left, height_));
  window_->invalid.Add(Rect(width_ - f.Right, 0, width_, height_));
  window_->invalid.Add(Rect(0, height_ - f.Bottom, width_, height_));
  vark::a11y::Announce(*this,
                       active ? vark::a11y::Change::Activated : vark::a11y::Change::Deactivated);
  // The focused control has the keyboard's focus only while its window is active.
  if (TWinControl* focused = ActiveControl())
    vark::a11y::Announce(*focused, vark::a11y::Change::States);
  if (active && OnActivate) OnActivate(this);
  if (!active && OnDeactivate) OnDeactivate(this);
}

// --- the native window -----------------------------------------------------------

bool TCustomForm::HandleAllocated() const {
  return window_ && window_->handle != 0;
}

uint32_t TCustomForm::Handle() const {
  return window_ ? window_->handle : 0;
}

TBitmap* TCustomForm::Surface() const {
  return window_ ? window_->surface.get() : nullptr;
}

void TCustomForm::ScaleToScreenAt(const TRect& bounds) {
  if (!created_ || HandleAllocated()) return;
  ScaleTo(static_cast<int>(std::lround(96.0 * Backend().ScaleAt(bounds))));
}

void TCustomForm::HandleNeeded() {
  if (HandleAllocated()) return;
  ApplyInitialPosition();
  // The window opens on the screen at its place, whose scale may differ from
  // the one the form was made at (another screen than the primary one).
  ScaleToScreenAt(BoundsRect());
  vark::WindowSpec params;
  params.title = Caption();
  params.bounds = BoundsRect();
  params.taskbar = Application->MainForm() == this || Application->MainForm() == nullptr;
  if (TCustomForm* main = Application->MainForm(); main != nullptr && main != this) {
    params.owner = main->Handle();
  }
  OfferBorderIcons(params, borderIcons_, borderStyle_);
  window_->handle = Backend().CreateWindow(params);
  window_->surface = std::make_unique<TBitmap>(std::max(1, width_), std::max(1, height_));
  sentBounds_ = BoundsRect();
  Backend().SetDragArea(window_->handle, [this](TPoint p) { return IsCaptionAt(p.X, p.Y); });
  window_->invalid.Add(Rect(0, 0, width_, height_));
  vark::ui::Painter::LayoutChanged();
}

void TCustomForm::DestroyHandle() {
  if (!HandleAllocated()) return;
  if (Application->HasBackend()) Application->Backend().DestroyWindow(window_->handle);
  window_->handle = 0;
  window_->surface.reset();
  window_->invalid.Clear();
  window_->damage.Clear();
  window_->direct.clear();
  active_ = false;
  vark::ui::Painter::LayoutChanged();
}

TCanvas& TCustomForm::Canvas() {
  BindCanvas(canvas_, VisibleWindowRect());
  return canvas_;
}

// --- showing and closing --------------------------------------------------------------

void TCustomForm::Show() {
  if (!created_) AfterConstruction();
  SetVisible(true);
  if (HandleAllocated()) Backend().Activate(window_->handle);
}

void TCustomForm::VisibleChanged() {
  if (Visible()) {
    if (!created_) AfterConstruction();
    HandleNeeded();
    TWindowState wanted = windowState_;
    windowState_ = wsNormal;
    Backend().SetVisible(window_->handle, true);
    if (wanted != wsNormal) SetWindowState(wanted);
    DoShow();
    if (ActiveControl() == nullptr) SelectFirst();
    vark::a11y::WindowsChanged();
  } else {
    if (HandleAllocated()) Backend().SetVisible(window_->handle, false);
    if (TControl* capture = GetCaptureControl();
        capture != nullptr && GetParentForm(capture) == this) {
      ReleaseCapture();
    }
    DoHide();
    vark::a11y::WindowsChanged();
  }
}

void TCustomForm::DoShow() {
  FireEvent(OnShow, this);
}

void TCustomForm::DoHide() {
  FireEvent(OnHide, this);
}

int TCustomForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  // The form takes the input: a press elsewhere is over. The form shows
  // whatever the release's handlers raise (the default report is such a form).
  try {
    vark::ui::Dispatch::CancelPress();
  } catch (const std::exception& e) {
    Application->HandleException(this, e);
  }
  TWeakRef<TCustomForm> self(this);
  modal_ = true;
  modalResult_ = mrNone;
  releaseAfterModal_ = false;
  Application->PushModal(this);
  auto finish = [&] {
    if (!self) return;
    Application->PopModal(this);
    modal_ = false;
    if (HandleAllocated()) Backend().SetModal(window_->handle, false);
    Hide();
  };
  try {
    Show();
    if (HandleAllocated()) Backend().SetModal(window_->handle, true);
    while (true) {
      // Checked before waiting: a form shown while the program ends gives up.
      if (Application->Terminated()) {
        modalResult_ = mrCancel;
        break;
      }
      Application->HandleMessage();
      if (!self) return mrCancel;  // freed inside its own modal loop
      if (modalResult_ != mrNone) {
        CloseModal();
        if (modalResult_ != mrNone) break;
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  TModalResult result = modalResult_;
  finish();
  if (releaseAfterModal_) FreeLater();
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) modalResult_ = mrNone;
  if (action == caFree) releaseAfterModal_ = true;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  FireEvent(OnCloseQuery, this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  FireEvent(OnClose, this, Action);
}

void TCustomForm::Release() {
  if (modal_) {
    releaseAfterModal_ = true;
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  FreeLater();
}

// --- focus --------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == nullptr) {
    activeControl_ = nullptr;
    return;
  }
  if (!Visible() || ComponentState().Contains(csLoading)) {
    activeControl_ = control;  // takes the focus when the form shows
    return;
  }
  FocusControl(control);
}

void TCustomForm::DescribeAccessible(vark::a11y::Facts& facts) const {
  using vark::a11y::State;
  TWinControl::DescribeAccessible(facts);
  facts.role = modal_ ? vark::a11y::Role::Dialog : vark::a11y::Role::Frame;
  if (active_) facts.states.Include(State::Active);
  if (modal_) facts.states.Include(State::Modal);
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (control == nullptr || control == this) {
    vark::ui::Dispatch::ChangeFocus(*this, nullptr);
    return;
  }
  if (GetParentForm(control) != this) {
    throw EInvalidOperation("Control '" + control->Name() + "' is not on this form");
  }
  if (!control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  vark::ui::Dispatch::ChangeFocus(*this, control);
}

void TCustomForm::CMDialogKey(TCMDialogKey& Message) {
  if (!Message.Shift.Contains(ssAlt)) {
    switch (Message.CharCode) {
      case VK_TAB:
        if (!Message.Shift.Contains(ssCtrl)) {
          SelectNext(ActiveControl(), !Message.Shift.Contains(ssShift), true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (TWinControl* active = ActiveControl();
            active != nullptr && active->Parent() != nullptr) {
          active->Parent()->SelectNext(
              active, Message.CharCode == VK_RIGHT || Message.CharCode == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TWinControl::CMDialogKey(Message);
}

// --- frame and title bar ----------------------------------------------------------------

bool TCustomForm::HasCaptionButton(int kind) const {
  if (borderStyle_ == bsNone) return false;
  if (titleBar_.Enabled() && !titleBar_.SystemButtons()) return false;
  switch (kind) {
    case vark::ui::cbCloseButton:
      return borderIcons_.Contains(biSystemMenu);
    case vark::ui::cbMaximizeButton:
      return borderIcons_.Contains(biSystemMenu) && borderIcons_.Contains(biMaximize) &&
             borderStyle_ != bsDialog && borderStyle_ != bsToolWindow;
    case vark::ui::cbMinimizeButton:
      return borderIcons_.Contains(biSystemMenu) && borderIcons_.Contains(biMinimize) &&
             borderStyle_ != bsDialog && borderStyle_ != bsToolWindow;
    default:
      return false;
  }
}

TRect TCustomForm::CaptionButtonRect(int kind) const {
  if (!HasCaptionButton(kind)) return {};
  TRect f = FrameInsets();
  int top = titleBar_.Enabled() ? f.Top : 0;
  int height = titleBar_.Enabled() ? titleBar_.Height() : f.Top;
  int right = width_ - f.Right;
  for (int k : {vark::ui::cbCloseButton, vark::ui::cbMaximizeButton, vark::ui::cbMinimizeButton}) {
    if (!HasCaptionButton(k)) continue;
    TRect r = Rect(right - kCaptionButtonWidth, top, right, top + height);
    if (k == kind) return r;
    right -= kCaptionButtonWidth;
  }
  return {};
}

bool TCustomForm::IsCaptionAt(int X, int Y) const {
  if (borderStyle_ == bsNone) return false;
  TPoint p{X, Y};
  for (int k : {vark::ui::cbCloseButton, vark::ui::cbMaximizeButton, vark::ui::cbMinimizeButton}) {
    if (CaptionButtonRect(k).Contains(p)) return false;
  }
  TRect f = FrameInsets();
  if (titleBar_.Enabled()) {
    TRect band = Bounds(f.Left, f.Top, ClientWidth(), titleBar_.Height());
    if (!band.Contains(p)) return false;
    return vark::ui::Dispatch::ControlAt(const_cast<TCustomForm&>(*this), p) == this;
  }
  return Rect(0, 0, width_, f.Top).Contains(p);
}

void TCustomForm::PaintInWindow(TBitmap& surface, const TRect& clip) {
  TCanvas c;
  c.Bind(&surface, {0, 0}, clip);
  PaintFrame(c);
  TRect f = FrameInsets();
  TRect client = Bounds(f.Left, f.Top, ClientWidth(), ClientHeight());
  c.Brush().SetColor(Color());
  c.FillRect(client);
  if (titleBar_.Enabled()) {
    PaintTitleBand(c, Bounds(f.Left, f.Top, ClientWidth(), titleBar_.Height()), true);
  }
  TRect clientClip = IntersectRect(client, clip);
  if (!clientClip.IsEmpty()) {
    BindCanvas(canvas_, clientClip);
    Paint();
  }
}

void TCustomForm::Paint() {
  FireEvent(OnPaint, this);
}

void TCustomForm::PaintFrame(TCanvas& c) {
  if (borderStyle_ == bsNone) return;
  TRect f = FrameInsets();
  TColor frame = titleBar_.Enabled() ? titleBar_.EffectiveBackground(active_) : kPlainFrame;
  c.Brush().SetColor(frame);
  c.FillRect(Rect(0, 0, f.Left, height_));
  c.FillRect(Rect(width_ - f.Right, 0, width_, height_));
  c.FillRect(Rect(0, height_ - f.Bottom, width_, height_));
  if (!titleBar_.Enabled()) {
    PaintTitleBand(c, Rect(0, 0, width_, f.Top), false);
    // A hairline around the window, so a white frame stands out on white.
    c.Brush().SetStyle(bsClear);
    c.Pen().SetColor(kPlainOutline);
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Rectangle(0, 0, width_, height_);
    c.Brush().SetStyle(bsSolid);
  }
}

void TCustomForm::PaintTitleBand(TCanvas& c, const TRect& band, bool inClient) {
  const TCustomTitleBar& tb = titleBar_;
  TColor background = inClient ? tb.EffectiveBackground(active_) : kPlainFrame;
  TColor foreground =
      inClient ? tb.EffectiveForeground(active_) : (active_ ? clBlack : TColor{0x00999999});
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(background);
  c.FillRect(band);

  // Caption buttons, right to left.
  int buttonsLeft = band.Right;
  for (int kind :
       {vark::ui::cbCloseButton, vark::ui::cbMaximizeButton, vark::ui::cbMinimizeButton}) {
    TRect r = CaptionButtonRect(kind);
    if (r.IsEmpty()) continue;
    buttonsLeft = std::min(buttonsLeft, r.Left);
    bool hot = window_->hotButton == kind;
    bool pressed = hot && window_->pressedButton == kind;
    TColor bg = background, fg = foreground;
    if (inClient && !tb.SystemColors()) {
      bg = !active_  ? tb.ButtonInactiveBackgroundColor()
           : pressed ? tb.ButtonPressedBackgroundColor()
           : hot     ? tb.ButtonHoverBackgroundColor()
                     : tb.ButtonBackgroundColor();
      fg = !active_  ? tb.ButtonInactiveForegroundColor()
           : pressed ? tb.ButtonPressedForegroundColor()
           : hot     ? tb.ButtonHoverForegroundColor()
                     : tb.ButtonForegroundColor();
    } else if (hot) {
      bg = kind == vark::ui::cbCloseButton ? kCloseHoverBackground
           : pressed                       ? TColor{0x00CACACA}
                                           : TColor{0x00E5E5E5};
      if (kind == vark::ui::cbCloseButton) fg = clWhite;
    }
    c.Brush().SetColor(bg);
    c.FillRect(r);
    c.Pen().SetColor(fg);
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    switch (kind) {
      case vark::ui::cbCloseButton:
        c.MoveTo(cx - 5, cy - 5);
        c.LineTo(cx + 6, cy + 6);
        c.MoveTo(cx + 5, cy - 5);
        c.LineTo(cx - 6, cy + 6);
        break;
      case vark::ui::cbMaximizeButton:
        c.Brush().SetStyle(bsClear);
        c.Rectangle(cx - 5, cy - 5, cx + 5, cy + 5);
        c.Brush().SetStyle(bsSolid);
        break;
      default:
        c.MoveTo(cx - 5, cy);
        c.LineTo(cx + 5, cy);
        break;
    }
  }

  if ((!inClient || tb.ShowCaption()) && !Caption().empty()) {
    TFont font;
    font.SetName("Segoe UI");
    font.SetHeight(-12);
    font.SetColor(foreground);
    c.SetFont(font);
    int tw = c.TextWidth(Caption());
    int th = c.TextHeight(Caption());
    TAlignment alignment = inClient ? tb.CaptionAlignment() : taLeftJustify;
    int x = band.Left + 8;
    if (alignment == taCenter) x = band.Left + (band.Width() - tw) / 2;
    if (alignment == taRightJustify) x = buttonsLeft - 8 - tw;
    int y = band.Top + (band.Height() - th) / 2;
    c.Brush().SetStyle(bsClear);
    c.TextRect(Rect(band.Left, band.Top, buttonsLeft, band.Bottom), x, y, Caption());
    c.Brush().SetStyle(bsSolid);
  }
}

void TCustomForm::TextChanged() {
  if (HandleAllocated()) Backend().SetTitle(window_->handle, Caption());
  TRect f = FrameInsets();
  int band = titleBar_.Enabled() ? titleBar_.Height() : 0;
  window_->invalid.Add(Rect(0, 0, width_, f.Top + band));
}

// --- the form a control lies on ----------------------------------------------------

TCustomForm* GetParentForm(const TControl* Control, bool TopForm) {
  TCustomForm* found = nullptr;
  for (const TControl* c = Control; c != nullptr; c = c->Parent()) {
    if (auto* form = const_cast<TControl*>(c)->AsForm()) {
      found = form;
      if (!TopForm) break;
    }
  }
  return found;
}
