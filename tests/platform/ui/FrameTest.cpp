// The frame drawn around forms: the plain title bar and its buttons, the
// custom title bar's buttons and panel, and writing a window to a PNG.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/Button.h"
#include "platform/ui/FormWindow.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::TProbe;
using vark::test::UiTest;
using Frame = UiTest;

TEST_F(Frame, PlainTitleBarDragsAndItsCloseButtonCloses) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons({biSystemMenu});
  form->SetPosition(poDesigned);
  form->SetBounds(100, 100, 300, 200);
  form->SetCaption("Plain");
  form->Show();
  TRect close = form->CaptionButtonRect(vark::ui::cbCloseButton);
  EXPECT_EQ(close, Rect(300 - 3 - 46, 0, 300 - 3, TCustomForm::kCaptionHeight));
  EXPECT_TRUE(form->CaptionButtonRect(vark::ui::cbMinimizeButton).IsEmpty());
  // Hovering the close button turns it red.
  ui->mouseMoveScreen(100 + close.Left + 5, 100 + 5);
  EXPECT_EQ(ui->surface(*form).ColorAt(close.Left + 5, 5), RGB(232, 17, 35));
  // Drag by the bar.
  ui->mouseDownScreen(150, 110);
  ui->mouseMoveScreen(170, 140);
  ui->mouseUpScreen(170, 140);
  EXPECT_EQ(form->BoundsRect().TopLeft(), (TPoint{120, 130}));
  // A press on the close button that is released elsewhere does nothing; a click closes.
  int closes = 0;
  form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  ui->mouseDownScreen(120 + close.Left + 5, 130 + 5);
  ui->mouseUpScreen(120 + close.Left - 50, 130 + 5);
  EXPECT_EQ(closes, 0);
  ui->mouseDownScreen(120 + close.Left + 5, 130 + 5);
  ui->mouseUpScreen(120 + close.Left + 5, 130 + 5);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(form->Visible());
}

TEST_F(Frame, CustomTitleBarButtonsUseTheButtonColours) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons({biSystemMenu, biMinimize});
  form->SetPosition(poDesigned);
  form->SetClientWidth(300);
  form->SetClientHeight(100);
  TCustomTitleBar& tb = form->CustomTitleBar();
  tb.SetEnabled(true);
  tb.SetSystemColors(false);
  tb.SetBackgroundColor(0x00212121);
  tb.SetButtonBackgroundColor(0x00212121);
  tb.SetButtonHoverBackgroundColor(0x00414141);
  form->Show();
  TRect minimize = form->CaptionButtonRect(vark::ui::cbMinimizeButton);
  ASSERT_FALSE(minimize.IsEmpty());
  EXPECT_EQ(ui->surface(*form).ColorAt(minimize.Left + 3, 3), 0x00212121u);
  ui->mouseMoveScreen(form->Left() + minimize.Left + 3, form->Top() + 3);
  EXPECT_EQ(ui->surface(*form).ColorAt(minimize.Left + 3, 3), 0x00414141u);
  ui->click(*form, minimize.Left - 3 + 3, 3);  // client x = window x - 3
  EXPECT_EQ(form->WindowState(), wsMinimized);
  tb.SetSystemButtons(false);  // the main window's: no buttons at all
  EXPECT_TRUE(form->CaptionButtonRect(vark::ui::cbMinimizeButton).IsEmpty());
}

TEST_F(Frame, TitleBarPanelSpansTheBandAndLetsPressesDragTheWindow) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetPosition(poDesigned);
  form->SetBounds(200, 200, 306, 203);
  form->CustomTitleBar().SetEnabled(true);
  auto& panel = form->Make<TTitleBarPanel>();
  panel.SetParent(form.get());
  form->CustomTitleBar().SetControl(&panel);
  form->Show();
  EXPECT_EQ(panel.Height(), TCustomTitleBar::kDefaultHeight);
  EXPECT_EQ(panel.BoundsRect(), Rect(0, 0, form->ClientWidth(), 30));
  // Clear of the caption buttons, which lie above the band at its right end.
  auto& onPanel = Place<TProbe>(panel, *form, 100, 5, 20, 20, "on", clBlue, nullptr);
  int clicks = 0;
  onPanel.OnClick = [&](TObject*) { ++clicks; };
  ui->click(onPanel);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(form->IsCaptionAt(3 + 50, 10));
  ui->mouseDownScreen(200 + 3 + 50, 210);
  ui->mouseMoveScreen(200 + 3 + 60, 230);
  ui->mouseUpScreen(200 + 3 + 60, 230);
  EXPECT_EQ(form->BoundsRect().TopLeft(), (TPoint{210, 220}));
}

TEST_F(Frame, SaveToPNGWritesTheWholeWindow) {
  auto form = ShownForm(40, 30, bsSingle);
  Place<TProbe>(*form, *form, 0, 0, 10, 10, "p", clRed, nullptr);
  // Our paths are UTF-8 on every platform (the temporary folder may hold the
  // user's name).
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "vark-window.png";
  const std::u8string utf8 = file.u8string();
  const std::string path(utf8.begin(), utf8.end());
  ui->SaveToPNG(*form, path);
  TPicture picture;
  picture.LoadFromFile(path);
  std::filesystem::remove(file);
  TBitmap back;
  back.Assign(*picture.Graphic());
  const TBitmap& shown = ui->surface(*form);
  ASSERT_EQ(back.Width(), shown.Width());
  ASSERT_EQ(back.Height(), shown.Height());
  for (int y = 0; y < back.Height(); ++y) {
    for (int x = 0; x < back.Width(); ++x) {
      ASSERT_EQ(back.ColorAt(x, y), shown.ColorAt(x, y)) << x << "," << y;
    }
  }
  TPoint o = form->ClientOffset();
  EXPECT_EQ(back.ColorAt(o.X + 5, o.Y + 5), clRed);
}

}  // namespace
