// Timers on the virtual clock, modal loops, idle waits, and handlers that free
// what raised them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Timer.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::Log;
using vark::test::TProbe;
using vark::test::UiTest;
using Timers = UiTest;

TEST_F(Timers, TicksComeInDeadlineOrder) {
  TComponent owner(nullptr);
  std::vector<std::string> ticks;
  auto add = [&](const char* name, int interval) {
    TTimer& t = owner.Make<TTimer>();
    t.SetInterval(interval);
    t.OnTimer = [&ticks, name, this](TObject*) {
      ticks.push_back(std::string(name) + "@" + std::to_string(ui->now()));
    };
    return &t;
  };
  add("a", 30);
  add("b", 20);
  add("c", 50);
  ui->advance(100);
  EXPECT_EQ(ticks, (std::vector<std::string>{"b@20", "a@30", "b@40", "c@50", "a@60", "b@60", "b@80",
                                             "a@90", "c@100", "b@100"}));
}

TEST_F(Timers, HandlerMayDisableItselfOrStartAnother) {
  TComponent owner(nullptr);
  TTimer& once = owner.Make<TTimer>();
  TTimer& later = owner.Make<TTimer>();
  once.SetInterval(10);
  later.SetInterval(25);
  later.SetEnabled(false);
  std::vector<std::string> ticks;
  once.OnTimer = [&](TObject* sender) {
    ticks.push_back("once@" + std::to_string(ui->now()));
    static_cast<TTimer*>(sender)->SetEnabled(false);
    later.SetEnabled(true);  // counts its interval from this tick
  };
  later.OnTimer = [&](TObject*) { ticks.push_back("later@" + std::to_string(ui->now())); };
  ui->advance(100);
  EXPECT_EQ(ticks, (std::vector<std::string>{"once@10", "later@35", "later@60", "later@85"}));
}

TEST_F(Timers, ChangingTheIntervalRestartsTheCount) {
  TComponent owner(nullptr);
  TTimer& t = owner.Make<TTimer>();
  t.SetInterval(100);
  std::vector<uint64_t> at;
  t.OnTimer = [&](TObject*) { at.push_back(ui->now()); };
  ui->advance(60);
  t.SetInterval(30);  // from now: 90, 120
  t.SetInterval(30);  // the same value changes nothing
  ui->advance(70);
  EXPECT_EQ(at, (std::vector<uint64_t>{90, 120}));
}

TEST_F(Timers, TimerFloorLimitsTheRate) {
  ui->setTimerFloor(16);
  TComponent owner(nullptr);
  TTimer& t = owner.Make<TTimer>();
  t.SetInterval(1);
  int n = 0;
  t.OnTimer = [&](TObject*) { ++n; };
  ui->advance(1000);
  EXPECT_EQ(n, 62);  // every 16 ms, never every 1 ms
}

TEST_F(Timers, HandlerThatFreesItsTimerOrItsControlDoesNotUpsetTheLoop) {
  auto form = ShownForm();
  auto& probe = Place<TProbe>(*form, *form, 0, 0, 10, 10, "p", clBlue, nullptr);
  TTimer& own = probe.Make<TTimer>();
  own.SetInterval(10);
  TTimer& other = form->Make<TTimer>();
  other.SetInterval(10);  // due at the same moment, after own
  int otherTicks = 0;
  other.OnTimer = [&](TObject*) { ++otherTicks; };
  TWeakRef<TProbe> ref(&probe);
  own.OnTimer = [&](TObject*) { probe.Free(); };  // frees the timer's owner, and the timer
  ui->advance(35);
  EXPECT_FALSE(ref);
  EXPECT_EQ(otherTicks, 3);

  TTimer& self = form->Make<TTimer>();
  self.SetInterval(5);
  int selfTicks = 0;
  self.OnTimer = [&](TObject* sender) {
    ++selfTicks;
    static_cast<TComponent*>(sender)->Free();
  };
  ui->advance(50);
  EXPECT_EQ(selfTicks, 1);
}

