// CProgress model: the position rules, the glide on the position timer tick by
// tick, loading from a stored form, and when the repaint timer may paint.
#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <vector>

#include "platform/ui/Panel.h"
#include "tests/controls/ProgressTestSupport.h"

namespace {

using vark::test::ProgressTest;
using ProgressModel = ProgressTest;

std::vector<int32_t> Range(int32_t from, int32_t to) {
  std::vector<int32_t> v(static_cast<size_t>(to - from + 1));
  std::iota(v.begin(), v.end(), from);
  return v;
}

TEST_F(ProgressModel, NewBarIsIdleExceptForItsRepaintTimer) {
  CProgress bar(nullptr);
  EXPECT_EQ(bar.Width(), 200);
  EXPECT_EQ(bar.Height(), 20);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_TRUE(bar.InterceptMouse());
  EXPECT_FALSE(bar.AnimationTimer().Enabled());
  EXPECT_EQ(bar.AnimationTimer().Tag(), 0);
  EXPECT_TRUE(bar.DrawAnimTimer().Enabled());
  EXPECT_EQ(bar.DrawAnimTimer().Interval(), 1);
  // The accent colour replaces the green the colours start with.
  EXPECT_EQ(bar.Colors().Foreground(), vark::test::kAccent);
  EXPECT_EQ(bar.Version(), "1.4");
  EXPECT_EQ(bar.Author(), "VarkelSoftware");
}

// The launch sequence: a jump to 0, then a glide to 100 in steps of 1, one
// step per tick, with the stopping tick reporting 100 once more.
TEST_F(ProgressModel, LaunchSequenceReportsEveryStepThenStops) {
  CProgress& bar = LauncherBar();
  bar.SetValue(37, true);  // left over from an earlier launch
  reports.clear();
  bar.Animations().SetAnimations(false);
  bar.SetPosition(0);
  bar.Animations().SetAnimations(true);
  bar.SetPosition(100);
  EXPECT_EQ(reports, std::vector<int32_t>{0});
  EXPECT_EQ(bar.Position(), 0);  // the glide has not started yet
  EXPECT_TRUE(bar.AnimationTimer().Enabled());
  EXPECT_EQ(bar.AnimationTimer().Tag(), 1);

  for (int tick = 1; tick <= 101; ++tick) {
    ui->advance(1);
    ASSERT_EQ(reports.size(), static_cast<size_t>(tick + 1)) << "tick " << tick;
  }
  std::vector<int32_t> expected{0};
  for (int32_t p : Range(1, 100))
    expected.push_back(p);
  expected.push_back(100);
  EXPECT_EQ(reports, expected);
  EXPECT_FALSE(bar.AnimationTimer().Enabled());
  EXPECT_EQ(lastSender, &bar);
  EXPECT_EQ(lastMax, 100);
  ui->advance(50);
  EXPECT_EQ(reports.size(), expected.size());
}

TEST_F(ProgressModel, GlidesOvershootByLessThanAStepThenLandOnTheTarget) {
  struct Case {
    int32_t from, to, step;
    std::vector<int32_t> ticks;
    int32_t direction;
  };
  const Case cases[] = {
      {0, 100, 30, {30, 60, 90, 120, 100}, 1},  // past Max for one tick
      {100, 40, 25, {75, 50, 25, 40}, 0},
      {60, 60, 5, {60}, 1},  // the same value: one tick that only stops
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to << " by " << c.step);
    CProgress& bar = LauncherBar();
    bar.SetValue(c.from, true);
    bar.AnimationTimer().SetTag(1);
    reports.clear();
    bar.Animations().SetStep(c.step);
    bar.SetPosition(c.to);
    EXPECT_EQ(bar.AnimationTimer().Tag(), c.direction);
    ui->advance(static_cast<int>(c.ticks.size()) + 3);
    EXPECT_EQ(reports, c.ticks);
    EXPECT_FALSE(bar.AnimationTimer().Enabled());
    EXPECT_EQ(bar.Position(), c.to);
  }
}

TEST_F(ProgressModel, ANewTargetDuringAGlideTurnsItAround) {
  CProgress& bar = LauncherBar();
  bar.Animations().SetStep(10);
  bar.SetPosition(100);
  ui->advance(3);
  EXPECT_EQ(reports, (std::vector<int32_t>{10, 20, 30}));
  bar.SetPosition(5);
  EXPECT_EQ(bar.AnimationTimer().Tag(), 0);
  ui->advance(6);
  EXPECT_EQ(reports, (std::vector<int32_t>{10, 20, 30, 20, 10, 0, 5}));
  EXPECT_FALSE(bar.AnimationTimer().Enabled());
}

