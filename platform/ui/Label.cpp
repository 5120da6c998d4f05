#include "platform/ui/Label.h"

#include "platform/ui/TextLayout.h"
#include "platform/ui/a11y/Accessible.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  TControlStyle style = ControlStyle();
  if (value) {
    style.Exclude(csOpaque);
  } else {
    style.Include(csOpaque);
  }
  SetControlStyle(style);
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || ComponentState().Contains(csLoading)) return;
  std::string text = showAccelChar_ ? vark::ui::StripAccelChars(Caption()) : Caption();
  // An empty caption still takes a line, a space wide, as the classic label does.
  if (text.empty()) text.push_back(' ');
  TCanvas measure;
  measure.SetFont(Font());
  measure.SetTextFlags(TextFlags());
  vark::ui::TextBlock block =
      vark::ui::LayoutText(measure, text, wordWrap_ ? Width() : 0, wordWrap_);
  int w = wordWrap_ ? Width() : block.width;
  int h = std::max(block.height, block.lineHeight);
  int x = Left();
  // A right-aligned label grows to the left: its right edge stays.
  if (alignment_ == taRightJustify && !wordWrap_) x = Left() + Width() - w;
  SetBounds(x, Top(), w, h);
}

void TLabel::ChangeScale(int M, int D) {
  TGraphicControl::ChangeScale(M, D);
  AdjustBounds();
}

void TLabel::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  c.Brush().SetStyle(bsClear);
  TFont font;
  font.Assign(Font());
  if (!EnabledInTree()) font.SetColor(clGrayText);
  c.SetFont(font);
  c.SetTextFlags(TextFlags());
  std::string text = showAccelChar_ ? vark::ui::StripAccelChars(Caption()) : Caption();
  vark::ui::TextBlock block = vark::ui::LayoutText(c, text, r.Width(), wordWrap_);
  vark::ui::DrawTextBlock(c, block, r, alignment_, layout_);
}

int TLabel::TextFlags() const {
  return BiDiMode() == bdLeftToRight ? 0 : ETO_RTLREADING;
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::ColorChanged() {
  TGraphicControl::ColorChanged();
  Invalidate();
}

void TLabel::DescribeAccessible(vark::a11y::Facts& facts) const {
  TGraphicControl::DescribeAccessible(facts);
  facts.name = showAccelChar_ ? vark::ui::StripAccelChars(Caption()) : Caption();
  facts.text = facts.name;
  if (!facts.name.empty()) facts.role = vark::a11y::Role::Label;
}
