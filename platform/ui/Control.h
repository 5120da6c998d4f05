// TControl: a component with a place on its parent. It has bounds in its
// parent's client coordinates, visibility, enabling, alignment with margins,
// anchors, size constraints, a cursor, a colour and a font (each of which may
// follow the parent), a caption and a hint, and the mouse events. It paints
// through the window it lives in; TGraphicControl and TCustomControl add a
// canvas and a Paint to override.
//
// The mouse: the control under the pointer is entered and left
// (CMMouseEnter/CMMouseLeave); a press captures the mouse, so moves and the
// release reach the pressed control wherever the pointer goes; a left release
// over the control that took the left press is a Click, reported before
// MouseUp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Types.h"
#include "platform/ui/Component.h"
#include "platform/ui/Messages.h"
#include "platform/ui/UITypes.h"

class TControl;
class TWinControl;
class TCustomForm;
class TBitmap;

namespace vark::ui {
class Dispatch;
class Painter;
}  // namespace vark::ui
namespace vark::a11y {
class ControlAccessible;
struct Facts;
}  // namespace vark::a11y

enum TControlStyleItem : uint8_t {
  csAcceptsControls,
  csCaptureMouse,
  csClickEvents,
  csOpaque,
  csDoubleClicks,
  csParentBackground,
  csSetCaption,
};
using TControlStyle = TSet<TControlStyleItem, uint16_t>;

// Size limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
 public:
  explicit TSizeConstraints(TControl* control) : control_(control) {}
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  int MaxWidth() const { return maxWidth_; }
  int MaxHeight() const { return maxHeight_; }
  void SetMinWidth(int value);
  void SetMinHeight(int value);
  void SetMaxWidth(int value);
  void SetMaxHeight(int value);
  // The width and height these limits allow.
  int ConstrainWidth(int width) const;
  int ConstrainHeight(int height) const;

 private:
  void Changed();
  TControl* control_;
  int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

// Space kept around a control that aligns with margins (AlignWithMargins).
class TMargins : public TPersistent {
 public:
  explicit TMargins(TControl* control) : control_(control) {}
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  void SetLeft(int value) { SetMargins(value, top_, right_, bottom_); }
  void SetTop(int value) { SetMargins(left_, value, right_, bottom_); }
  void SetRight(int value) { SetMargins(left_, top_, value, bottom_); }
  void SetBottom(int value) { SetMargins(left_, top_, right_, value); }
  void SetMargins(int left, int top, int right, int bottom);