TEST_F(ProgressModel, TheIntervalCountsFromTheSetPositionThatStartsTheGlide) {
  CProgress& bar = LauncherBar();
  bar.Animations().SetInterval(10);
  ui->advance(5);
  bar.SetPosition(3);
  ui->advance(9);
  EXPECT_TRUE(reports.empty());
  ui->advance(1);
  EXPECT_EQ(reports, std::vector<int32_t>{1});
  ui->advance(30);
  EXPECT_EQ(reports, (std::vector<int32_t>{1, 2, 3, 3}));
}

TEST_F(ProgressModel, PositionsOutsideTheRangeAreIgnoredSilently) {
  struct Case {
    bool glide;
    int32_t value;
  };
  for (const Case& c : {Case{false, 150}, Case{false, -1}, Case{true, 101}, Case{true, INT_MIN}}) {
    SCOPED_TRACE(testing::Message() << c.value << (c.glide ? " gliding" : " jumping"));
    CProgress& bar = LauncherBar();
    bar.SetValue(40, true);
    reports.clear();
    bar.Animations().SetAnimations(c.glide);
    bar.SetPosition(c.value);
    EXPECT_EQ(bar.Position(), 40);
    EXPECT_FALSE(bar.AnimationTimer().Enabled());
    ui->advance(5);
    EXPECT_TRUE(reports.empty());
  }
}

TEST_F(ProgressModel, JumpsReportAtOnce) {
  CProgress& bar = LauncherBar();
  bar.Animations().SetAnimations(false);
  bar.SetPosition(40);
  EXPECT_EQ(bar.Position(), 40);
  EXPECT_EQ(reports, std::vector<int32_t>{40});
  EXPECT_EQ(lastMax, 100);

  // SetValue with jump skips the range test as well.
  bar.SetValue(500, true);
  EXPECT_EQ(bar.Position(), 500);
  EXPECT_EQ(reports, (std::vector<int32_t>{40, 500}));
  EXPECT_EQ(lastSender, &bar);
  // Without jump it is SetPosition: out of range, ignored.
  bar.SetValue(600, false);
  EXPECT_EQ(bar.Position(), 500);
  EXPECT_EQ(reports.size(), 2u);
  ui->surface(*form);  // and a position past Max paints without trouble
}

TEST_F(ProgressModel, NewLimitsClampThePositionWithoutReporting) {
  CProgress& bar = LauncherBar();
  bar.SetValue(80, true);
  reports.clear();
  bar.SetMax(50);
  EXPECT_EQ(bar.Position(), 50);
  bar.SetMin(70);  // Min above Max is allowed; the position follows Min
  EXPECT_EQ(bar.Position(), 70);
  EXPECT_EQ(bar.Min(), 70);
  EXPECT_EQ(bar.Max(), 50);
  bar.SetMax(200);
  bar.SetMin(0);
  EXPECT_EQ(bar.Position(), 70);
  EXPECT_TRUE(reports.empty());
}

// A stored form gives Position before Max and Min, so while the bar is being
// loaded the position is kept as it is.
TEST_F(ProgressModel, PositionReadFromAStoredFormSkipsTheRangeTest) {
  form->BeginLoading();
  CProgress& bar = form->Make<CProgress>();
  bar.SetParent(form.get());
  bar.SetPosition(150);
  bar.SetMax(200);
  bar.SetMin(0);
  form->EndLoading();
  EXPECT_EQ(bar.Position(), 150);

  bar.SetPosition(250);
  EXPECT_EQ(bar.Position(), 150);
}

TEST_F(ProgressModel, AHandlerMayFreeTheBarOnTheLastStep) {
  CProgress& bar = LauncherBar();
  TWeakRef<CProgress> ref(&bar);
  bar.OnChange = [this](CProgress* sender, int32_t position, int32_t) {
    reports.push_back(position);
    if (position == 100) sender->Free();
  };
  bar.Animations().SetStep(50);
  bar.SetPosition(100);
  ui->advance(10);
  EXPECT_FALSE(ref);
  EXPECT_EQ(reports, (std::vector<int32_t>{50, 100}));
}

