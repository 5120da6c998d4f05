// The standard widgets: label sizing and alignment, check box toggling, picture
// fitting, and the default error report.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Screen.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::UiTest;
using Widgets = UiTest;

// The horizontal extent of pixels darker than mid grey inside rect (client
// coordinates of form): where text was drawn.
std::pair<int, int> InkColumns(vark::HeadlessBackend& ui, TForm& form, const TRect& rect) {
  int left = 100000, right = -1;
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    for (int x = rect.Left; x < rect.Right; ++x) {
      if (GetGValue(ui.pixel(form, x, y)) < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  return {left, right};
}

// A label made as a form makes it: its properties set while the form loads,
// then sized once loading ends.
TLabel& LoadLabel(TForm& form, const TRect& bounds, const std::function<void(TLabel&)>& setUp) {
  form.BeginLoading();
  auto& label = form.Make<TLabel>();
  label.SetBoundsRect(bounds);
  label.SetParent(&form);
  setUp(label);
  form.EndLoading();
  return label;
}

TEST_F(Widgets, AutoSizedLabelFitsItsTextAndRightAlignedOneKeepsItsRightEdge) {
  auto form = ShownForm(400, 100);
  auto& left =
      LoadLabel(*form, Bounds(10, 10, 300, 40), [](TLabel& l) { l.SetCaption("Tidemark"); });
  TCanvas measure;
  measure.SetFont(left.Font());
  EXPECT_EQ(left.BoundsRect(),
            Bounds(10, 10, measure.TextWidth("Tidemark"), measure.TextHeight("Tidemark")));
  auto& right = LoadLabel(*form, Bounds(200, 50, 125, 13), [](TLabel& l) {
    l.SetAlignment(taRightJustify);
    l.SetBiDiMode(bdRightToLeft);
    l.SetCaption("Varkel Software");
  });
  EXPECT_EQ(right.Left() + right.Width(), 325);
  EXPECT_EQ(right.Width(), measure.TextWidth("Varkel Software"));
  right.SetCaption("Varkel");  // later changes keep the right edge too
  EXPECT_EQ(right.Left() + right.Width(), 325);
  auto& empty = LoadLabel(*form, Bounds(0, 80, 50, 50), [](TLabel&) {});
  EXPECT_EQ(empty.Height(), measure.TextHeight(" "));  // an empty label keeps a line
}

TEST_F(Widgets, LabelAlignmentAndLayoutPlaceTheText) {
  struct Case {
    TAlignment alignment;
    TTextLayout layout;
  };
  for (Case c :
       {Case{taLeftJustify, tlTop}, Case{taCenter, tlCenter}, Case{taRightJustify, tlBottom}}) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    auto form = ShownForm(300, 100);
    LoadLabel(*form, Bounds(0, 0, 300, 100), [&](TLabel& l) {
      l.SetAutoSize(false);
      l.SetTransparent(true);
      l.SetAlignment(c.alignment);
      l.SetLayout(c.layout);
      l.SetCaption("Options");
    });
    auto [inkLeft, inkRight] = InkColumns(*ui, *form, Rect(0, 0, 300, 100));
    ASSERT_LT(inkLeft, inkRight);
    int middle = (inkLeft + inkRight) / 2;
    if (c.alignment == taLeftJustify) {
      EXPECT_LT(inkLeft, 5);
    } else if (c.alignment == taCenter) {
      EXPECT_NEAR(middle, 150, 3);
    } else {
      EXPECT_GT(inkRight, 294);
    }
    // Top, middle or bottom: the rows with ink sit where the layout says.
    int top = 1000, bottom = -1;
    for (int y = 0; y < 100; ++y) {
      for (int x = inkLeft; x <= inkRight; ++x) {
        if (GetGValue(ui->pixel(*form, x, y)) < 128) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
    }
    if (c.layout == tlTop) {
      EXPECT_LT(top, 10);
    } else if (c.layout == tlCenter) {
      EXPECT_NEAR((top + bottom) / 2, 50, 6);
    } else {
      EXPECT_GT(bottom, 90);
    }
  }
}

TEST_F(Widgets, ARightToLeftLabelReadsFromTheRight) {
  // The footer's notice in a right-to-left label shows as its words in
  // visual order do in a left-to-right one; inherited, the mode does the same.
  auto read = ShownForm(200, 40);
  auto plain = ShownForm(200, 40);
  LoadLabel(*read, Bounds(10, 10, 150, 20), [](TLabel& l) {
    l.SetBiDiMode(bdRightToLeft);
    l.SetCaption("\u00A9 VarkelSoftware");
  });
  LoadLabel(*plain, Bounds(10, 10, 150, 20),
            [](TLabel& l) { l.SetCaption("VarkelSoftware \u00A9"); });
  read->SetBiDiMode(bdRightToLeft);
  LoadLabel(*read, Bounds(10, 25, 150, 20), [](TLabel& l) { l.SetCaption("(abc"); });
  LoadLabel(*plain, Bounds(10, 25, 150, 20), [](TLabel& l) { l.SetCaption("abc)"); });
  int differing = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x)
      differing += ui->pixel(*read, x, y) != ui->pixel(*plain, x, y) ? 1 : 0;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_LT(InkColumns(*ui, *read, Rect(0, 0, 200, 40)).first, 100);  // something was drawn
}

TEST_F(Widgets, WordWrappedLabelBreaksAtSpacesWithinItsWidth) {
  auto form = ShownForm(400, 200);
  auto& label = LoadLabel(*form, Bounds(10, 10, 235, 35), [](TLabel& l) {
    l.SetWordWrap(true);
    l.SetCaption(
        "To acess this menu you need to be in 16 bit color mode and in windowed mode. (F4)");
  });
  TCanvas measure;
  measure.SetFont(label.Font());
  int line = measure.TextHeight("W");
  EXPECT_EQ(label.Width(), 235);  // wrapping keeps the width
  EXPECT_GE(label.Height(), 2 * line);
  EXPECT_EQ(label.Height() % line, 0);
  auto [inkLeft, inkRight] = InkColumns(*ui, *form, Rect(0, 0, 400, 200));
  EXPECT_GE(inkLeft, 10);
  EXPECT_LT(inkRight, 245);
}

TEST_F(Widgets, OpaqueLabelFillsWithItsColourTransparentOneDoesNot) {
  auto form = ShownForm();
  auto& label = LoadLabel(*form, Bounds(10, 10, 50, 20), [](TLabel& l) {
    l.SetAutoSize(false);
    l.SetColor(clYellow);
  });
  EXPECT_EQ(ui->pixel(*form, 58, 28), clYellow);
  label.SetTransparent(true);
  EXPECT_EQ(ui->pixel(*form, 58, 28), clWhite);
}

TEST_F(Widgets, CheckBoxTogglesOnClickAndSpaceButNotOnAPressDraggedOff) {
  auto form = ShownForm(300, 100);
  auto& box = Place<TCheckBox>(*form, *form, 10, 10, 242, 17);
  box.SetCaption("Enable cheats menu");
  int clicks = 0;
  box.OnClick = [&](TObject*) { ++clicks; };
  ui->click(box);
  EXPECT_TRUE(box.Checked());
  EXPECT_TRUE(box.Focused());
  ui->pressKey(VK_SPACE);
  EXPECT_FALSE(box.Checked());
  ui->mouseDown(*form, 20, 15);
  ui->mouseMove(*form, 280, 80);
  ui->mouseUp(*form, 280, 80);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(clicks, 2);
  box.SetChecked(true);  // from code: OnClick too, as the classic check box does
  EXPECT_EQ(clicks, 3);
}

TEST_F(Widgets, CheckBoxCaptionOnTheLeftPutsTheBoxAtTheRightEdge) {
  auto form = ShownForm(300, 100);
  auto& box = Place<TCheckBox>(*form, *form, 10, 10, 242, 17);
  box.SetCaption("Enable cheats menu");
  box.SetAlignment(taLeftJustify);
  EXPECT_EQ(box.BoxRect(), Bounds(242 - 13, 2, 13, 13));
  // The box's centre pixel: white unticked, dark once ticked.
  int cx = 10 + 242 - 7, cy = 10 + 8;
  EXPECT_EQ(ui->pixel(*form, cx, cy), clWhite);
  box.SetChecked(true);
  EXPECT_LT(GetRValue(ui->pixel(*form, cx - 1, cy + 1)) + GetRValue(ui->pixel(*form, cx, cy)) +
                GetRValue(ui->pixel(*form, cx + 1, cy - 1)),
            3 * 200);
  // The caption's ink lies left of the box.
  auto [inkLeft, inkRight] = InkColumns(*ui, *form, Rect(10, 10, 10 + 242 - 14, 27));
  EXPECT_GE(inkLeft, 10);
  EXPECT_LT(inkRight, 10 + 242 - 13);
}

TEST_F(Widgets, FocusRectangleShowsOnceTheKeyboardIsUsed) {
  auto form = ShownForm(300, 100);
  auto& other = Place<TCheckBox>(*form, *form, 10, 50, 100, 17);
  auto& box = Place<TCheckBox>(*form, *form, 10, 10, 200, 17);
  box.SetCaption("Caption");
  other.SetCaption("Other");
  TBitmap before;
  before.Assign(ui->surface(*form));
  form->FocusControl(&box);  // focused by code: no rectangle yet
  auto differs = [&] {
    const TBitmap& now = ui->surface(*form);
    for (int y = 0; y < now.Height(); ++y)
      for (int x = 0; x < now.Width(); ++x)
        if (now.PixelAt(x, y) != before.PixelAt(x, y)) return true;
    return false;
  };
  EXPECT_FALSE(differs());
  ui->pressKey(VK_TAB, {ssShift});
  ui->pressKey(VK_TAB);
  EXPECT_TRUE(box.Focused());
  EXPECT_TRUE(differs());
}

TEST_F(Widgets, ProportionalImageShrinksToFitButNeverGrows) {
  struct Case {
    int picW, picH, boxW, boxH;
    bool stretch;
    TRect expected;
  };
  const Case cases[] = {
      {128, 128, 33, 33, false, Rect(0, 0, 33, 33)},  // shrunk
      {16, 16, 33, 33, false, Rect(0, 0, 16, 16)},    // never enlarged
      {256, 128, 33, 33, false, Rect(0, 0, 33, 16)},  // aspect kept
      {100, 300, 33, 33, false, Rect(0, 0, 11, 33)},
      {16, 16, 33, 33, true, Rect(0, 0, 33, 33)},  // Stretch enlarges, aspect kept
  };
  for (const Case& c : cases) {
    auto form = ShownForm();
    auto& image = Place<TImage>(*form, *form, 0, 0, c.boxW, c.boxH);
    auto bitmap = std::make_unique<TBitmap>(c.picW, c.picH);
    image.Picture().SetGraphic(std::move(bitmap));
    image.SetProportional(true);
    image.SetStretch(c.stretch);
    EXPECT_EQ(image.DestRect(), c.expected) << c.picW << "x" << c.picH;
  }
}

TEST_F(Widgets, ImagePaintsItsPictureScaledIntoTheDestination) {
  auto form = ShownForm();
  auto& image = Place<TImage>(*form, *form, 10, 10, 40, 20);
  auto bitmap = std::make_unique<TBitmap>(4, 2);
  bitmap->SetPixelFormat(pf24bit);
  bitmap->Canvas().Brush().SetColor(clRed);
  bitmap->Canvas().FillRect(Rect(0, 0, 4, 2));
  image.Picture().SetGraphic(std::move(bitmap));
  image.SetStretch(true);
  EXPECT_EQ(ui->pixel(*form, 10, 10), clRed);
  EXPECT_EQ(ui->pixel(*form, 49, 29), clRed);
  EXPECT_EQ(ui->pixel(*form, 50, 29), clWhite);
}

TEST_F(Widgets, UnhandledErrorIsReportedInAModalBoxAndTheLoopGoesOn) {
  auto form = ShownForm();
  auto& button = Place<TButton>(*form, *form, 10, 10, 75, 25);
  int clicks = 0;
  button.OnClick = [&](TObject*) {
    ++clicks;
    throw std::runtime_error("Cannot open file \"AppSettings.txt\". No such file or directory");
  };
  std::string shown, title;
  bool hasOk = false;
  int reports = 0;
  ui->OnIdle = [&] {
    ++reports;
    TCustomForm* box = Application->ModalForm();
    ASSERT_NE(box, nullptr);
    if (auto* message = dynamic_cast<TLabel*>(box->FindComponent("Message"))) {
      shown = message->Caption();
    }
    title = box->Caption();
    auto* ok = dynamic_cast<TButton*>(box->FindComponent("OK"));
    hasOk = ok != nullptr && ok->Caption() == "OK";
    ui->pressKey(VK_RETURN);  // the OK button is the default one
  };
  ui->click(button);
  EXPECT_EQ(shown, "Cannot open file \"AppSettings.txt\". No such file or directory.");
  EXPECT_EQ(title, Application->Title());
  EXPECT_TRUE(hasOk);
  EXPECT_EQ(Application->ModalForm(), nullptr);
  ui->click(button);  // and again: the loop went on
  ui->OnIdle = nullptr;
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(reports, 2);
}

TEST_F(Widgets, OnExceptionReplacesTheDefaultReport) {
  auto form = ShownForm();
  auto& button = Place<TButton>(*form, *form, 10, 10, 75, 25);
  button.OnClick = [](TObject*) { throw std::runtime_error("boom"); };
  std::string seen;
  Application->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
  ui->click(button);
  Application->OnException = nullptr;
  EXPECT_EQ(seen, "boom");
}

}  // namespace
