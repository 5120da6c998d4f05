// The gallery's button section: every preset in each state, enabled and
// disabled; every image layout with every alignment; the launcher window's
// nine buttons; the ten steps of a fade; and live buttons to try.
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Gallery.h"
#include "app/Artwork.h"
#include "controls/Vark.Button.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngCodec.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "tests/controls/LauncherButtons.h"

namespace {

constexpr std::array<const char*, 15> kPresetNames = {
    "cbprCustom",     "cbprFluent",           "cbprFluentFlat", "cbprFluentRound", "cbprMetro",
    "cbprMetroLink",  "cbprMetroSimple",      "cbprMetroFade",  "cbprFluentGray",  "cbprClassic",
    "cbprNewClassic", "cbprGlobalApplyColor", "cbprWin32",      "cbprAeroLink",    "cbprLink"};
constexpr std::array<const char*, 3> kStateNames = {"mbsLeave", "mbsEnter", "mbsDown"};
constexpr std::array<const char*, 4> kLayoutNames = {"cpLeft", "cpRight", "cpTop", "cpBottom"};
constexpr std::array<const char*, 3> kAlignNames = {"taLeftJustify", "taRightJustify", "taCenter"};

TLabel& Caption(TForm& form, int left, int top, const std::string& text, TColor color) {
  TLabel& label = form.Make<TLabel>();
  label.SetParent(&form);
  label.SetTransparent(true);
  label.Font().SetColor(color);
  label.SetLeft(left);
  label.SetTop(top);
  label.SetCaption(text);
  return label;
}

CButton& AddButton(TWinControl& parent, int left, int top, int width, int height) {
  CButton& b = parent.Make<CButton>();
  b.SetBounds(left, top, width, height);
  b.SetParent(&parent);
  return b;
}

std::unique_ptr<TPicture> MapEditorPicture() {
  auto picture = std::make_unique<TPicture>();
  picture->LoadFromMemory(MapEditorPng());
  return picture;
}

// Every preset (rows) in each state, enabled then disabled (columns). With
// accent false the buttons take their colours from the blue preset colour.
void WritePresets(const std::filesystem::path& file, bool accent) {
  constexpr int kCellW = 130, kCellH = 48, kLeft = 150, kTop = 30;
  auto form = GalleryPage(kLeft + 6 * kCellW + 10, kTop + 15 * kCellH + 10, clBtnFace);
  for (int col = 0; col < 6; ++col) {
    const std::string head = std::string(kStateNames[col % 3]) + (col >= 3 ? " disabled" : "");
    Caption(*form, kLeft + col * kCellW, 8, head, clBlack);
  }
  for (int row = 0; row < 15; ++row) {
    Caption(*form, 8, kTop + row * kCellH + 14, kPresetNames[row], clBlack);
    for (int col = 0; col < 6; ++col) {
      CButton& b = AddButton(*form, kLeft + col * kCellW, kTop + row * kCellH, 110, 40);
      if (!accent) b.SetAccentColor(acNone);
      b.SetText(col % 3 == 0 ? "Button" : kStateNames[col % 3]);
      b.Preset().SetKind(static_cast<CButtonPreset>(row));
      b.SetEnabled(col < 3);
      b.SetState(static_cast<CButtonState>(col % 3));
    }
  }
  GalleryHeadless().advance(100);
  SaveFormPicture(*form, file);
}

// Each image layout (rows) with each alignment (columns), with a glyph and
// with a picture.
void WriteLayouts(const std::filesystem::path& file, bool picture) {
  constexpr int kCellW = 230, kCellH = 100, kLeft = 90, kTop = 28;
  auto form = GalleryPage(kLeft + 3 * kCellW, kTop + 4 * kCellH, clBtnFace);
  std::unique_ptr<TPicture> art = picture ? MapEditorPicture() : nullptr;
  for (int col = 0; col < 3; ++col)
    Caption(*form, kLeft + col * kCellW, 8, kAlignNames[col], clBlack);
  for (int row = 0; row < 4; ++row) {
    Caption(*form, 8, kTop + row * kCellH + 36, kLayoutNames[row], clBlack);
    for (int col = 0; col < 3; ++col) {
      CButton& b = AddButton(*form, kLeft + col * kCellW, kTop + row * kCellH, 210, 86);
      b.SetAccentColor(acNone);
      b.SetText("Caption");
      b.SetIcon(cicArrow);
      if (art) b.SetBitmap(art.get());
      b.SetImageLayout(static_cast<CPosition>(row));
      b.SetAlign(static_cast<TAlignment>(col));
    }
  }
  GalleryHeadless().advance(50);
  SaveFormPicture(*form, file);
}

// The launcher window's nine buttons at their places, sizes, fonts and colours.
// hover: the launch button hovered and the first list button pressed.
void WriteLauncher(const std::filesystem::path& file, bool hover) {
  auto form = GalleryPage(760, 530, vark::test::kLauncherButtonColor);
  std::unique_ptr<TPicture> art = MapEditorPicture();
  std::array<CButton*, 9> buttons{};
  for (size_t i = 0; i < buttons.size(); ++i) {
    const vark::test::LauncherButton& params = vark::test::kLauncherButtons[i];
    CButton& b = AddButton(*form, params.left, params.top, params.width, params.height);
    vark::test::ApplyLauncherLook(b, params);
    if (std::string(params.name) == "CButton4") {
      b.SetBitmap(art.get());
      b.SetFMBTColor(clBlack);
      b.SetFCustColor(true);
    }
    Caption(*form, params.left, params.top - 16, params.name, clWhite);
    buttons[i] = &b;
  }
  GalleryHeadless().advance(50);
  if (hover) {
    buttons[0]->SetState(mbsEnter);
    buttons[5]->SetState(mbsDown);
    GalleryHeadless().advance(50);
  }
  SaveFormPicture(*form, file);
}

// The ten paints of a fade of the launch button, left to right: from normal to
// hovered, then from hovered to pressed.
void WriteFade(const std::filesystem::path& file) {
  const vark::test::LauncherButton& params = vark::test::kLauncherButtons[0];
  auto form = GalleryPage(params.width + 20, params.height + 20, vark::test::kLauncherButtonColor);
  CButton& b = AddButton(*form, 10, 10, params.width, params.height);
  vark::test::ApplyLauncherLook(b, params);
  b.SetBounds(10, 10, params.width, params.height);
  GalleryHeadless().advance(50);
  constexpr int kGap = 4;
  TBitmap strip(10 * (params.width + kGap), 2 * (params.height + kGap));
  strip.Canvas().Brush().SetColor(clWhite);
  strip.Canvas().FillRect(Rect(0, 0, strip.Width(), strip.Height()));
  for (int row = 0; row < 2; ++row) {
    b.SetState(row == 0 ? mbsEnter : mbsDown);
    for (int step = 0; step < 10; ++step) {
      GalleryHeadless().advance(1);
      const TBitmap& shown = GalleryHeadless().surface(*form);
      const TRect from = Bounds(10, 10, params.width, params.height);
      const TRect to = Bounds(step * (params.width + kGap), row * (params.height + kGap),
                              params.width, params.height);
      strip.Canvas().CopyRect(to, const_cast<TBitmap&>(shown).Canvas(), from);
    }
  }
  vark::SavePng(strip, Utf8Of(file));
}

void WritePictures(const std::filesystem::path& dir) {
  WritePresets(dir / "presets.png", false);
  WritePresets(dir / "presets-accent.png", true);
  WriteLayouts(dir / "layouts.png", false);
  WriteLayouts(dir / "layouts-picture.png", true);
  WriteLauncher(dir / "launcher.png", false);
  WriteLauncher(dir / "launcher-hover.png", true);
  WriteFade(dir / "fade.png");
}

// Live buttons on the launcher's colour, top to bottom: the launcher's launch
// button (a click prints "button clicked: Launch"), a few presets, the press
// animations, a disabled button and one with a picture.
void PopulateLive(TWinControl& parent) {
  TPanel& area = parent.Make<TPanel>();
  area.SetParent(&parent);
  area.SetBevelOuter(bvNone);
  area.SetShowCaption(false);
  area.SetParentBackground(false);
  area.SetColor(vark::test::kLauncherButtonColor);
  area.SetBounds(0, 0, parent.ClientWidth(), parent.ClientHeight());
  auto& launch = AddButton(area, 10, 10, 250, 41);
  vark::test::ApplyLauncherLook(launch, vark::test::kLauncherButtons[0]);
  launch.SetBounds(10, 10, 250, 41);
  launch.OnClick = [](TObject*) {
    std::printf("button clicked: Launch\n");
    std::fflush(stdout);
  };

  struct Row {
    CButtonPreset kind;
    const char* text;
  };
  const Row rows[] = {{cbprFluent, "Fluent"},
                      {cbprFluentRound, "Fluent round"},
                      {cbprMetro, "Metro"},
                      {cbprClassic, "Classic"},
                      {cbprWin32, "Win32"},
                      {cbprLink, "Link"},
                      {cbprFluentGray, "Fluent gray (resizes)"}};
  int top = 60;
  for (const Row& row : rows) {
    auto& b = AddButton(area, 10, top, 200, 40);
    b.SetAccentColor(acNone);
    b.Preset().SetKind(row.kind);
    b.SetText(row.text);
    top += 48;
  }
  auto& pressed = AddButton(area, 10, top, 200, 40);
  pressed.SetText("Press animation (image)");
  pressed.Animations().SetPressAnimation(true);
  pressed.Animations().SetPADelay(15);
  top += 48;
  auto& disabled = AddButton(area, 10, top, 200, 40);
  disabled.SetText("Disabled");
  disabled.SetEnabled(false);
  top += 48;
  auto& picture = AddButton(area, 10, top, 242, 33);
  vark::test::ApplyLauncherLook(picture, vark::test::kLauncherButtons[3]);
  picture.SetBounds(10, top, 242, 33);
  std::unique_ptr<TPicture> art = MapEditorPicture();
  picture.SetBitmap(art.get());
}

const GalleryRegistration kButtons{{"buttons", WritePictures, PopulateLive}};

}  // namespace
