#include "platform/ui/Panel.h"

#include <utility>

#include "platform/ui/FocusRect.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/a11y/Accessible.h"

namespace {

// A classic 3-D frame: light top-left and dark bottom-right lines (reversed for
// a lowered bevel), width pixels thick; rect shrinks past it.
void Frame3D(TCanvas& c, TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  c.Pen().SetWidth(1);
  c.Pen().SetStyle(psSolid);
  for (int i = 0; i < width; ++i) {
    --rect.Right;
    --rect.Bottom;
    c.Pen().SetColor(topLeft);
    c.MoveTo(rect.Left, rect.Bottom);
    c.LineTo(rect.Left, rect.Top);
    c.LineTo(rect.Right, rect.Top);
    c.Pen().SetColor(bottomRight);
    c.LineTo(rect.Right, rect.Bottom);
    c.LineTo(rect.Left - 1, rect.Bottom);
    ++rect.Left;
    ++rect.Top;
  }
}

void Bevel(TCanvas& c, TRect& rect, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  TColor light = clBtnHighlight, dark = clBtnShadow;
  if (cut == bvLowered) std::swap(light, dark);
  if (cut == bvSpace) light = dark = clBtnFace;
  Frame3D(c, rect, light, dark, width);
}

}  // namespace

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
  SetColor(clBtnFace);
  SetParentBackground(true);
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  Invalidate();
}

void TPanel::SetBevelWidth(int value) {
  bevelWidth_ = value < 1 ? 1 : value;
  Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TPanel::SetShowCaption(bool value) {
  showCaption_ = value;
  Invalidate();
}

void TPanel::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  if (!ParentBackground()) {
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  Bevel(c, r, bevelOuter_, bevelWidth_);
  Bevel(c, r, bevelInner_, bevelWidth_);
  if (showCaption_ && !Caption().empty()) {
    c.SetFont(Font());
    c.Brush().SetStyle(bsClear);
    vark::ui::TextBlock block = vark::ui::LayoutText(c, Caption(), r.Width(), false);
    TRect text = r;
    text.Inflate(-2, 0);
    vark::ui::DrawTextBlock(c, block, text, alignment_, tlCenter);
  }
  // A panel the program gives the focus (a row standing for an item) shows
  // it along its edge, once the keyboard was used, as the other controls do.
  if (const TCustomForm* form = GetParentForm(this);
      Focused() && form != nullptr && form->Window().keyboardUsed) {
    vark::ui::DrawFocusRect(c, ClientRect(), Font().Color());
  }
}

void TPanel::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TPanel::DoExit() {
  Invalidate();
  TCustomControl::DoExit();
}

void TPanel::DescribeAccessible(vark::a11y::Facts& facts) const {
  TCustomControl::DescribeAccessible(facts);
  facts.name = vark::ui::StripAccelChars(Caption());
  // Without a caption it only holds other controls in place: they stand for it.
  if (!facts.name.empty()) facts.role = vark::a11y::Role::Panel;
}
