// The event loop: running and ending (also when the system ends the program),
// nested modal loops, freeing forms from their own handlers, errors in timers
// and paints, activation.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::Log;
using vark::test::TProbe;
using vark::test::UiTest;
using Loop = UiTest;

TEST_F(Loop, RunEndsWhenTheMainFormIsFreed) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  TTimer& timer = main->Make<TTimer>();
  timer.SetInterval(100);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3) main->Release();
  };
  Application->Run();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(ui->now(), 300u);
}

TEST_F(Loop, AnErrorShowingTheMainFormIsReportedAndRunGoesOn) {
  // On Windows the window procedure's errors come out of showing too.
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->OnShow = [](TObject*) { throw std::runtime_error("cannot show"); };
  std::string reported;
  Application->OnException = [&](TObject*, const std::exception& e) {
    reported = e.what();
    Application->Terminate();
  };
  EXPECT_NO_THROW(Application->Run());
  Application->OnException = nullptr;
  EXPECT_EQ(reported, "cannot show");
}

TEST_F(Loop, NestedModalFormsTakeTheInputInTurn) {
  auto outer = MakeForm<TForm>(nullptr);
  outer->SetPosition(poDesigned);
  outer->SetBounds(100, 100, 300, 200);
  auto& open = Place<TButton>(*outer, *outer, 10, 10, 75, 25);
  auto& outerOk = Place<TButton>(*outer, *outer, 100, 10, 75, 25);
  outerOk.SetModalResult(mrOk);
  auto inner = MakeForm<TForm>(nullptr);
  inner->SetPosition(poDesigned);
  inner->SetBounds(600, 100, 300, 200);
  auto& innerNo = Place<TButton>(*inner, *inner, 10, 10, 75, 25);
  innerNo.SetModalResult(mrNo);

  int innerResult = -1;
  open.OnClick = [&](TObject*) { innerResult = inner->ShowModal(); };
  int step = 0;
  int outerClicksWhileInner = 0;
  bool outerEnabledWhileInner = true;
  bool outerBackAfterInner = false;
  outerOk.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    if (inner->Modal()) ++outerClicksWhileInner;
  };
  ui->OnIdle = [&] {
    switch (step++) {
      case 0:
        ui->click(open);  // opens the inner one from inside the outer loop
        break;
      case 1:
        ui->click(outerOk);  // the outer form takes no input now
        outerEnabledWhileInner = ui->isEnabled(*outer);
        ui->click(innerNo);
        break;
      default:
        // Given back before the inner one hid, so it is the active one again.
        outerBackAfterInner = ui->isEnabled(*outer) && outer->Active();
        ui->click(outerOk);
        break;
    }
  };
  int outerResult = outer->ShowModal();
  ui->OnIdle = nullptr;
  EXPECT_EQ(innerResult, mrNo);
  EXPECT_EQ(outerResult, mrOk);
  EXPECT_EQ(outerClicksWhileInner, 0);
  EXPECT_FALSE(outerEnabledWhileInner);
  EXPECT_TRUE(outerBackAfterInner);
  EXPECT_EQ(Application->ModalForm(), nullptr);
}

TEST_F(Loop, ModalFormFreedFromItsOwnCloseIsFreedAfterItsLoop) {
  auto& dialog = Application->Make<TForm>();
  TWeakRef<TForm> ref(&dialog);
  auto& ok = Place<TButton>(dialog, dialog, 10, 10, 75, 25);
  ok.SetModalResult(mrOk);
  dialog.OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  ui->OnIdle = [&] { ui->click(ok); };
  int result = dialog.ShowModal();
  ui->OnIdle = nullptr;
  EXPECT_EQ(result, mrOk);
  EXPECT_TRUE(ref);  // still there while ShowModal returns
  Application->ProcessMessages();
  EXPECT_FALSE(ref);
}

TEST_F(Loop, TheSystemEndingTheProgramAsksTheMainFormOnceAndEndsEvenAModalLoop) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  int asked = 0;
  main->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = false;
    throw std::runtime_error("cannot save");
  };
  bool reported = false;
  Application->OnException = [&](TObject*, const std::exception&) { reported = true; };
  auto dialog = MakeForm<TForm>(nullptr);
  ui->OnIdle = [&] { ui->requestQuit(); };
  ::testing::internal::CaptureStderr();
  const int result = dialog->ShowModal();
  const std::string err = ::testing::internal::GetCapturedStderr();
  ui->OnIdle = nullptr;
  Application->OnException = nullptr;
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(Application->Terminated());
  // No one is there to answer a box: the error goes to standard error.
  EXPECT_FALSE(reported);
  EXPECT_EQ(err, Application->Title() + ": cannot save.\n");
  EXPECT_EQ(Application->ExitCode(), 1);
  // A modal form opened while the program ends gives up at once.
  EXPECT_EQ(MakeForm<TForm>(nullptr)->ShowModal(), mrCancel);
}

