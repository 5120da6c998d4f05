// The SDL backend's gamepads, driven by SDL's virtual joystick in this
// process (no pad device exists on a build machine), on the real main window
// under Xvfb (tests/e2e/gamepad.sh). The virtual pad is an Xbox-like game
// controller, for which SDL makes its own layout: its buttons and axes are
// numbered as SDL's game controller buttons and axes. Everything runs on the
// real clock through the real loop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/CreateBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/PadInput.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"
#include "tests/app/LaunchActionsTestSupport.h"
#include "tests/common/linux/VirtualXboxPad.h"

namespace {

using vark::test::LaunchActions;
using vark::test::Record;

// A pad SDL sees as a connected Xbox controller.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc = VirtualXboxPadDesc();
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    if (index_ >= 0) joystick_ = SDL_JoystickOpen(index_);
  }
  ~VirtualPad() { Unplug(); }
  bool Plugged() const { return joystick_ != nullptr; }
  void Set(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void Stick(int x, int y) {
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
  }
  void Unplug() {
    if (joystick_ == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }

 private:
  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

class SdlGamepad : public LaunchActions {
 protected:
  void SetUp() override {
    LaunchActions::SetUp();
    Application->InstallBackend(vark::CreateNativeBackend());
    ASSERT_STREQ(Application->Backend().Name(), "sdl");
    Open();
    ASSERT_TRUE(RunUntil([this] { return form->Active(); })) << "the window never became active";
    pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->Plugged()) << SDL_GetError();
    // Found and read at rest: what a pad holds at its first reading presses
    // nothing.
    RunFor(100);
  }
  void TearDown() override {
    pad.reset();
    form.reset();
    // The fixture's own clean-up expects its headless backend.
    ui = &vark::HeadlessBackend::Install();
    LaunchActions::TearDown();
  }

  // Runs the loop until done() (true) or five seconds pass (false).
  static bool RunUntil(const std::function<bool()>& done, int ms = 5000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      Application->HandleMessage();
    }
    return true;
  }
  // Runs the loop for ms milliseconds.
  static void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
  }
  // Presses and releases a button, a little while apart as a hand does.
  void Press(SDL_GameControllerButton button) {
    pad->Set(button, true);
    RunFor(60);
    pad->Set(button, false);
    RunFor(60);
  }

  std::unique_ptr<VirtualPad> pad;
};

TEST_F(SdlGamepad, DownTwiceSelectsTheThirdEdition) {
  Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  EXPECT_EQ(selectedindex, 3);
  EXPECT_EQ(StarredRows(), std::vector<int>{3});
  EXPECT_TRUE(form->EditionListFocused());
  // The indicator slides to the third row and rests two pixels short of it.
  EXPECT_TRUE(RunUntil([this] { return !form->ShapeMove->Enabled(); }));
  EXPECT_EQ(form->Indicator->Top(), gotopos - 2);
  EXPECT_EQ(gotopos, 106 + 2 * 38);  // the first row's place and two rows below it
}

TEST_F(SdlGamepad, AOnLaunchStartsTheGame) {
  PutProgram("Valdor III Tidemark/vtide HD.exe");
  form->CButton1->SetFocus();
  Press(SDL_CONTROLLER_BUTTON_A);
  Record r = OnlyRecord();
  EXPECT_EQ(r.name, "vtide HD.exe");
  EXPECT_EQ(r.cwd, EditionFolder("Valdor III Tidemark"));
}

TEST_F(SdlGamepad, BClosesExecutableNotFound) {
  // The dialog runs a loop of its own inside the press of Start: a timer,
  // which ticks there as well, answers it with B.
  std::string seen;
  int step = 0;
  TTimer watcher(nullptr);
  watcher.SetInterval(50);
  watcher.OnTimer = [&](TObject*) {
    TCustomForm* dialog = Application->ModalForm();
    if (dialog == nullptr) return;
    if (step == 0) seen = dialog->Caption();
    pad->Set(SDL_CONTROLLER_BUTTON_B, ++step % 2 == 1);
  };
  pad->Set(SDL_CONTROLLER_BUTTON_START, true);
  ASSERT_TRUE(RunUntil([&] { return !seen.empty() && Application->ModalForm() == nullptr; }))
      << "the dialog never showed or B never closed it";
  pad->Set(SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_EQ(seen, "Executable not found");
  EXPECT_LE(step, 2) << "B had to be pressed more than once";
  EXPECT_TRUE(form->Visible());
}

TEST_F(SdlGamepad, ADriftingStickInsideTheDeadZoneChangesNothing) {
  form->CButton1->SetFocus();
  for (auto [x, y] : {std::pair{3000, 9000}, {-9000, 10500}, {10000, -10000}, {0, 2000}}) {
    pad->Stick(x, y);
    RunFor(150);
  }
  EXPECT_EQ(selectedindex, 1);
  EXPECT_EQ(form->ActiveControl(), form->CButton1);
  // The same stick pushed past half its travel moves the selection.
  pad->Stick(0, 20000);
  EXPECT_TRUE(RunUntil([] { return selectedindex == 2; }));
  pad->Stick(0, 0);
}

TEST_F(SdlGamepad, UnpluggingMidHoldStopsTheRepeat) {
  pad->Set(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  ASSERT_TRUE(RunUntil([] { return selectedindex >= 3; })) << "the held button did not repeat";
  pad->Unplug();
  RunFor(100);
  const int unplugged = selectedindex;
  RunFor(vark::ui::PadInput::kRepeatDelayMs + 3 * vark::ui::PadInput::kRepeatIntervalMs);
  EXPECT_EQ(selectedindex, unplugged);
  EXPECT_LT(selectedindex, 8);
}

}  // namespace
