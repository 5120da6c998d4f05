// The toolkit on the real Windows backend, for what only real windows show:
// the back buffer on the screen, the system's input reaching the controls,
// the timers' floor, a modal form holding its owner, and timers ticking while
// the system moves a window; what the system may do to a window and to a
// press in progress, and the errors it makes wait.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/backend/Backend.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Timer.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/platform/ui/windows/RealDesktop.h"

namespace {

using vark::test::Log;
using vark::test::TProbe;
namespace desktop = vark::test::desktop;
using desktop::Press;

class RealWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->InstallBackend(desktop::RealBackend());
    // Keeps the loop turning while a test waits for the system.
    heartbeat_ = std::make_unique<TTimer>(nullptr);
    heartbeat_->SetInterval(20);
    heartbeat_->OnTimer = [](TObject*) {};
  }
  void TearDown() override {
    heartbeat_.reset();
    Application->OnException = nullptr;
    vark::HeadlessBackend::Install();  // the real windows go with the old backend
  }

  // A shown form without a frame at (left, top), its client the whole window.
  std::unique_ptr<TForm> Shown(int left, int top, int width, int height) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetPosition(poDesigned);
    form->SetBounds(left, top, width, height);
    form->Show();
    Application->ProcessMessages();
    return form;
  }
  // Runs the loop until done, or until a patience that only a fault uses up.
  static bool RunUntil(const std::function<bool()>& done) {
    const uint64_t end = Application->Backend().Now() + 5000;
    while (!done() && Application->Backend().Now() < end)
      Application->HandleMessage();
    return done();
  }

 private:
  std::unique_ptr<TTimer> heartbeat_;
};

TEST_F(RealWindows, TheBackBufferIsOnTheScreenRowForRow) {
  auto form = Shown(100, 100, 120, 80);
  form->SetColor(clRed);
  auto& lower = form->Make<TPanel>();
  lower.SetParentBackground(false);
  lower.SetBevelOuter(bvNone);
  lower.SetColor(clBlue);
  lower.SetBounds(0, 40, 120, 40);
  lower.SetParent(form.get());
  Application->ProcessMessages();
  EXPECT_EQ(desktop::PixelOnScreen(form->Handle(), 10, 10), clRed);
  EXPECT_EQ(desktop::PixelOnScreen(form->Handle(), 10, 70), clBlue);
}

TEST_F(RealWindows, TheSystemsInputReachesTheControls) {
  auto form = Shown(100, 100, 300, 200);
  Log log;
  auto& first = form->Make<TProbe>("A", clRed, &log);
  first.SetBounds(10, 10, 100, 50);
  first.SetParent(form.get());
  auto& second = form->Make<TProbe>("B", clBlue, &log);
  second.SetBounds(10, 100, 100, 50);
  second.SetParent(form.get());
  desktop::Pointer(100 + 250, 100 + 180);  // on the form, off the controls
  RunUntil([&] { return form->Window().pointerInside; });
  log.clear();
  desktop::Pointer(100 + 50, 100 + 30);
  desktop::Pointer(100 + 50, 100 + 30, Press::LeftDown);
  desktop::Pointer(100 + 50, 100 + 30, Press::LeftUp);
  desktop::TypeKey(VK_TAB);  // the first in the tab order
  desktop::TypeKey(VK_TAB);  // the next one
  desktop::TypeKey(VK_RETURN);
  desktop::TypeKey('X');
  const Log expected = {"enter A",   "down 40,20 A", "click A",   "up 40,20 A",
                        "focus A",   "blur A",       "focus B",   "keydown 13 B",
                        "char 13 B", "keydown 88 B", "char 120 B"};
  EXPECT_TRUE(RunUntil([&] { return log.size() >= expected.size(); }));
  EXPECT_EQ(log, expected);
}

TEST_F(RealWindows, TimersTickNoFasterThanTheFloor) {
  TTimer timer(nullptr);
  timer.SetInterval(1);
  std::vector<uint64_t> ticks;
  timer.OnTimer = [&](TObject*) { ticks.push_back(Application->Backend().Now()); };
  EXPECT_TRUE(RunUntil([&] { return ticks.size() >= 8; }));
  // Each tick is due 16 ms after the one before; a handler reads the clock a
  // moment after its tick, hence the millisecond. (How much later the ticks
  // come is a bench figure.)
  EXPECT_GE(ticks.back() - ticks.front(), 16 * (ticks.size() - 1) - 1);
}