 private:
  TControl* control_;
  int left_ = 3, top_ = 3, right_ = 3, bottom_ = 3;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- place in the tree -------------------------------------------------
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);

  // --- bounds (parent's client coordinates) --------------------------------
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  // Stores the bounds (within the size constraints) and repaints what changed.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int value) { SetWidth(value); }
  virtual void SetClientHeight(int value) { SetHeight(value); }
  // Client coordinates of this control to and from screen coordinates.
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  // --- state ----------------------------------------------------------------
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all its parents up to a form whose window exists.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  // Enabled, and so are all its parents.
  bool EnabledInTree() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  bool AlignWithMargins() const { return alignWithMargins_; }
  void SetAlignWithMargins(bool value);
  TMargins& Margins() { return margins_; }
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value);
  TSizeConstraints& Constraints() { return constraints_; }
  const TSizeConstraints& Constraints() const { return constraints_; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  // The colour; with ParentColor it is the parent's. Setting it clears ParentColor.
  TColor Color() const;
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  // The font; with ParentFont it is a copy of the parent's, kept up to date.
  // Changing it clears ParentFont.
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; }
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode value);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

  // --- painting ---------------------------------------------------------------
  // Marks the control's area of its window for repainting by the event loop.
  virtual void Invalidate();
  // Paints what is invalid in the control's window now.
  virtual void Update();
  // Invalidate, then Update.
  virtual void Repaint();
  // Moves the control to the top or bottom of its siblings' painting order.
  void BringToFront();
  void SendToBack();

  // --- input -----------------------------------------------------------------
  bool MouseCapture() const;
  void SetMouseCapture(bool value);
  // Sends a message to the control and returns the result (see Messages.h).
  LRESULT Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam);
  // Runs OnClick.
  virtual void Click();

  // --- place in the window ------------------------------------------------------
  // Where the control's client (0, 0) lies in its window's pixels (the outer
  // window, frame included): its top-left, or for a form the client area's;
  // meaningful while the control is on a form.
  TPoint WindowOrigin() const;
  // The part of the control that its parents leave visible, in window pixels;
  // empty when the control is not showing.
  TRect VisibleWindowRect() const;

  // This control as a windowed control or as a form, or null: cheap type tests
  // for the walks up and down the tree that every paint and event makes.
  virtual TWinControl* AsWinControl() { return nullptr; }
  virtual const TWinControl* AsWinControl() const { return nullptr; }
  virtual TCustomForm* AsForm() { return nullptr; }
  virtual const TCustomForm* AsForm() const { return nullptr; }

  // Scales bounds, constraints, margins and font by M / D (a form does this once,
  // at creation, by the display's scale).
  virtual void ChangeScale(int M, int D);

  // --- accessibility ----------------------------------------------------------------
  // The object assistive technology sees for this control, made on first use
  // (platform/ui/a11y).
  vark::a11y::ControlAccessible& Accessibility();

  // --- events ---------------------------------------------------------------------
  TNotifyEvent OnClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  friend class TWinControl;
  friend class TCustomForm;
  friend class vark::ui::Dispatch;
  friend class vark::ui::Painter;
  friend class vark::a11y::ControlAccessible;

  // What the control is to assistive technology: its role, name, text,
  // states, value and actions. The base gives no role, the caption as name
  // and the states every control has (visible, showing, enabled).
  virtual void DescribeAccessible(vark::a11y::Facts& facts) const;
  // Runs one of the actions DescribeAccessible names (the event loop calls it
  // once it is back in control).
  virtual void DoAccessibleAction(std::string_view action);

  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  // The mouse-entered and mouse-left notifications; the base runs OnMouseEnter
  // and OnMouseLeave.
  virtual void CMMouseEnter();
  virtual void CMMouseLeave();
  // The dialog-key notification (Return, Escape, Tab ... offered to the form's
  // controls); set Message.Result to 1 when the control acted on it.
  virtual void CMDialogKey(TCMDialogKey& Message);
  // Whether a press at (X, Y) (client coordinates) belongs to this control;
  // false lets it fall through to what lies beneath.
  virtual bool HitTest(int X, int Y) const;
  // Runs OnResize.
  virtual void Resize();
  // Called after SetBounds changed the size (not while loading); runs Resize.
  // Windowed controls send themselves the size message instead.
  virtual void SizeChanged() { Resize(); }

  // Painting in the window: the painter binds the control to the window's
  // pixels (clip in window coordinates) and calls this.
  virtual void PaintInWindow(TBitmap& surface, const TRect& clip);

  // Notifications of changed properties.
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged();
  virtual void ParentChanged() {}
  // Asks the parent to realign its children (after Align, size or visibility changed).
  void RequestAlign();
  // Marks the control's window area invalid without calling the virtual Invalidate.
  void InvalidateArea();
  // The window pixels changed by a direct paint of this control (its canvas's
  // damage listener): presented with the next frame.
  void NoteDirectDamage(const TRect& windowRect);
  // Rebinds a canvas to this control's place in its window (or to nothing when
  // the control is not showing).
  void BindCanvas(TCanvas& canvas) const;
  void BindCanvas(TCanvas& canvas, const TRect& clip) const;
  // Records the bounds and parent size the anchors measure from.
  void UpdateAnchorRules();
  // Called by the parent when its client size changed; moves or sizes this
  // control by its anchors.
  void AnchorsMoved(int parentWidth, int parentHeight);
  // Called when the parent's font changed; takes it while ParentFont holds.
  void ParentFontChanged();

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  void SetBoundsRaw(int ALeft, int ATop, int AWidth, int AHeight, bool fromAnchors);

  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  bool alignWithMargins_ = false;
  TMargins margins_{this};
  TAnchors anchors_{akLeft, akTop};
  TSizeConstraints constraints_{this};
  TCursor cursor_ = crDefault;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
  std::string caption_;
  std::string hint_;
  bool showHint_ = false;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  bool doubleBuffered_ = false;
  TControlStyle controlStyle_;
  // Anchors measure from these: the bounds and the parent's client size when
  // the control was last placed by hand.
  TRect anchorBounds_;
  TSize anchorParentSize_{-1, -1};
  std::unique_ptr<vark::a11y::ControlAccessible> accessibility_;
};

// The control holding the mouse capture, or null.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// Ends the mouse capture, as the classic API's ReleaseCapture.
bool ReleaseCapture();
