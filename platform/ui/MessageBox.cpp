#include "platform/ui/MessageBox.h"

#include <algorithm>

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Form.h"
#include "platform/ui/GraphicControl.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace vark::ui {

namespace {

enum IconKind : uint8_t { ikNone, ikError, ikQuestion, ikWarning, ikInformation };

IconKind KindOf(uint32_t flags) {
  switch (flags & 0xF0) {
    case MB_ICONERROR:
      return ikError;
    case MB_ICONQUESTION:
      return ikQuestion;
    case MB_ICONWARNING:
      return ikWarning;
    case MB_ICONINFORMATION:
      return ikInformation;
    default:
      return ikNone;
  }
}

// The 32 × 32 sign at the left of the box.
class TMessageIcon : public TGraphicControl {
 public:
  TMessageIcon(TComponent* AOwner, IconKind kind) : TGraphicControl(AOwner), kind_(kind) {
    SetBounds(0, 0, 32, 32);
  }

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    c.Pen().SetStyle(psClear);
    const char* glyph = nullptr;
    switch (kind_) {
      case ikError:
        c.Brush().SetColor(RGB(232, 17, 35));
        c.Ellipse(0, 0, 32, 32);
        c.Pen().SetStyle(psSolid);
        c.Pen().SetColor(clWhite);
        c.Pen().SetWidth(3);
        c.MoveTo(10, 10);
        c.LineTo(22, 22);
        c.MoveTo(22, 10);
        c.LineTo(10, 22);
        return;
      case ikWarning: {
        c.Brush().SetColor(RGB(255, 185, 0));
        TPoint tri[] = {{16, 1}, {31, 30}, {1, 30}};
        c.Polygon(tri);
        glyph = "!";
        break;
      }
      case ikQuestion:
      case ikInformation:
        c.Brush().SetColor(RGB(0, 120, 215));
        c.Ellipse(0, 0, 32, 32);
        glyph = kind_ == ikQuestion ? "?" : "i";
        break;
      default:
        return;
    }
    TFont font;
    font.SetName("Segoe UI");
    font.SetHeight(-20);
    font.SetStyle({fsBold});
    font.SetColor(kind_ == ikWarning ? clBlack : clWhite);
    c.SetFont(font);
    c.Brush().SetStyle(bsClear);
    int tw = c.TextWidth(glyph), th = c.TextHeight(glyph);
    c.TextOut(16 - tw / 2, (kind_ == ikWarning ? 18 : 16) - th / 2, glyph);
  }

 private:
  IconKind kind_;
};

constexpr int kMargin = 16;
constexpr int kMaxTextWidth = 420;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kFooterHeight = 42;

}  // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons({biSystemMenu});
  form->SetPosition(poScreenCenter);
  form->SetCaption(caption);
  form->SetColor(clWindow);
  form->Accessibility().SetRole(a11y::Role::Alert);

  IconKind kind = KindOf(flags);
  int textLeft = kMargin;
  if (kind != ikNone) {
    auto& icon = form->Make<TMessageIcon>(kind);
    icon.SetLeft(kMargin);
    icon.SetTop(kMargin);
    icon.SetParent(form.get());
    textLeft = kMargin + 32 + 12;
  }

  auto& label = form->Make<TLabel>();
  label.SetName("Message");
  label.SetParent(form.get());
  label.SetTransparent(true);
  label.SetShowAccelChar(false);
  // Measured with the label's own font, which it takes from the form.
  TCanvas measure;
  measure.SetFont(label.Font());
  TextBlock block = LayoutText(measure, text, kMaxTextWidth, true);
  label.SetAutoSize(false);
  label.SetWordWrap(true);
  label.SetCaption(text);
  int textHeight = std::max(block.height, block.lineHeight);
  int contentHeight = std::max(textHeight, kind != ikNone ? 32 : 0);
  label.SetBounds(textLeft, kMargin + (contentHeight - textHeight) / 2, block.width + 1,
                  textHeight);

  int clientWidth = std::max({textLeft + block.width + kMargin, kButtonWidth + 2 * kMargin, 240});
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(kMargin + contentHeight + kMargin + kFooterHeight);

  auto& footer = form->Make<TPanel>();
  footer.SetParent(form.get());
  footer.SetBevelOuter(bvNone);
  footer.SetParentBackground(false);
  footer.SetColor(clBtnFace);
  footer.SetCaption("");
  footer.SetBounds(0, form->ClientHeight() - kFooterHeight, clientWidth, kFooterHeight);

  auto& ok = form->Make<TButton>();
  ok.SetName("OK");
  ok.SetParent(&footer);
  ok.SetCaption("OK");
  ok.SetBounds(clientWidth - kMargin - kButtonWidth, (kFooterHeight - kButtonHeight) / 2,
               kButtonWidth, kButtonHeight);
  ok.SetDefault(true);
  ok.SetCancel(true);
  ok.SetModalResult(mrOk);
  ok.SetTabStop(true);

  return form->ShowModal();
}

}  // namespace vark::ui