TEST_F(ProgressModel, FreeingTheBarMidGlideStopsBothTimers) {
  CProgress& bar = LauncherBar();
  bar.SetPosition(100);
  ui->advance(3);
  const int before = vark::ui::TimerQueue::ScheduledCount();
  bar.Free();
  EXPECT_EQ(vark::ui::TimerQueue::ScheduledCount(), before - 2);
  ui->advance(10);
  EXPECT_EQ(reports, (std::vector<int32_t>{1, 2, 3}));
}

// The repaint tick paints (and so moves the highlight) only for a bar that
// can be seen: visible, on a visible parent (or animating regardless), in the
// active application.
TEST_F(ProgressModel, RepaintTickMovesTheHighlightOnlyWhenTheBarCanBeSeen) {
  struct Case {
    const char* what;
    bool barVisible, parentVisible, inIDE, appActive, placed;
    bool moves;
  };
  const Case cases[] = {
      {"shown", true, true, false, true, true, true},
      {"hidden", false, true, false, true, true, false},
      {"parent hidden", true, false, false, true, true, false},
      {"parent hidden, animating anyway", true, false, true, true, true, true},
      {"application in the background", true, true, false, false, true, false},
      {"not placed anywhere", true, true, true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TPanel& panel = Place<TPanel>(*form, *form, 0, 0, 300, 40);
    CProgress& bar = form->Make<CProgress>();
    bar.SetBounds(5, 5, 250, 9);
    if (c.placed) bar.SetParent(&panel);
    bar.SetValue(100, true);
    bar.SetVisible(c.barVisible);
    panel.SetVisible(c.parentVisible);
    bar.SetEnableAnimateInIDE(c.inIDE);
    ui->setApplicationActive(c.appActive);
    ui->surface(*form);
    const int32_t before = bar.AnimateProgress().currentp;
    ui->advance(10);
    EXPECT_EQ(bar.AnimateProgress().currentp - before, c.moves ? 20 : 0);
    ui->setApplicationActive(true);
    bar.Free();
    panel.Free();
  }
}

TEST_F(ProgressModel, TurningTheHighlightOffStopsTheRepaintTimer) {
  CProgress& bar = LauncherBar();
  bar.AnimateProgress().ChengeALlowANi(false);
  EXPECT_FALSE(bar.DrawAnimTimer().Enabled());
  const int32_t before = bar.AnimateProgress().currentp;
  ui->advance(20);
  EXPECT_EQ(bar.AnimateProgress().currentp, before);
  bar.AnimateProgress().ChengeALlowANi(true);
  EXPECT_TRUE(bar.DrawAnimTimer().Enabled());
  ui->advance(20);
  EXPECT_NE(bar.AnimateProgress().currentp, before);
}

TEST_F(ProgressModel, RepaintTimerFollowsItsSpeedAndTheBackendsFloor) {
  CProgress& bar = LauncherBar();
  bar.AnimateProgress().ChangeAnimProgSpeed(5);
  EXPECT_EQ(bar.DrawAnimTimer().Interval(), 5);
  bar.AnimateProgress().currentp = 0;
  ui->advance(50);
  EXPECT_EQ(bar.AnimateProgress().currentp, 20);  // 10 paints of 2 pixels

  // The real backend ticks at most every 16 ms, whatever the bar asks for.
  ui->setTimerFloor(16);
  bar.AnimateProgress().ChangeAnimProgSpeed(1);
  bar.AnimateProgress().currentp = 0;
  ui->advance(160);
  EXPECT_EQ(bar.AnimateProgress().currentp, 20);
}

// Presets write the timer's speed and the highlight switch as values only:
// the running repaint timer keeps its interval and its state.
TEST_F(ProgressModel, PresetsLeaveTheRepaintTimerAlone) {
  CProgress& bar = LauncherBar();
  bar.AnimateProgress().ChengeALlowANi(false);
  bar.SetPresets(cprBeacon);
  EXPECT_EQ(bar.AnimateProgress().TimerAnimateSpeed(), 10);
  EXPECT_TRUE(bar.AnimateProgress().Enable());
  EXPECT_EQ(bar.DrawAnimTimer().Interval(), 1);
  EXPECT_FALSE(bar.DrawAnimTimer().Enabled());
  // The beacon is full, set directly: no report.
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
