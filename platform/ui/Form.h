// TCustomForm / TForm: a top-level window. Left, Top, Width and Height are the
// outer window on the screen; the client area (ClientWidth × ClientHeight)
// holds the controls.
//
// The frame is drawn by us (the native window has no decorations): a form with
// the custom title bar enabled draws the band inside the top of its client area
// and has a 3-pixel border on its left, right and bottom in the band's colour,
// so Width = ClientWidth + 6 and Height = ClientHeight + 3. Any other bordered
// form gets a plain title bar above its client area (CustomTitleBar().Height()
// pixels) and the same border. bsNone has no frame at all.
//
// Building a form in code: the constructor makes the children between
// BeginLoading() and EndLoading(); then AfterConstruction (run by Make(),
// MakeForm() and TApplication::CreateForm) scales the form by the display's
// scale once and runs OnCreate.
//
// Modality: ShowModal runs a nested event loop until ModalResult becomes
// non-zero (a button's modal result, Close, ...). Timers of every window keep
// ticking in it; input reaches only the modal form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/TitleBar.h"
#include "platform/ui/WinControl.h"

class TBitmap;
namespace vark::ui {
struct FormWindow;
}

// The glass frame of the classic desktop: stored with the form; the frame we
// draw does not use it.
struct TGlassFrame {
  bool Enabled = false;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool SheetOfGlass = false;
};

class TCustomForm : public TWinControl {
 public:
  // Width of the border drawn on the left, right and bottom of a framed form.
  static constexpr int kFrameWidth = 3;

  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  void AfterConstruction() override;

  // --- geometry ------------------------------------------------------------------
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Scales the client size, the title bar, the font and every control; the
  // window keeps its place.
  void ChangeScale(int M, int D) override;
  // The pixels per inch the layout is scaled to (96 as designed).
  int PixelsPerInch() const { return ppi_; }
  // Before the window exists: scales the layout to the screen that holds most
  // of bounds, as opening the window there would. A form that puts back a
  // place and size kept from an earlier run calls it with them before it sets
  // the size, which is in that screen's pixels, so that opening the window
  // does not scale that size a second time. Once the window exists, the
  // desktop tells it when it goes to a screen of another scale.
  void ScaleToScreenAt(const TRect& bounds);
  TCustomForm* AsForm() override { return this; }
  const TCustomForm* AsForm() const override { return this; }
  TRect ClientRect() const override;
  void SetClientWidth(int value) override;
  void SetClientHeight(int value) override;
  // Where the client area starts inside the outer window.
  TPoint ClientOffset() const;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  TCustomTitleBar& CustomTitleBar() { return titleBar_; }
  const TCustomTitleBar& CustomTitleBar() const { return titleBar_; }
  TGlassFrame& GlassFrame() { return glassFrame_; }
  TStyleElements StyleElements() const { return styleElements_; }
  void SetStyleElements(TStyleElements value) { styleElements_ = value; }

