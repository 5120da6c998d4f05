// A full repaint of a window like the launcher's: 794 × 571, the custom title
// bar, and 60 controls — the stretched background picture and the panel
// backdrop, labels, the indicator and other shapes, a check box, eight edition
// rows (panel, picture, caption, mark), and custom-drawn controls that compose
// themselves off-screen and copy the result, as the button and the progress bar
// do. Measured on the headless backend: painting the whole window into its back
// buffer, and painting plus presenting it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/Artwork.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/CustomTransparentControl.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"

namespace {

// A button-like control: composes a rounded, outlined face with its caption in
// an off-screen bitmap and copies it onto its canvas in one operation.
class TFace : public TCustomControl {
 public:
  TFace(TComponent* owner, std::string text) : TCustomControl(owner), text_(std::move(text)) {}

 protected:
  void Paint() override {
    work_.SetSize(Width(), Height());
    TCanvas& c = work_.Canvas();
    c.Brush().SetColor(0x00212121);
    c.FillRect(Rect(0, 0, Width(), Height()));
    c.Pen().SetColor(0x00018699);
    c.Pen().SetWidth(3);
    c.Brush().SetColor(0x00014F74);
    c.RoundRect(1, 1, Width() - 1, Height() - 1, 10, 10);
    TFont font;
    font.SetName("Segoe UI Semibold");
    font.SetHeight(-15);
    font.SetColor(clWhite);
    c.SetFont(font);
    c.Brush().SetStyle(bsClear);
    c.TextOut((Width() - c.TextWidth(text_)) / 2, (Height() - c.TextHeight(text_)) / 2, text_);
    Canvas().CopyRect(ClientRect(), c, Rect(0, 0, Width(), Height()));
  }

 private:
  std::string text_;
  TBitmap work_;
};

// A transparent mark: a filled circle, the rest shows what lies beneath.
class TMark : public TCustomTransparentControl {
 public:
  TMark(TComponent* owner, TColor fill) : TCustomTransparentControl(owner), fill_(fill) {}

 protected:
  void Paint() override {
    Canvas().Pen().SetColor(0x0001BAF8);
    Canvas().Pen().SetWidth(2);
    Canvas().Brush().SetColor(fill_);
    Canvas().Ellipse(1, 1, Width() - 1, Height() - 1);
  }

 private:
  TColor fill_;
};

class TLauncherLike : public TForm {
 public:
  explicit TLauncherLike(TComponent* owner) : TForm(owner) {
    BeginLoading();
    SetBorderStyle(bsSingle);
    SetPosition(poDesigned);
    SetClientWidth(794);
    SetClientHeight(571);
    SetColor(0x00212121);
    Font().SetName("Segoe UI");
    Font().SetHeight(-11);
    CustomTitleBar().SetEnabled(true);
    CustomTitleBar().SetHeight(26);
    CustomTitleBar().SetSystemColors(false);
    CustomTitleBar().SetBackgroundColor(0x00212121);
    SetCaption("Valdor III Launcher");

    auto& bg = Add<TImage>(this, 0, -3, 794, 580);
    bg.Picture().LoadFromMemory(BackgroundJpeg());
    bg.SetStretch(true);
    Label(this, 32, 24, "Valdor III Launcher", "Segoe Print", -40, clBlack);
    Label(this, 765, 8, "\xEE\x9C\x91", "Segoe Fluent Icons", -19, clWindowText);
    auto& footer = Label(this, 661, 550, "Varkel Software", "Segoe UI", -11, clWhite);
    footer.SetAlignment(taRightJustify);
    auto& indicator = Add<TShape>(this, 40, 106, 6, 24);
    indicator.SetShape(stRoundRect);
    indicator.Brush().SetColor(clHighlight);
    indicator.Pen().SetStyle(psClear);
    auto& backdrop = Add<TImage>(this, 464, 64, 297, 425);
    backdrop.Picture().LoadFromMemory(BackdropPng());
    backdrop.SetStretch(true);
    Label(this, 480, 77, "Aditional", "Segoe UI Light", -23, clBlack);
    Label(this, 480, 253, "Options", "Segoe UI Light", -23, clBlack);
    auto& hint = Label(this, 513, 322,
                       "To acess this menu you need to be in 16 bit color mode and in windowed "
                       "mode. (F4)",
                       "Segoe UI", -11, clBlack);
    hint.SetAutoSize(false);
    hint.SetWordWrap(true);
    hint.SetBounds(513, 322, 235, 35);
    auto& check = Add<TCheckBox>(this, 495, 299, 242, 17);
    check.SetCaption("Enable cheats menu");
    check.SetAlignment(taLeftJustify);

    const char* buttons[] = {"Launch",
                             "\xEE\x9C\x93",
                             "Open valdor folder",
                             "Start map editor",
                             "Open launcher if avalabile",
                             "Folders",
                             "Exes",
                             "Launchers",
                             "Map exes"};
    const TRect places[] = {
        Bounds(72, 472, 250, 41),  Bounds(328, 472, 41, 41),  Bounds(495, 137, 242, 32),
        Bounds(495, 182, 242, 33), Bounds(495, 363, 242, 32), Bounds(495, 411, 131, 28),
        Bounds(632, 411, 105, 28), Bounds(495, 445, 115, 28), Bounds(616, 445, 121, 28)};
    for (int i = 0; i < 9; ++i) {
      auto& b = Make<TFace>(buttons[i]);
      b.SetBoundsRect(places[i]);
      b.SetParent(this);
    }
    auto& progress = Add<TMark>(this, 72, 513, 250, 9, 0x00956D4A);
    (void)progress;
    Add<TMark>(this, 495, 322, 12, 12, 0x00FF3E13);

    const char* editions[] = {"Tidemark",   "Ashen Vow", "Complete",           "Dawn of Velmar",
                              "Pale Reach", "Emberfall", "Lumen Generation 2", "OVRE"};
    const int tops[] = {100, 138, 176, 214, 251, 289, 326, 364};
    for (int i = 0; i < 8; ++i) {
      auto& row = Add<TPanel>(this, 53, tops[i], 337, 35);
      row.SetBevelOuter(bvNone);
      auto& picture = Add<TImage>(&row, 0, 0, 33, 33);
      picture.Picture().LoadFromMemory(EditionPng(i + 1));
      picture.SetProportional(true);
      picture.SetAlign(alLeft);
      picture.Margins().SetMargins(5, 1, 5, 1);
      picture.SetAlignWithMargins(true);
      auto& caption = Label(&row, 46, 3, editions[i], "Segoe UI", -21, clWindowText);
      caption.SetLayout(tlCenter);
      caption.SetAlign(alLeft);
      caption.SetAlignWithMargins(true);
      Add<TMark>(&row, 304, 6, 25, 25, i == 0 ? 0x0000FFFF : clWhite);
    }
    // A few more shapes and labels, as decoration, to make 60.
    for (int i = 0; i < 4; ++i) {
      auto& s = Add<TShape>(this, 380 + 20 * i, 520, 12, 12);
      s.SetShape(stCircle);
      s.Brush().SetColor(0x000091FF);
    }
    for (int i = 0; i < 3; ++i)
      Label(this, 72 + 90 * i, 540, "Edition", "Segoe UI", -11, clWhite);
    EndLoading();
  }

