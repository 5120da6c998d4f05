// The nine buttons of the launcher's main window as the window sets them up:
// the values they share and the ones that differ (place, size, caption, icon,
// font, border width). Tests, the gallery and the benchmark build their
// buttons from this table.
#pragma once

#include <array>
#include <string>

#include "controls/Vark.Button.h"

namespace vark::test {

struct LauncherButton {
  const char* name;
  int left, top, width, height;
  const char* text;
  CButtonIcon icon;
  const char* fontName;
  int fontHeight;  // negative: the em height in pixels
  bool bold;
  int penWidth;
};

inline constexpr std::array<LauncherButton, 9> kLauncherButtons = {{
    {"CButton1", 72, 472, 250, 41, "Launch", cicArrow, "Segoe UI Semibold", -16, false, 4},
    {"CButton2", 328, 472, 41, 41, "\uE713", cicNone, "Segoe Fluent Icons", -17, true, 4},
    {"CButton3", 495, 137, 242, 32, "Open valdor folder", cicSearch, "Segoe UI Semibold", -15,
     false, 3},
    {"CButton4", 495, 182, 242, 33, "Start map editor", cicSearch, "Segoe UI Semibold", -15, false,
     3},
    {"BtLauncher", 495, 363, 242, 32, "Open launcher if avalabile", cicTrueYes, "Segoe UI Semibold",
     -15, false, 3},
    {"CButton5", 495, 411, 131, 28, "Folders", cicEnter, "Segoe UI Semibold", -13, false, 3},
    {"CButton6", 632, 411, 105, 28, "Exes", cicEnter, "Segoe UI Semibold", -13, false, 3},
    {"CButton7", 495, 445, 115, 28, "Launchers", cicEnter, "Segoe UI Semibold", -13, false, 3},
    {"CButton8", 616, 445, 121, 28, "Map exes", cicEnter, "Segoe UI Semibold", -13, false, 3},
}};

// The launcher's window colour behind its buttons.
inline constexpr TColor kLauncherButtonColor = 0x00212121;

// Sets a button up as the launcher's window does, in the order a stored form
// sets its properties (the accent colour is off before the colours are set).
inline void ApplyLauncherLook(CButton& b, const LauncherButton& params) {
  b.SetBounds(params.left, params.top, params.width, params.height);
  b.SetColor(kLauncherButtonColor);
  b.SetParentColor(false);
  b.SetSegoeIcon("\uE734");
  b.SetIcon(params.icon);
  b.SetAccentColor(acNone);
  CButtonGradientSet& g = *b.GradientOptions();
  g.SetEnabled(true);
  g.SetEnter(0x0003E2FF);
  g.SetLeave(0x000091FF);
  g.SetDown(0x00018699);
  TFont font;
  font.SetCharset(DEFAULT_CHARSET);
  font.SetColor(0x00D7821A);
  font.SetName(params.fontName);
  font.SetHeight(params.fontHeight);
  font.SetStyle(params.bold ? TFontStyles{fsBold} : TFontStyles{});
  b.SetFont(font);
  TFont sub;
  sub.SetCharset(DEFAULT_CHARSET);
  sub.SetColor(0x00D7821A);
  sub.SetName("Segoe UI");
  sub.SetHeight(-13);
  b.SetSubFont(sub);
  b.SetText(params.text);
  b.SetSubText("Hello World!");
  b.SetTransparent(false);
  b.SetState(mbsLeave);
  CButtonColors& c = b.Colors();
  c.SetEnter(0x004080FF);
  c.SetLeave(0x00014F74);
  c.SetDown(0x00013D7E);
  c.SetBLine(0x007C5431);
  CButtonPresets& p = b.Preset();
  p.SetColor(clBlue);
  p.SetKind(cbprCustom);
  b.UnderLine().SetUline(false);
  b.UnderLine().SetULRound(false);
  b.UnderLine().SetUlThick(6);
  CButtonColors& t = b.TextColors();
  t.SetEnter(clWhite);
  t.SetLeave(clWhite);
  t.SetDown(clWhite);
  t.SetBLine(clBlack);
  CButtonPen& pen = b.Pen();
  pen.SetColor(0x00018699);
  pen.SetWidth(params.penWidth);
  pen.SetAltHoverColor(clBlack);
  pen.SetAltPressColor(clBlack);
  CButtonAnimations& a = b.Animations();
  a.SetPressAnimation(false);
  a.SetPADelay(2);
  a.SetPAShrinkAmount(6);
  a.SetPAAnimateEngine(cbneAtDraw);
  a.SetFadeAnimation(true);
  a.SetFASpeed(10);
}

}  // namespace vark::test
