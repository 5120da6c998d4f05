// A form whose OnCreate fails: the failure reaches the application's error
// report and the form is made and can be shown all the same. And the screens
// a form can be placed on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/ui/Screen.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::UiTest;

TEST_F(UiTest, AFailingOnCreateIsReportedAndTheFormLives) {
  std::vector<std::string> reports;
  Application->OnException = [&](TObject* sender, const std::exception& e) {
    reports.push_back(e.what());
    EXPECT_NE(dynamic_cast<TCustomForm*>(sender), nullptr);
  };
  auto form = std::make_unique<TForm>(nullptr);
  form->OnCreate = [&](TObject*) { throw EOSError("The user name could not be read", 2); };
  form->AfterConstruction();
  EXPECT_EQ(reports, std::vector<std::string>{"The user name could not be read"});
  form->Show();
  EXPECT_TRUE(ui->isVisible(*form));
  Application->OnException = nullptr;
}

TEST_F(UiTest, ScreensListThePrimaryOneFirst) {
  ui->setScreenSize(1280, 1024);
  ASSERT_EQ(Screen->MonitorCount(), 1);
  EXPECT_EQ(Screen->MonitorBounds(0), Rect(0, 0, 1280, 1024));
  ui->setExtraScreens({Bounds(1280, 0, 1920, 1080), Bounds(-800, 100, 800, 600)});
  ASSERT_EQ(Screen->MonitorCount(), 3);
  EXPECT_EQ(Screen->MonitorBounds(0), Rect(0, 0, 1280, 1024));
  EXPECT_EQ(Screen->MonitorBounds(1), Bounds(1280, 0, 1920, 1080));
  EXPECT_EQ(Screen->MonitorBounds(2), Bounds(-800, 100, 800, 600));
}

}  // namespace