TEST_F(RealWindows, AModalFormHoldsItsOwnerAndHandsTheActivationBack) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBorderStyle(bsNone);
  main->SetPosition(poDesigned);
  main->SetBounds(100, 100, 400, 300);
  main->Show();
  auto dialog = MakeForm<TForm>(nullptr);
  dialog->SetPosition(poMainFormCenter);
  bool ownerHeld = false;
  TTimer& close = dialog->Make<TTimer>();
  close.SetInterval(50);
  close.OnTimer = [&](TObject*) {
    ownerHeld =
        !desktop::IsEnabled(main->Handle()) && desktop::OwnerOf(dialog->Handle()) == main->Handle();
    dialog->SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(ownerHeld);
  EXPECT_TRUE(desktop::IsEnabled(main->Handle()));
  EXPECT_EQ(desktop::ForegroundWindow(), main->Handle());
  EXPECT_TRUE(RunUntil([&] { return main->Active(); }));
}

TEST_F(RealWindows, TimersTickWhileTheSystemMovesTheWindow) {
  auto form = Shown(100, 100, 300, 200);
  // The background hands a press of any button to the system, as the
  // launcher's does.
  auto& background = form->Make<TPanel>();
  background.SetBounds(0, 0, 300, 200);
  background.SetParent(form.get());
  background.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    ReleaseCapture();
    form->Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
  };
  std::atomic<bool> released{false};
  int ticksWhileMoving = 0;
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    if (form->Left() != 100 && !released) ++ticksWhileMoving;
  };
  Application->ProcessMessages();
  desktop::Pointer(200, 200, Press::LeftDown);
  std::thread user([&] {
    // The press handled and the system's move begun, the pointer moves in
    // steps, as a hand does.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int step = 1; step <= 8; ++step) {
      desktop::Pointer(200 + 10 * step, 200 + 5 * step);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    released = true;
    desktop::Pointer(280, 240, Press::LeftUp);
  });
  EXPECT_TRUE(RunUntil([&] { return released && form->Left() == 180; }));
  user.join();
  EXPECT_EQ(form->BoundsRect().TopLeft(), (TPoint{180, 140}));
  EXPECT_GT(ticksWhileMoving, 0);
}

TEST_F(RealWindows, AMaximisedWindowComesBackThroughTheSizeMessage) {
  // The desktop maximises it (Win+Up) and reports the new state and size;
  // the form's size handler asks for the normal state, as the launcher's does.
  struct TNeverMaximised : TForm {
    using TForm::TForm;
    void WMSize(TWMSize&) override {
      if (WindowState() != wsMaximized) return;
      wasMaximised = true;
      SetWindowState(wsNormal);
    }
    bool wasMaximised = false;
  };
  auto form = MakeForm<TNeverMaximised>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetPosition(poDesigned);
  form->SetBounds(100, 100, 300, 200);
  form->Show();
  Application->ProcessMessages();
  desktop::Maximise(form->Handle());
  EXPECT_TRUE(RunUntil([&] {
    return form->wasMaximised && form->WindowState() == wsNormal &&
           form->BoundsRect() == Bounds(100, 100, 300, 200);
  }));
  EXPECT_EQ(desktop::BoundsOf(form->Handle()), Bounds(100, 100, 300, 200));
}

TEST_F(RealWindows, TheSessionEndingClosesTheMainFormBeforeTheSystemGoesOn) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBorderStyle(bsNone);
  main->Show();
  bool saved = false;
  main->OnCloseQuery = [&](TObject*, bool& canClose) {
    saved = true;  // where the launcher writes its five files
    canClose = true;
  };
  desktop::EndSession(main->Handle());  // the system may end the process from here
  EXPECT_TRUE(saved);
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(RealWindows, TheWindowOffersTheBoxesItsBorderIconsName) {
  struct Case {
    TBorderIcons icons;
    TFormBorderStyle style;
    desktop::Boxes boxes;  // system menu, minimise, maximise
  };
  const Case cases[] = {
      {{biSystemMenu, biMinimize}, bsSingle, {true, true, false}},  // the launcher's main window
      {{biSystemMenu, biMinimize, biMaximize}, bsSizeable, {true, true, true}},
      {{biSystemMenu}, bsSingle, {true, false, false}},
      {{biMinimize, biMaximize}, bsSingle, {false, false, false}},
      {{biSystemMenu, biMinimize}, bsDialog, {true, false, false}},  // a dialog's frame has none
  };
  for (const Case& c : cases) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(c.style);
    form->SetBorderIcons(c.icons);
    form->Show();
    EXPECT_EQ(desktop::BoxesOf(form->Handle()), c.boxes) << "case " << (&c - cases);
  }
}