TEST_F(Timers, TickRunsOneTimerNowAndRestartsItsInterval) {
  TComponent owner(nullptr);
  TTimer& t = owner.Make<TTimer>();
  t.SetInterval(100);
  int n = 0;
  t.OnTimer = [&](TObject*) { ++n; };
  ui->advance(90);
  ui->tick(t);
  EXPECT_EQ(n, 1);
  ui->advance(99);  // the next one is 100 ms after the tick
  EXPECT_EQ(n, 1);
  ui->advance(1);
  EXPECT_EQ(n, 2);
}

TEST_F(Timers, SleepMovesTheClockWithoutTicking) {
  TComponent owner(nullptr);
  TTimer& t = owner.Make<TTimer>();
  t.SetInterval(10);
  int n = 0;
  t.OnTimer = [&](TObject*) { ++n; };
  uint64_t before = ui->now();
  Sleep(25);
  EXPECT_EQ(ui->now(), before + 25);
  EXPECT_EQ(n, 0);
  Application->ProcessMessages();  // overdue: one tick, not two
  EXPECT_EQ(n, 1);
}

TEST_F(Timers, TurnsThatComeOnTheSystemsTickTickATimerOnTheTurnNearestItsDeadline) {
  // While the system moves a window, the loop's turns come on the system's
  // timer tick, read on a clock of whole milliseconds; the backend says how
  // far apart they come (0: the loop wakes at each deadline itself).
  struct Case {
    const char* name;
    double tick;  // ms between the system's ticks
    int period;   // what the backend says
    int interval;
    std::vector<int> ticked;  // the turns (1..12) the timer ticked on
  };
  const Case cases[] = {
      {"16 ms on the 15.6 ms tick: every tick, not a mix of one and two",
       15.625,
       15,
       16,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"30 ms on the 15.6 ms tick: every second tick, never twice as fast",
       15.625,
       15,
       30,
       {2, 4, 6, 8, 10, 12}},
      {"16 ms on a 10 ms tick: every second one, never faster than asked",
       10,
       10,
       16,
       {2, 4, 6, 8, 10, 12}},
      {"the loop's own turns: never early", 15.625, 0, 16, {2, 4, 5, 7, 8, 10, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui->setTurnPeriod(c.period);
    TComponent owner(nullptr);
    TTimer& t = owner.Make<TTimer>();
    t.SetInterval(c.interval);
    const uint64_t start = ui->now();
    int turn = 0;
    std::vector<int> ticked;
    t.OnTimer = [&](TObject*) { ticked.push_back(turn); };
    for (turn = 1; turn <= 12; ++turn) {
      Sleep(static_cast<int>(start + static_cast<uint64_t>(turn * c.tick) - ui->now()));
      Application->ProcessMessages();
    }
    EXPECT_EQ(ticked, c.ticked);
  }
}

TEST_F(Timers, ControlFreedInItsOwnClickHandlerDoesNotCrashTheLoop) {
  auto form = ShownForm();
  for (bool later : {false, true}) {
    SCOPED_TRACE(later ? "FreeLater" : "Free");
    auto& button = Place<TButton>(*form, *form, 10, 10, 75, 25);
    TWeakRef<TButton> ref(&button);
    int ups = 0;
    button.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    button.OnClick = [&, later](TObject* sender) {
      auto* b = static_cast<TButton*>(sender);
      if (later) {
        b->FreeLater();
      } else {
        b->Free();
      }
    };
    ui->click(*form, 20, 20);
    EXPECT_FALSE(ref);
    EXPECT_EQ(ups, later ? 1 : 0);  // a freed control gets nothing after its click
    ui->mouseMove(*form, 30, 30);
  }
}

TEST_F(Timers, ModalFormClosedByAButtonWhileATimerTicks) {
  auto main = ShownForm();
  TTimer& ticker = main->Make<TTimer>();
  ticker.SetInterval(16);
  int ticks = 0;
  ticker.OnTimer = [&](TObject*) { ++ticks; };

  auto dialog = MakeForm<TForm>(nullptr);
  dialog->SetPosition(poScreenCenter);
  auto& ok = Place<TButton>(*dialog, *dialog, 10, 10, 75, 25);
  ok.SetModalResult(mrOk);
  auto& other = Place<TButton>(*dialog, *dialog, 100, 10, 75, 25);  // a click that ends nothing

  Log mainLog;
  auto& behind = Place<TProbe>(*main, *main, 10, 10, 30, 30, "behind", clBlue, &mainLog);
  (void)behind;

  int idle = 0;
  int result = -1;
  uint64_t shownAt = 0;
  ui->OnIdle = [&] {
    ++idle;
    if (idle == 1) {
      shownAt = ui->now();
      ui->click(*main, 20, 20);  // input to the form behind the modal one is dropped
      ui->click(other);
      EXPECT_TRUE(dialog->Visible());
    }
    if (ui->now() - shownAt >= 500) ui->click(ok);
  };
  result = dialog->ShowModal();
  ui->OnIdle = nullptr;
  EXPECT_EQ(result, mrOk);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(ui->isVisible(*dialog));
  EXPECT_GE(ticks, 500 / 16);  // the main form's timer kept ticking in the modal loop
  EXPECT_TRUE(mainLog.empty()) << mainLog.front();
  EXPECT_TRUE(main->Active());  // the focus went back
}

TEST_F(Timers, ModalLoopWithNothingLeftToHappenStallsInsteadOfHanging) {
  auto dialog = MakeForm<TForm>(nullptr);
  EXPECT_THROW(dialog->ShowModal(), vark::HeadlessStall);
  EXPECT_FALSE(dialog->Modal());
  EXPECT_FALSE(dialog->Visible());
}

TEST_F(Timers, IdleLoopSleepsUntilTheNextDeadline) {
  auto main = ShownForm();
  TTimer& scan = main->Make<TTimer>();
  scan.SetInterval(2000);
  int ticks = 0;
  scan.OnTimer = [&](TObject*) { ++ticks; };
  TTimer& idleTimer = main->Make<TTimer>();  // no handler: never wakes the loop
  idleTimer.SetInterval(1);

  auto dialog = MakeForm<TForm>(nullptr);
  ui->OnIdle = [&] {
    if (ui->now() >= 10000) dialog->SetModalResult(mrCancel);
  };
  dialog->ShowModal();
  ui->OnIdle = nullptr;
  // Every wait was for the whole interval to the next tick: no busy loop.
  std::vector<int> waits = ui->waits();
  ASSERT_FALSE(waits.empty());
  for (int w : waits)
    EXPECT_EQ(w, 2000);
  EXPECT_EQ(ticks, 5);
  EXPECT_EQ(static_cast<int>(waits.size()), 6);

  // With no timer at all the loop waits without a limit.
  scan.SetEnabled(false);
  auto second = MakeForm<TForm>(nullptr);
  EXPECT_THROW(second->ShowModal(), vark::HeadlessStall);
  EXPECT_EQ(ui->waits().back(), -1);
}

TEST_F(Timers, ClockNeverRunsBackwardsWhenATickRunsAModalLoop) {
  TComponent owner(nullptr);
  TTimer& t = owner.Make<TTimer>();
  t.SetInterval(10);
  auto dialog = MakeForm<TForm>(nullptr);
  t.OnTimer = [&](TObject* sender) {
    static_cast<TTimer*>(sender)->SetEnabled(false);
    dialog->ShowModal();  // runs until OnIdle closes it, 500 ms later
  };
  TTimer& pulse = owner.Make<TTimer>();  // gives the modal loop deadlines to wait for
  pulse.SetInterval(50);
  pulse.OnTimer = [](TObject*) {};
  ui->OnIdle = [&] {
    if (ui->now() >= 510) dialog->SetModalResult(mrOk);
  };
  ui->advance(100);
  ui->OnIdle = nullptr;
  EXPECT_GE(ui->now(), 510u);
  uint64_t after = ui->now();
  ui->advance(0);
  EXPECT_EQ(ui->now(), after);
}

TEST_F(Timers, CloseQueryCanKeepAModalFormOpen) {
  auto dialog = MakeForm<TForm>(nullptr);
  int asked = 0;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked >= 2; };
  ui->OnIdle = [&] { dialog->SetModalResult(mrYes); };
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  ui->OnIdle = nullptr;
  EXPECT_EQ(asked, 2);
}

}  // namespace
