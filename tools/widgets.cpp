// widgets: a window with each standard widget of the toolkit, for a person to
// try (and for the end-to-end test, which clicks the check box and drags the
// window by its title bar).
//
//   build/tools/widgets            opens the gallery on the desktop
//   VARK_BACKEND=headless build/tools/widgets --png OUT.png
//                                  draws it without a display and writes a picture
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/CreateBackend.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/os/CommandLine.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"

namespace {

// The places the end-to-end test relies on (client coordinates).
constexpr TRect kCheckBox = {16, 84, 16 + 200, 84 + 17};

class TGallery : public TForm {
 public:
  explicit TGallery(TComponent* owner) : TForm(owner) {
    BeginLoading();
    SetCaption("Widgets");
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu, biMinimize});
    SetPosition(poScreenCenter);
    SetClientWidth(480);
    SetClientHeight(300);
    SetColor(0x00F3F3F3);
    Font().SetName("Segoe UI");
    Font().SetHeight(-12);
    TCustomTitleBar& tb = CustomTitleBar();
    tb.SetEnabled(true);
    tb.SetHeight(30);
    tb.SetCaptionAlignment(taCenter);
    tb.SetSystemColors(false);
    tb.SetSystemButtons(false);
    tb.SetBackgroundColor(0x00212121);
    tb.SetInactiveBackgroundColor(0x00212121);
    tb.SetForegroundColor(clWhite);
    tb.SetInactiveForegroundColor(0x00999999);

    // A close mark in the band, with the hand cursor.
    auto& close = Add<TLabel>(480 - 26, 6, 20, 20);
    close.SetCaption("\xE2\x9C\x95");  // U+2715
    close.Font().SetColor(clWhite);
    close.Font().SetHeight(-14);
    close.SetTransparent(true);
    close.SetCursor(crHandPoint);
    close.OnClick = [this](TObject*) { Close(); };

    auto& heading = Add<TLabel>(16, 44, 200, 24);
    heading.SetCaption("Standard widgets");
    heading.Font().SetHeight(-18);
    heading.SetTransparent(true);

    check = &Add<TCheckBox>(kCheckBox.Left, kCheckBox.Top, kCheckBox.Width(), kCheckBox.Height());
    check->SetName("Tick");
    check->SetCaption("Tick me");
    check->SetTabOrder(0);

    auto& left = Add<TCheckBox>(16, 110, 200, 17);
    left.SetCaption("Caption on the left");
    left.SetAlignment(taLeftJustify);

    auto& button = Add<TButton>(16, 140, 88, 26);
    button.SetCaption("Click me");
    auto& count = Add<TLabel>(116, 145, 150, 17);
    count.SetCaption("Not clicked yet");
    count.SetTransparent(true);
    button.OnClick = [this, &count](TObject*) {
      ++clicks_;
      count.SetCaption("Clicked " + std::to_string(clicks_) + (clicks_ == 1 ? " time" : " times"));
    };

    auto& message = Add<TButton>(16, 176, 120, 26);
    message.SetCaption("Show a message");
    message.OnClick = [](TObject*) {
      Application->MessageBox("A message box from the toolkit.", "Widgets", MB_ICONINFORMATION);
    };

    auto& wrapped = Add<TLabel>(16, 214, 220, 60);
    wrapped.SetWordWrap(true);
    wrapped.SetTransparent(true);
    wrapped.SetCaption(
        "A word-wrapped label: its lines break at spaces so that they fit its width.");

    auto& panel = Add<TPanel>(260, 44, 200, 60);
    panel.SetParentBackground(false);
    panel.SetBevelOuter(bvNone);
    panel.SetColor(0x00FFB051);
    panel.SetCaption("A panel without a bevel");

    auto& raised = Add<TPanel>(260, 114, 200, 40);
    raised.SetParentBackground(false);
    raised.SetCaption("A raised panel");

    // A rounded bar that slides on a timer, as an indicator does.
    bar = &Add<TShape>(262, 170, 6, 24);
    bar->SetShape(stRoundRect);
    bar->Brush().SetColor(clHighlight);
    bar->Pen().SetStyle(psClear);
    auto& circle = Add<TShape>(290, 170, 40, 40);
    circle.SetShape(stCircle);
    circle.Brush().SetColor(0x000091FF);
    circle.Pen().SetColor(0x00018699);
    circle.Pen().SetWidth(2);

    auto& picture = Add<TImage>(350, 170, 100, 100);
    picture.SetProportional(true);
    picture.SetStretch(true);
    picture.Picture().SetGraphic(MakeEmblem());

    // The slide runs while "Slide" is ticked, so an idle gallery costs nothing.
    auto& animate = Add<TCheckBox>(260, 276, 100, 17);
    animate.SetCaption("Slide");
    slide = &Make<TTimer>();
    slide->SetEnabled(false);
    slide->SetInterval(16);
    animate.OnClick = [this, &animate](TObject*) { slide->SetEnabled(animate.Checked()); };
    slide->OnTimer = [this](TObject*) {
      int top = bar->Top() + step_;
      if (top < 170 || top > 250) step_ = -step_;
      bar->SetTop(bar->Top() + step_);
    };
    EndLoading();
  }

  TCheckBox* check = nullptr;
  TShape* bar = nullptr;
  TTimer* slide = nullptr;

 private:
  template <class T>
  T& Add(int l, int t, int w, int h) {
    T& c = Make<T>();
    c.SetBounds(l, t, w, h);
    c.SetParent(this);
    return c;
  }

  // A round emblem with soft edges: a picture with alpha, scaled by the image.
  static std::unique_ptr<TBitmap> MakeEmblem() {
    constexpr int n = 64;
    auto bitmap = std::make_unique<TBitmap>(n, n);
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetAlphaFormat(afPremultiplied);
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        double dx = x + 0.5 - n / 2.0, dy = y + 0.5 - n / 2.0;
        double d = dx * dx + dy * dy;
        double r2 = (n / 2.0 - 1) * (n / 2.0 - 1);
        int alpha = d > r2          ? 0
                    : d > r2 * 0.85 ? static_cast<int>(255 * (r2 - d) / (r2 * 0.15))
                                    : 255;
        int red = 40 + 3 * x, green = 120 + y, blue = 215 - 2 * y;
        auto pm = [alpha](int c) { return static_cast<uint32_t>(c * alpha / 255); };
        bitmap->ScanLine(y)[x] =
            (static_cast<uint32_t>(alpha) << 24) | (pm(red) << 16) | (pm(green) << 8) | pm(blue);
      }
    }
    return bitmap;
  }

  int clicks_ = 0;
  int step_ = 2;
};

}  // namespace

int main(int argc, char** argv) {
  std::string png;
  const std::vector<std::string> args = vark::os::ProgramArguments(argc, argv);
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--png" && i + 1 < args.size()) png = args[++i];
  }
  try {
    Application->Initialize(vark::CreateBackend(), vark::CreateMemoryBackend);
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle("Widgets");
    TGallery* gallery = nullptr;
    Application->CreateForm(gallery);
    if (!png.empty()) {
      auto* headless = dynamic_cast<vark::HeadlessBackend*>(&Application->Backend());
      if (headless == nullptr) {
        std::fprintf(stderr, "widgets: --png needs VARK_BACKEND=headless\n");
        return 2;
      }
      gallery->Show();
      headless->SaveToPNG(*gallery, png);
      return 0;
    }
    Application->Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "widgets: %s\n", e.what());
    return 1;
  }
  return 0;
}