TEST_F(Loop, ErrorInATimerIsReportedAndTheTimerGoesOn) {
  TComponent owner(nullptr);
  TTimer& t = owner.Make<TTimer>();
  t.SetInterval(10);
  int ticks = 0;
  t.OnTimer = [&](TObject*) {
    ++ticks;
    throw std::runtime_error("tick failed");
  };
  std::vector<std::string> reports;
  Application->OnException = [&](TObject* sender, const std::exception& e) {
    EXPECT_EQ(sender, &t);
    reports.push_back(e.what());
  };
  ui->advance(30);
  Application->OnException = nullptr;
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(reports, (std::vector<std::string>(3, "tick failed")));
}

TEST_F(Loop, FailingPaintIsReportedOnceAndTheRestOfTheWindowStillPaints) {
  struct TBroken : TCustomControl {
    using TCustomControl::TCustomControl;
    void Paint() override { throw std::runtime_error("cannot paint"); }
  };
  auto form = ShownForm();
  Place<TBroken>(*form, *form, 0, 0, 20, 20);
  Place<TProbe>(*form, *form, 50, 50, 20, 20, "after", clBlue, nullptr);
  int reports = 0;
  Application->OnException = [&](TObject*, const std::exception& e) {
    EXPECT_STREQ(e.what(), "cannot paint");
    ++reports;
  };
  EXPECT_EQ(ui->pixel(*form, 55, 55), clBlue);
  ui->advance(100);  // nothing asks for a paint again: no report loop
  Application->OnException = nullptr;
  EXPECT_EQ(reports, 1);
}

TEST_F(Loop, OpeningAModalFormLeavesTheControlUnderThePointer) {
  auto main = ShownForm();
  Log log;
  Place<TProbe>(*main, *main, 10, 10, 50, 50, "under", clBlue, &log);
  ui->mouseMove(*main, 20, 20);
  ASSERT_EQ(log, (Log{"enter under"}));
  auto dialog = MakeForm<TForm>(nullptr);
  dialog->SetPosition(poDesigned);
  dialog->SetBounds(900, 500, 200, 100);
  ui->OnIdle = [&] { dialog->SetModalResult(mrCancel); };
  dialog->ShowModal();
  ui->OnIdle = nullptr;
  EXPECT_EQ(log, (Log{"enter under", "leave under", "enter under"}));
}

TEST_F(Loop, InactiveWindowShowsTheInactiveTitleColours) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetPosition(poDesigned);
  form->CustomTitleBar().SetEnabled(true);
  form->CustomTitleBar().SetSystemColors(false);
  form->CustomTitleBar().SetBackgroundColor(clNavy);
  form->CustomTitleBar().SetInactiveBackgroundColor(clMaroon);
  form->Show();
  EXPECT_TRUE(Application->Active());
  EXPECT_TRUE(form->Active());
  EXPECT_EQ(ui->pixel(*form, 2, 2), clNavy);
  EXPECT_EQ(ui->surface(*form).ColorAt(0, 100), clNavy);  // the border too
  ui->setApplicationActive(false);
  EXPECT_FALSE(Application->Active());
  EXPECT_FALSE(form->Active());
  EXPECT_EQ(ui->pixel(*form, 2, 2), clMaroon);
  EXPECT_EQ(ui->surface(*form).ColorAt(0, 100), clMaroon);
}

TEST_F(Loop, RepaintPaintsAndPresentsAtOnce) {
  auto form = ShownForm();
  auto& probe = Place<TProbe>(*form, *form, 10, 10, 20, 20, "p", clBlue, nullptr);
  ui->surface(*form);
  int frames = ui->presentCount();
  int paints = probe.paints;
  probe.SetFill(clRed);
  probe.Invalidate();
  EXPECT_EQ(probe.paints, paints);  // later
  probe.Repaint();
  EXPECT_EQ(probe.paints, paints + 1);
  EXPECT_EQ(ui->presentCount(), frames + 1);
  TPoint o = form->ClientOffset();
  EXPECT_EQ(ui->presented(*form).ColorAt(15 + o.X, 15 + o.Y), clRed);
}

TEST_F(Loop, CustomControlPaintsWholeWhenOnlyPartOfItIsInvalid) {
  struct TClipWatch : TCustomControl {
    using TCustomControl::TCustomControl;
    void Paint() override { clips.push_back(Canvas().ClipRect()); }
    std::vector<TRect> clips;
  };
  auto form = ShownForm();
  auto& watch = Place<TClipWatch>(*form, *form, 20, 20, 100, 40);
  auto& small = Place<TShape>(*form, *form, 0, 0, 30, 30);  // overlaps a corner
  ui->surface(*form);
  watch.clips.clear();
  small.Invalidate();
  ui->surface(*form);
  ASSERT_EQ(watch.clips.size(), 1u);
  EXPECT_EQ(watch.clips[0], Rect(0, 0, 100, 40));
}

TEST_F(Loop, DirectPaintOfAHiddenControlDrawsNothing) {
  auto form = ShownForm();
  auto& probe = Place<TProbe>(*form, *form, 10, 10, 20, 20, "p", clBlue, nullptr);
  probe.Hide();
  probe.SetFill(clRed);
  probe.PaintNow();
  EXPECT_EQ(ui->pixel(*form, 15, 15), clWhite);
  TProbe loose(nullptr, "loose", clRed, nullptr);
  loose.PaintNow();  // no parent, no window: nothing to draw on, no failure
}

}  // namespace
