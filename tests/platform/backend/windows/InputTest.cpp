// Input through the Win32 backend: mouse and key messages as the toolkit's
// events, typed characters as UTF-8, the wheel, the pointer leaving, capture,
// the caption band and the cursor.
#include <string>
#include <vector>

#include "platform/ui/Keys.h"
#include "platform/ui/Messages.h"
#include "tests/platform/backend/windows/Win32TestSupport.h"

namespace {

using vark::EventKind;
using vark::test::Pointer;
using vark::test::Win32Test;

void Key(WORD key, bool up = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

TEST_F(Win32Test, MouseMessagesBecomeEventsInWindowPixels) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  struct Case {
    UINT message;
    WPARAM keys;
    int x, y;
    EventKind kind;
    TMouseButton button;
    TShiftState shift;
  };
  const Case cases[] = {
      {WM_MOUSEMOVE, MK_LBUTTON, 10, 20, EventKind::MouseMove, mbLeft, {ssLeft}},
      {WM_LBUTTONDOWN,
       MK_LBUTTON | MK_SHIFT,
       30,
       40,
       EventKind::MouseDown,
       mbLeft,
       {ssLeft, ssShift}},
      {WM_RBUTTONDOWN,
       MK_RBUTTON | MK_CONTROL,
       31,
       41,
       EventKind::MouseDown,
       mbRight,
       {ssRight, ssCtrl}},
      {WM_MBUTTONUP, 0, 32, 42, EventKind::MouseUp, mbMiddle, {}},
      // Captured, the pointer reports from beyond the window's left edge.
      {WM_LBUTTONUP, 0, -5, 7, EventKind::MouseUp, mbLeft, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    PostMessageW(Hwnd(window), c.message, c.keys, MAKELPARAM(c.x, c.y));
    const vark::Event e = Next(c.kind);
    EXPECT_EQ(e.window, window);
    EXPECT_EQ(TPoint(e.x, e.y), TPoint(c.x, c.y));
    if (c.kind != EventKind::MouseMove) {
      EXPECT_EQ(e.button, c.button);
    }
    EXPECT_EQ(e.shift, c.shift);
  }
  // The wheel counts whole notches; a fine wheel's parts add up to them.
  for (int delta : {2 * WHEEL_DELTA, -WHEEL_DELTA / 2, -WHEEL_DELTA / 2}) {
    const auto wheel = static_cast<WPARAM>(static_cast<WORD>(delta)) << 16;
    PostMessageW(Hwnd(window), WM_MOUSEWHEEL, wheel, MAKELPARAM(150, 160));
  }
  std::vector<int> notches;
  for (const vark::Event& e : Drain()) {
    if (e.kind == EventKind::MouseWheel) notches.push_back(e.wheel);
  }
  EXPECT_EQ(notches, (std::vector<int>{2, -1}));
}

TEST_F(Win32Test, KeysAreVirtualKeysAndCharactersComeAsUtf8) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  // Typed for real: Shift+Tab is the toolkit's backwards Tab, Return and
  // Escape are keys that type nothing of their own (the toolkit types them).
  Key(VK_SHIFT);
  Key(VK_TAB);
  Key(VK_TAB, true);
  Key(VK_SHIFT, true);
  Key(VK_RETURN);
  Key(VK_RETURN, true);
  Key(VK_ESCAPE);
  Key(VK_ESCAPE, true);
  Key('A');
  Key('A', true);
  std::vector<std::string> seen;
  for (const vark::Event& e : Drain()) {
    if (e.kind == EventKind::KeyDown) {
      seen.push_back("down " + std::to_string(e.key) + (e.shift.Contains(ssShift) ? " shift" : ""));
    }
    if (e.kind == EventKind::TextInput) seen.push_back("text " + e.text);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"down 16 shift", "down 9 shift", "down 13", "down 27",
                                            "down 65", "text a"}));
  // Characters as the system sends them: outside the basic plane in two
  // halves; a lone half and control characters type nothing.
  for (wchar_t unit : {L'\xE9', L'\xD83D', L'\xDE00', L'\xDE00', L'\r', L'\x7F'})
    PostMessageW(Hwnd(window), WM_CHAR, unit, 0);
  std::string typed;
  for (const vark::Event& e : Drain()) {
    if (e.kind == EventKind::TextInput) typed += e.text + "|";
  }
  EXPECT_EQ(typed, "\xC3\xA9|\xF0\x9F\x98\x80|");
}

TEST_F(Win32Test, ThePointerIsCapturedLeavesAndShowsTheToolkitsCursor) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  Pointer({150, 160});
  const vark::Event move = Next(EventKind::MouseMove);
  EXPECT_EQ(TPoint(move.x, move.y), TPoint(50, 60));
  backend.SetCursor(crHandPoint);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND

  Pointer({150, 160}, MOUSEEVENTF_LEFTDOWN);
  Next(EventKind::MouseDown);
  backend.SetMouseCapture(true);
  EXPECT_EQ(GetCapture(), Hwnd(window));
  Pointer({60, 90});  // outside, still ours
  const vark::Event outside = Next(EventKind::MouseMove);
  EXPECT_EQ(TPoint(outside.x, outside.y), TPoint(-40, -10));
  Pointer({60, 90}, MOUSEEVENTF_LEFTUP);
  Next(EventKind::MouseUp);
  backend.SetMouseCapture(false);
  EXPECT_EQ(GetCapture(), nullptr);
  Next(EventKind::MouseLeave);
}

TEST_F(Win32Test, TheCaptionBandIsTheSystemsCaption) {
  const vark::WindowHandle window = Shown(Bounds(100, 100, 300, 200));
  backend.SetDragArea(window, [](TPoint p) { return p.Y < 26 && p.X < 250; });
  auto hit = [&](int x, int y) {
    return SendMessageW(Hwnd(window), WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y));
  };
  EXPECT_EQ(hit(10, 10), HTCAPTION);
  EXPECT_EQ(hit(260, 10), HTCLIENT);  // a button on the band
  EXPECT_EQ(hit(10, 30), HTCLIENT);
}

}  // namespace
