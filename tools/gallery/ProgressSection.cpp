// The gallery's progress-bar sections. "progress" writes the pictures: the
// launcher's bar gliding from 0 to 100 as a strip of frames taken every 10
// ticks, and every preset as frames 5 ticks apart, without and with its
// caption; live, it shows the launcher's bar on its dark band, gliding again
// every few seconds (the end-to-end test watches its highlight move and the
// processor time it costs). "progress-presets" shows every preset live.
#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "Gallery.h"
#include "controls/Vark.Progress.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PngCodec.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Timer.h"

namespace {

constexpr TColor kDark = 0x00212121;

struct PresetInfo {
  CProgressPreset preset;
  const char* name;
};
constexpr std::array<PresetInfo, 7> kPresets{{{cprStandard, "standard"},
                                              {cprError, "error"},
                                              {cprBlue, "blue"},
                                              {cprMarble, "marble"},
                                              {cprModern, "modern"},
                                              {cprBeacon, "beacon"},
                                              {cprWindows, "windows"}}};

// The launcher's bar: 250 × 9 on the dark window, following the accent colour,
// its band 100 pixels either side, square corners.
CProgress& LauncherBar(TWinControl& parent, TComponent& owner, int left, int top) {
  CProgress& bar = owner.Make<CProgress>();
  bar.SetBounds(left, top, 250, 9);
  bar.SetParent(&parent);
  bar.SetAccentColor(acAccentAdjust);
  bar.ProgressbarOptions().SetBorderRadius(0);
  bar.ProgressbarOptions().SetBorderColor(kDark);
  bar.Colors().SetForeground(0x00956D4A);
  bar.Colors().SetBackground(kDark);
  bar.Colors().SetFormSyncedColor(true);
  return bar;
}

// The launch: a jump to 0, then a glide to 100 one step per tick.
void Launch(CProgress& bar) {
  bar.SetVisible(true);
  bar.Animations().SetAnimations(false);
  bar.SetPosition(0);
  bar.Animations().SetAnimations(true);
  bar.SetPosition(100);
}

CProgress& PresetBar(TWinControl& parent, TComponent& owner, int left, int top,
                     CProgressPreset preset, bool caption) {
  CProgress& bar = owner.Make<CProgress>();
  bar.SetBounds(left, top, 250, 20);
  bar.SetParent(&parent);
  bar.SetPresets(preset);
  bar.SetValue(60, true);
  bar.TextOverlay().SetEnableSText(caption);
  return bar;
}

// Copies the bar as the window shows it into the strip at (x, y).
void Capture(TForm& form, const CProgress& bar, TBitmap& strip, int x, int y) {
  const TBitmap& shown = GalleryHeadless().surface(form);
  const TPoint origin = form.ClientOffset();
  for (int row = 0; row < bar.Height(); ++row) {
    for (int col = 0; col < bar.Width(); ++col) {
      strip.ScanLine(y + row)[x + col] =
          shown.PixelAt(origin.X + bar.Left() + col, origin.Y + bar.Top() + row);
    }
  }
}

void FillStrip(TBitmap& strip, int width, int height, TColor color) {
  strip.SetSize(width, height);
  strip.Canvas().Brush().SetColor(color);
  strip.Canvas().FillRect(Rect(0, 0, width, height));
}

void WriteLauncherGlide(const std::filesystem::path& file) {
  constexpr int kFrames = 12, kGap = 6, kMargin = 8;
  auto form = GalleryPage(270, 30, kDark);
  CProgress& bar = LauncherBar(*form, *form, 10, 10);
  GalleryHeadless().surface(*form);
  TBitmap strip;
  FillStrip(strip, 250 + 2 * kMargin, kMargin * 2 + kFrames * (9 + kGap) - kGap, kDark);
  Launch(bar);
  for (int frame = 0; frame < kFrames; ++frame) {
    Capture(*form, bar, strip, kMargin, kMargin + frame * (9 + kGap));
    GalleryHeadless().advance(10);
  }
  vark::SavePng(strip, Utf8Of(file));
}

// A preset without and with its caption (columns), 8 frames (rows).
void WritePreset(const std::filesystem::path& file, const PresetInfo& info) {
  constexpr int kFrames = 8, kGap = 8, kMargin = 10;
  auto form = GalleryPage(540, 40, clBtnFace);
  CProgress& plain = PresetBar(*form, *form, 10, 10, info.preset, false);
  CProgress& captioned = PresetBar(*form, *form, 280, 10, info.preset, true);
  GalleryHeadless().surface(*form);
  TBitmap strip;
  FillStrip(strip, 2 * 250 + kGap + 2 * kMargin, 2 * kMargin + kFrames * (20 + kGap) - kGap,
            clBtnFace);
  for (int frame = 0; frame < kFrames; ++frame) {
    const int y = kMargin + frame * (20 + kGap);
    Capture(*form, plain, strip, kMargin, y);
    Capture(*form, captioned, strip, kMargin + 250 + kGap, y);
    GalleryHeadless().advance(5);
  }
  vark::SavePng(strip, Utf8Of(file));
}

void WritePictures(const std::filesystem::path& dir) {
  WriteLauncherGlide(dir / "launcher-glide.png");
  for (const PresetInfo& info : kPresets)
    WritePreset(dir / (std::string("preset-") + info.name + ".png"), info);
}

void PopulateLive(TWinControl& area) {
  TComponent& owner = *area.Owner();
  auto label = [&](int top, const std::string& text) {
    TLabel& l = owner.Make<TLabel>();
    l.SetParent(&area);
    l.SetBounds(16, top, 298, 17);
    l.SetCaption(text);
  };
  label(14, "The launcher's bar");
  TPanel& band = owner.Make<TPanel>();
  band.SetParent(&area);
  band.SetBevelOuter(bvNone);
  band.SetShowCaption(false);
  band.SetParentBackground(false);
  band.SetColor(kDark);
  band.SetBounds(16, 36, 298, 40);
  CProgress& bar = LauncherBar(band, owner, 24, 16);
  Launch(bar);
  // Launch again every four seconds, as a user pressing the button would.
  TTimer& again = owner.Make<TTimer>();
  again.SetInterval(4000);
  again.OnTimer = [&bar](TObject*) { Launch(bar); };
}

void PopulatePresets(TWinControl& area) {
  TComponent& owner = *area.Owner();
  int top = 16;
  for (const PresetInfo& info : kPresets) {
    TLabel& l = owner.Make<TLabel>();
    l.SetParent(&area);
    l.SetBounds(16, top, 298, 17);
    l.SetCaption(info.name);
    PresetBar(area, owner, 16, top + 20, info.preset, false);
    PresetBar(area, owner, 16, top + 46, info.preset, true);
    top += 82;
  }
}

const GalleryRegistration kProgressSection{{"progress", WritePictures, PopulateLive}};
const GalleryRegistration kPresetSection{{"progress-presets", nullptr, PopulatePresets}};

}  // namespace