TEST_F(RealWindows, ARunningModalDialogCannotBeMinimisedAway) {
  // Minimised, the owned dialog would have no task bar button, and its owner
  // stays disabled: nothing could bring the program back.
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  auto dialog = MakeForm<TForm>(nullptr);
  dialog->SetBorderIcons({biSystemMenu, biMinimize});
  bool minimised = true;
  desktop::Boxes boxes;
  TTimer& ask = dialog->Make<TTimer>();
  ask.SetInterval(50);
  ask.OnTimer = [&](TObject*) {
    desktop::AskToMinimise(dialog->Handle());  // Win+Down asks whatever the style says
    minimised = desktop::IsMinimised(dialog->Handle());
    boxes = desktop::BoxesOf(dialog->Handle());
    dialog->SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(minimised);
  EXPECT_FALSE(boxes.minimise);
  EXPECT_TRUE(desktop::BoxesOf(dialog->Handle()).minimise);  // its own again once it ends
}

TEST_F(RealWindows, APressTheSystemCancelsReturnsTheControlToRestWithoutAClick) {
  auto form = Shown(100, 100, 300, 200);
  Log log;
  auto& button = form->Make<TProbe>("A", clRed, &log);
  button.SetBounds(10, 10, 100, 50);
  button.SetParent(form.get());
  desktop::Pointer(100 + 50, 100 + 30);
  desktop::Pointer(100 + 50, 100 + 30, Press::LeftDown);
  ASSERT_TRUE(RunUntil([&] { return button.MouseCapture(); }));
  log.clear();
  desktop::CancelMode(form->Handle());  // a prompt takes over mid-press
  Application->ProcessMessages();
  EXPECT_FALSE(button.MouseCapture());
  desktop::Pointer(100 + 50, 100 + 30, Press::LeftUp);
  EXPECT_TRUE(RunUntil([&] { return !log.empty() && log.back() == "up 40,20 A"; }));
  // Released outside itself and left: the look of a control at rest.
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(Log(log.begin(), log.begin() + 2), (Log{"up -1,-1 A", "leave A"}));
  EXPECT_EQ(std::count(log.begin(), log.end(), "click A"), 0);
}

TEST_F(RealWindows, ErrorsTheWindowProcedureKeptAreReportedAndTheProgramGoesOn) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBorderStyle(bsNone);
  main->SetPosition(poDesigned);
  main->SetBounds(100, 100, 300, 200);
  main->Show();
  Application->ProcessMessages();
  std::vector<std::string> reported;
  Application->OnException = [&](TObject*, const std::exception& e) {
    reported.push_back(e.what());
  };
  {
    SCOPED_TRACE("a handler failing inside the window procedure");
    Application->Backend().SetDragArea(
        main->Handle(), [](TPoint) -> bool { throw std::runtime_error("hit test failed"); });
    desktop::Pointer(100 + 150, 100 + 100);  // the system asks what lies there
    EXPECT_TRUE(RunUntil([&] { return !reported.empty(); }));
    EXPECT_EQ(reported, std::vector<std::string>{"hit test failed"});
    Application->Backend().SetDragArea(main->Handle(), [](TPoint) { return false; });
  }
  {
    SCOPED_TRACE("a turn failing as the session ends: said on the error stream");
    vark::Backend& backend = Application->Backend();
    backend.RunTurn = [turn = backend.RunTurn] {
      turn();
      throw std::runtime_error("turn failed");
    };
    desktop::EndSession(main->Handle());
    EXPECT_NO_THROW(Application->HandleMessage());
    EXPECT_EQ(Application->ExitCode(), 1);
  }
}

}  // namespace