  int Count() const {
    int n = 0;
    std::function<void(const TWinControl&)> walk = [&](const TWinControl& w) {
      for (TControl* c : w.ControlList()) {
        ++n;
        if (auto* win = dynamic_cast<TWinControl*>(c)) walk(*win);
      }
    };
    walk(*this);
    return n;
  }

 private:
  template <class T, class... Args>
  T& Add(TWinControl* parent, int l, int t, int w, int h, Args&&... args) {
    T& c = Make<T>(std::forward<Args>(args)...);
    c.SetBounds(l, t, w, h);
    c.SetParent(parent);
    return c;
  }
  TLabel& Label(TWinControl* parent, int l, int t, const char* text, const char* font, int height,
                TColor color) {
    auto& label = Add<TLabel>(parent, l, t, 10, 10);
    label.SetTransparent(true);
    label.Font().SetName(font);
    label.Font().SetHeight(height);
    label.Font().SetColor(color);
    label.SetCaption(text);
    return label;
  }
};

struct Window {
  Window() : ui(vark::HeadlessBackend::Install()) {
    form = MakeForm<TLauncherLike>(nullptr);
    form->Show();
    Application->ProcessMessages();  // first paint: pictures decoded, fonts loaded
  }
  ~Window() { vark::HeadlessBackend::Install(); }
  vark::HeadlessBackend& ui;
  std::unique_ptr<TLauncherLike> form;
};

void BM_FullRepaint(benchmark::State& state) {
  Window w;
  TRect all = Rect(0, 0, w.form->Width(), w.form->Height());
  for (auto _ : state) {
    vark::ui::Painter::PaintRect(*w.form, all);
    benchmark::DoNotOptimize(w.form->Surface()->Bits());
  }
  state.counters["controls"] = w.form->Count();
}
BENCHMARK(BM_FullRepaint)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_FullRepaintAndPresent(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    w.form->Invalidate();
    vark::ui::Painter::UpdateWindow(*w.form);
  }
}
BENCHMARK(BM_FullRepaintAndPresent)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// One control's own repaint, as a button's fade step does it: a direct paint
// and the frame that presents it.
void BM_DirectPaintOfOneControl(benchmark::State& state) {
  Window w;
  TControl* launch = nullptr;
  for (TControl* c : w.form->ControlList()) {
    if (dynamic_cast<TFace*>(c) != nullptr) {
      launch = c;
      break;
    }
  }
  for (auto _ : state) {
    launch->Repaint();
  }
}
BENCHMARK(BM_DirectPaintOfOneControl)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