  // --- showing and closing ----------------------------------------------------------
  // Shows the window (and brings it to the front).
  void Show();
  void Hide() { SetVisible(false); }
  // Shows the form modally and returns its modal result.
  int ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }
  // The close request: OnCloseQuery may refuse; OnClose chooses what happens
  // (hide by default; closing the main form ends the application). A modal form
  // just gets ModalResult mrCancel.
  void Close();
  // Runs OnCloseQuery; true when the form may close.
  virtual bool CloseQuery();
  // Frees the form once the event loop is back in control (after its modal
  // loop, when it runs one).
  void Release();

  // Whether the form is the active window of the application.
  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return activeControl_.get(); }
  void SetActiveControl(TWinControl* control);
  // Moves the focus to control (one of this form's controls).
  void FocusControl(TWinControl* control);

  // A canvas on the client area, for measuring text and for OnPaint.
  TCanvas& Canvas();

  // --- the native window -----------------------------------------------------------
  bool HandleAllocated() const;
  // Creates the native window and its back buffer (hidden) if they do not exist.
  void HandleNeeded();
  uint32_t Handle() const;
  // The back buffer: the whole outer window; null before the window exists.
  TBitmap* Surface() const;
  // Whether the band at (X, Y) (window coordinates) drags the window: the title
  // band where no control takes the mouse, outside the caption buttons.
  bool IsCaptionAt(int X, int Y) const;
  // The caption buttons the frame shows (the custom title bar only with
  // SystemButtons), and their rectangles in window coordinates.
  bool HasCaptionButton(int kind) const;
  TRect CaptionButtonRect(int kind) const;
  // Height of the plain title bar drawn above the client area of other forms.
  static constexpr int kCaptionHeight = 30;
  static constexpr int kCaptionButtonWidth = 46;

  // --- events -----------------------------------------------------------------------------
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

  // Internal state of the window (pending paint, hover, capture ...), for the
  // event loop and the painter.
  vark::ui::FormWindow& Window() const { return *window_; }

 protected:
  friend class TCustomTitleBar;
  friend class vark::ui::Dispatch;
  virtual void DoCreate();
  virtual void DoClose(TCloseAction& Action);
  virtual void DoShow();
  virtual void DoHide();
  // Draws on Canvas after the background; runs OnPaint.
  virtual void Paint();
  void PaintInWindow(TBitmap& surface, const TRect& clip) override;
  bool ErasesBackground() const override { return false; }
  void VisibleChanged() override;
  void TextChanged() override;
  void Loaded() override;
  void SizeChanged() override;
  // Tab and Shift+Tab move the focus through the tab order, the arrows among
  // the focused control's siblings; other keys go to every control.
  void CMDialogKey(TCMDialogKey& Message) override;
  void DoEnter() override {}
  void DoExit() override {}
  // A frame named by its caption; a dialog while it runs modally.
  void DescribeAccessible(vark::a11y::Facts& facts) const override;

 public:
  // A gamepad button went down while this form takes the input. A form that
  // gives the button a meaning of its own acts on it and answers true;
  // otherwise the button does what its key does (platform/ui/PadInput.h).
  virtual bool PadButtonDown(TPadButton Button) {
    (void)Button;
    return false;
  }
  // Called by the event loop when the window manager or the user moved,
  // resized, activated or changed the state of the window.
  void WindowMoved(int ALeft, int ATop);
  void WindowResized(int AWidth, int AHeight);
  void WindowStateChanged(TWindowState state);
  void WindowActivated(bool active);
  // The window went to a screen of another scale: the layout is scaled by the
  // ratio and the window goes where the desktop suggests, at its new size.
  void WindowScaleChanged(int pixelsPerInch, const TRect& suggested);
  // Ends the modal loop's wait for this form (for the event loop).
  bool ModalDone() const { return modalResult_ != mrNone; }

 private:
  friend class TApplication;
  TRect FrameInsets() const;  // left, top, right, bottom widths of the frame
  void ApplyInitialPosition();
  // Scales the layout from the current pixels per inch to ppi.
  void ScaleTo(int ppi);
  void SyncWindow();
  void DestroyHandle();
  void ApplyState(TWindowState state);
  void CloseModal();
  // The client size kept while the frame changes (border style, title bar).
  void KeepClientSize(int clientWidth, int clientHeight);
  void PaintFrame(TCanvas& canvas);
  void PaintTitleBand(TCanvas& canvas, const TRect& band, bool inClient);
  void SendSizeMessage();

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDefaultPosOnly;
  TWindowState windowState_ = wsNormal;
  TCustomTitleBar titleBar_{this};
  TGlassFrame glassFrame_;
  TStyleElements styleElements_{seFont, seClient, seBorder};
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool active_ = false;
  bool created_ = false;  // AfterConstruction ran
  bool positioned_ = false;
  int ppi_ = 96;
  TWeakRef<TWinControl> activeControl_;
  TCanvas canvas_;
  std::unique_ptr<vark::ui::FormWindow> window_;
  TRect restoreBounds_;  // the normal bounds while maximised
  TRect sentBounds_;     // the bounds the backend last heard of
  bool releaseAfterModal_ = false;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form a control lies on: the topmost form (TopForm) or the nearest one.
TCustomForm* GetParentForm(const TControl* Control, bool TopForm = true);

// Makes a form held by the caller and runs its AfterConstruction (OnCreate).
template <class T, class... Args>
std::unique_ptr<T> MakeForm(TComponent* AOwner, Args&&... args) {
  auto form = std::make_unique<T>(AOwner, std::forward<Args>(args)...);
  form->AfterConstruction();
  return form;
}
