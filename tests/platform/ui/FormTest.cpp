// Forms: frame geometry, the custom title bar, dragging by the caption, the
// size message, closing, placement, alignment and scaling.
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Screen.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::TProbe;
using vark::test::UiTest;
using Forms = UiTest;

// A form with the main window's frame: the custom title bar, 26 pixels high.
std::unique_ptr<TForm> TitledForm(int clientWidth, int clientHeight) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons({biSystemMenu, biMinimize});
  form->SetPosition(poDesigned);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(clientHeight);
  form->SetColor(0x00212121);
  TCustomTitleBar& tb = form->CustomTitleBar();
  tb.SetEnabled(true);
  tb.SetHeight(26);
  tb.SetCaptionAlignment(taCenter);
  tb.SetSystemColors(false);
  tb.SetSystemButtons(false);
  tb.SetBackgroundColor(0x00212121);
  tb.SetInactiveBackgroundColor(0x00212121);
  tb.SetForegroundColor(clWhite);
  tb.SetInactiveForegroundColor(0x00999999);
  form->SetCaption("Valdor III Launcher");
  return form;
}

TEST_F(Forms, FrameGeometryFollowsTheTitleBarAndBorderStyle) {
  struct Case {
    const char* name;
    TFormBorderStyle border;
    bool customTitle;
    int extraWidth, extraHeight;
    TPoint clientOffset;
  };
  const Case cases[] = {
      {"custom title bar", bsSingle, true, 6, 3, {3, 0}},
      {"plain frame",
       bsSingle,
       false,
       6,
       TCustomForm::kCaptionHeight + 3,
       {3, TCustomForm::kCaptionHeight}},
      {"no border", bsNone, false, 0, 0, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm<TForm>(nullptr);
    form->SetClientWidth(794);  // set before the frame: the client size is kept
    form->SetClientHeight(571);
    form->SetBorderStyle(c.border);
    form->CustomTitleBar().SetEnabled(c.customTitle);
    EXPECT_EQ(form->ClientWidth(), 794);
    EXPECT_EQ(form->ClientHeight(), 571);
    EXPECT_EQ(form->Width(), 794 + c.extraWidth);
    EXPECT_EQ(form->Height(), 571 + c.extraHeight);
    EXPECT_EQ(form->ClientOffset(), c.clientOffset);
  }
}

TEST_F(Forms, CustomTitleBarPaintsTheBandBorderAndCentredCaption) {
  auto form = TitledForm(300, 100);
  form->Show();
  const TBitmap& s = ui->surface(*form);
  EXPECT_EQ(s.Width(), 306);
  EXPECT_EQ(s.Height(), 103);
  // The 3-pixel border in the band's colour, on three sides.
  for (TPoint p : {TPoint{0, 50}, TPoint{2, 50}, TPoint{305, 50}, TPoint{150, 102}}) {
    EXPECT_EQ(s.ColorAt(p.X, p.Y), 0x00212121u) << p.X << "," << p.Y;
  }
  // The caption is white text centred in the band: bright pixels around the middle only.
  int brightLeft = 1000, brightRight = -1;
  for (int y = 3; y < 26; ++y) {
    for (int x = 3; x < 303; ++x) {
      if (GetRValue(s.ColorAt(x, y)) > 200) {
        brightLeft = std::min(brightLeft, x);
        brightRight = std::max(brightRight, x);
      }
    }
  }
  ASSERT_LT(brightLeft, brightRight);
  int middle = (brightLeft + brightRight) / 2;
  EXPECT_NEAR(middle, 153, 3);
}

TEST_F(Forms, PressingTheTitleBandDragsTheWindowUnlessAControlTakesIt) {
  auto form = TitledForm(300, 100);
  form->SetLeft(200);
  form->SetTop(150);
  form->Show();
  auto& inBand = Place<TProbe>(*form, *form, 250, 2, 20, 20, "x", clBlue, nullptr);
  int clicks = 0;
  inBand.OnClick = [&](TObject*) { ++clicks; };
  // Press on the empty band, move, release: the window follows.
  TPoint start = form->ClientToScreen({100, 10});
  ui->mouseDownScreen(start.X, start.Y);
  ui->mouseMoveScreen(start.X + 40, start.Y + 25);
  ui->mouseMoveScreen(start.X + 70, start.Y + 35);
  ui->mouseUpScreen(start.X + 70, start.Y + 35);
  EXPECT_EQ(form->Left(), 270);
  EXPECT_EQ(form->Top(), 185);
  EXPECT_EQ(ui->windowBounds(*form).TopLeft(), (TPoint{270, 185}));
  // A press on the control in the band is the control's.
  ui->click(inBand);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->Left(), 270);
  EXPECT_FALSE(form->IsCaptionAt(3 + 255, 5));
  EXPECT_TRUE(form->IsCaptionAt(3 + 100, 5));
  EXPECT_FALSE(form->IsCaptionAt(3 + 100, 40));  // below the band
}

TEST_F(Forms, CaptionDragRequestFromAMouseDownHandler) {
  auto form = ShownForm(300, 200);
  auto& background = Place<TImage>(*form, *form, 0, 0, 300, 200);
  int clicks = 0;
  background.OnClick = [&](TObject*) { ++clicks; };
  background.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    ReleaseCapture();
    form->Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
  };
  TPoint start = form->ClientToScreen({50, 50});
  ui->mouseDownScreen(start.X, start.Y);
  ui->mouseMoveScreen(start.X - 30, start.Y + 20);
  ui->mouseUpScreen(start.X - 30, start.Y + 20);
  EXPECT_EQ(form->Left(), 70);
  EXPECT_EQ(form->Top(), 120);
  EXPECT_EQ(clicks, 0);  // a drag is no click

  // The same request with the right button held drags until that button
  // comes up.
  start = form->ClientToScreen({50, 50});
  ui->mouseDownScreen(start.X, start.Y, mbRight);
  ui->mouseMoveScreen(start.X + 40, start.Y + 40);
  ui->mouseUpScreen(start.X + 40, start.Y + 40, mbRight);
  ui->mouseMoveScreen(start.X + 80, start.Y + 80);
  EXPECT_EQ(form->BoundsRect().TopLeft(), (TPoint{110, 160}));
}

// The main window's size handler: undo a maximise and keep the message from
// the framework (no re-aligning, no anchored moves).
class TKeepSizeForm : public TForm {
 public:
  using TForm::TForm;
  void WMSize(TWMSize& Message) override {
    ++messages;
    if (WindowState() == wsMaximized) SetWindowState(wsNormal);
    (void)Message;
  }
  int messages = 0;
};

TEST_F(Forms, SizeMessageHookKeepsTheFrameworkAwayAndUndoesAMaximise) {
  auto form = MakeForm<TKeepSizeForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetPosition(poDesigned);
  form->SetBounds(100, 100, 400, 300);
  auto& anchored = Place<TProbe>(*form, *form, 350, 10, 20, 20, "x", clBlue, nullptr);
  anchored.SetAnchors({akTop, akRight});
  form->Show();
  form->SetWidth(500);
  EXPECT_EQ(anchored.Left(), 350);  // not moved: the form kept the message
  ui->setWindowState(*form, wsMaximized);
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 500, 300));
  EXPECT_GT(form->messages, 0);
}

TEST_F(Forms, WithoutTheHookAnchoredControlsFollowTheEdges) {
  auto form = ShownForm(400, 300);
  auto& right = Place<TProbe>(*form, *form, 350, 10, 20, 20, "r", clBlue, nullptr);
  right.SetAnchors({akTop, akRight});
  auto& both = Place<TProbe>(*form, *form, 10, 250, 380, 20, "b", clBlue, nullptr);
  both.SetAnchors({akLeft, akRight, akBottom});
  form->SetClientWidth(500);
  form->SetClientHeight(350);
  EXPECT_EQ(right.Left(), 450);
  EXPECT_EQ(both.BoundsRect(), Bounds(10, 300, 480, 20));
  ui->setWindowState(*form, wsMaximized);
  EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 1920, 1080));
  EXPECT_EQ(right.Left(), 1920 - 50);
  ui->setWindowState(*form, wsNormal);
  EXPECT_EQ(form->ClientWidth(), 500);
}

TEST_F(Forms, CloseAsksOnCloseQueryAndClosingTheMainFormEndsTheApplication) {
  auto form = ShownForm();
  bool allow = false;
  int asked = 0;
  form->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = allow;
  };
  ui->requestClose(*form);
  EXPECT_TRUE(form->Visible());
  allow = true;
  ui->requestClose(*form);
  EXPECT_FALSE(form->Visible());  // not the main form: hidden
  EXPECT_EQ(asked, 2);

  TForm* main = nullptr;
  Application->CreateForm(main);
  ASSERT_EQ(Application->MainForm(), main);
  TCloseAction seen = caNone;
  main->OnClose = [&](TObject*, TCloseAction& action) { seen = action; };
  ui->OnIdle = [&] { ui->requestClose(*main); };
  Application->Run();  // returns once the main form closed
  ui->OnIdle = nullptr;
  EXPECT_EQ(seen, caHide);
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(Forms, ScreenCentreUsesTheOuterSizeAndTheFullScreen) {
  ui->setScreenSize(1920, 1080);
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);
  form->SetPosition(poScreenCenter);
  form->SetClientWidth(795);  // outer 801
  form->SetClientHeight(400);
  form->Show();
  EXPECT_EQ(form->Width(), 801);
  EXPECT_EQ(form->Left(), 960 - 400);
  EXPECT_EQ(form->Top(), 540 - form->Height() / 2);
}

TEST_F(Forms, GetParentFormFindsTheTopForm) {
  auto form = ShownForm();
  auto& panel = Place<TPanel>(*form, *form, 0, 0, 100, 100);
  auto& label = Place<TLabel>(panel, *form, 0, 0, 10, 10);
  EXPECT_EQ(GetParentForm(&label), form.get());
  EXPECT_EQ(GetParentForm(form.get()), form.get());
  TLabel loose(nullptr);
  EXPECT_EQ(GetParentForm(&loose), nullptr);
}

TEST_F(Forms, AlignWithMarginsLaysOutAnEditionRow) {
  auto form = ShownForm(400, 200);
  auto& row = Place<TPanel>(*form, *form, 53, 100, 337, 35);
  row.SetBevelOuter(bvNone);
  auto& picture = Place<TImage>(row, *form, 0, 0, 33, 33);
  picture.SetAlign(alLeft);
  picture.Margins().SetMargins(5, 1, 5, 1);
  picture.SetAlignWithMargins(true);
  auto& caption = form->Make<TLabel>();
  caption.SetAutoSize(false);
  caption.SetBounds(60, 0, 80, 20);
  caption.SetParent(&row);
  caption.SetAlign(alLeft);
  caption.SetAlignWithMargins(true);
  EXPECT_EQ(picture.BoundsRect(), Bounds(5, 1, 33, 33));
  EXPECT_EQ(caption.BoundsRect(), Bounds(46, 3, 80, 29));
  auto& top = Place<TPanel>(row, *form, 0, 0, 10, 8);
  top.SetAlign(alTop);
  EXPECT_EQ(top.BoundsRect(), Bounds(0, 0, 337, 8));
  EXPECT_EQ(picture.BoundsRect(), Bounds(5, 9, 33, 25));  // what alTop left
}

TEST_F(Forms, FormIsScaledOnceAtCreationByTheDisplayScale) {
  ui->setScale(1.5);
  struct TBuilt : TForm {
    explicit TBuilt(TComponent* owner) : TForm(owner) {
      BeginLoading();
      SetBorderStyle(bsNone);
      SetClientWidth(200);
      SetClientHeight(100);
      Font().SetHeight(-12);
      child = &Make<TProbe>("c", clBlue, nullptr);
      child->SetBounds(10, 20, 30, 40);
      child->SetParent(this);
      EndLoading();
      OnCreate = [this](TObject*) { widthAtCreate = child->Width(); };
    }
    TProbe* child = nullptr;
    int widthAtCreate = 0;
  };
  auto form = MakeForm<TBuilt>(nullptr);
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->child->BoundsRect(), Bounds(15, 30, 45, 60));
  EXPECT_EQ(form->child->Font().Height(), -18);
  EXPECT_EQ(form->widthAtCreate, 45);  // OnCreate sees the scaled layout
  form->Show();                        // and showing scales nothing again
  EXPECT_EQ(form->child->Width(), 45);
}

TEST_F(Forms, ScalingTwiceAsLargeDoublesTheClientAndTheTitleBarOnce) {
  ui->setScale(2.0);
  struct TBuilt : TForm {
    explicit TBuilt(TComponent* owner) : TForm(owner) {
      BeginLoading();
      SetBorderStyle(bsSingle);
      CustomTitleBar().SetEnabled(true);
      CustomTitleBar().SetHeight(26);
      panel = &Make<TTitleBarPanel>();
      panel->SetParent(this);
      CustomTitleBar().SetControl(panel);
      SetClientWidth(200);
      SetClientHeight(100);
      // A floor the client height already clears: scaling must not apply it
      // to the old size and then double the result.
      Constraints().SetMinHeight(100);
      box = &Make<TCheckBox>();
      box->SetBounds(10, 40, 150, 17);
      box->SetParent(this);
      EndLoading();
    }
    TTitleBarPanel* panel = nullptr;
    TCheckBox* box = nullptr;
  };
  auto form = MakeForm<TBuilt>(nullptr);
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 200);
  EXPECT_EQ(form->Constraints().MinHeight(), 200);
  EXPECT_EQ(form->CustomTitleBar().Height(), 52);
  EXPECT_EQ(form->panel->Height(), 52);
  // The check box's box grows with its caption.
  EXPECT_EQ(form->box->BoxRect(), Bounds(0, (34 - 26) / 2, 26, 26));
}

TEST_F(Forms, TheLayoutFollowsTheScaleOfTheScreenItOpensOnAndIsMovedTo) {
  // The primary screen at 100 %, a second one to its right at 150 %.
  ui->setExtraScreens({Bounds(1920, 0, 1920, 1080)}, {1.5});
  auto build = [this](int left) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetPosition(poDesigned);
    form->SetBounds(left, 100, 200, 100);
    Place<TProbe>(*form, *form, 10, 20, 30, 40, "c", clBlue, nullptr);
    return form;
  };
  auto child = [](TForm& form) { return form.Controls(0)->BoundsRect(); };

  auto onPrimary = build(100);
  onPrimary->Show();
  EXPECT_EQ(onPrimary->PixelsPerInch(), 96);
  EXPECT_EQ(onPrimary->ClientWidth(), 200);

  auto onSecond = build(2000);  // opens at the second screen's scale
  onSecond->Show();
  EXPECT_EQ(onSecond->PixelsPerInch(), 144);
  EXPECT_EQ(onSecond->BoundsRect(), Bounds(2000, 100, 300, 150));
  EXPECT_EQ(child(*onSecond), Bounds(15, 30, 45, 60));

  // Dragged over to the primary screen: scaled by the ratio, placed where the
  // desktop suggests, at the layout's own size.
  ui->changeScale(*onSecond, 1.0, Bounds(1700, 120, 200, 100));
  EXPECT_EQ(onSecond->PixelsPerInch(), 96);
  EXPECT_EQ(onSecond->BoundsRect(), Bounds(1700, 120, 200, 100));
  EXPECT_EQ(ui->windowBounds(*onSecond), Bounds(1700, 120, 200, 100));
  EXPECT_EQ(child(*onSecond), Bounds(10, 20, 30, 40));
}

TEST_F(Forms, AnAutoSizedLabelFitsItsTextAtEveryScale) {
  for (double scale : {1.25, 1.5, 1.75, 2.0}) {
    SCOPED_TRACE(scale);
    ui->setScale(scale);
    struct TBuilt : TForm {
      explicit TBuilt(TComponent* owner) : TForm(owner) {
        BeginLoading();
        SetBorderStyle(bsNone);
        SetClientWidth(400);
        SetClientHeight(100);
        Font().SetName("Segoe UI");
        Font().SetHeight(-20);
        label = &Make<TLabel>();
        label->SetCaption("Ashen Vow");
        label->SetParent(this);
        EndLoading();
      }
      TLabel* label = nullptr;
    };
    auto form = MakeForm<TBuilt>(nullptr);
    TCanvas measure;
    measure.SetFont(form->label->Font());
    EXPECT_EQ(form->label->Width(), measure.TextWidth("Ashen Vow"));
  }
}

TEST_F(Forms, ParentColorAndFontFollowTheParentUntilSet) {
  auto form = ShownForm();
  form->Font().SetName("Tahoma");
  auto& panel = Place<TPanel>(*form, *form, 0, 0, 100, 100);
  auto& probe = Place<TProbe>(panel, *form, 0, 0, 10, 10, "p", clBlue, nullptr);
  panel.SetParentColor(true);
  form->SetColor(clRed);
  EXPECT_EQ(probe.Color(), clRed);
  EXPECT_EQ(probe.Font().Name(), "Tahoma");
  form->Font().SetName("Segoe UI");
  EXPECT_EQ(probe.Font().Name(), "Segoe UI");
  probe.Font().SetColor(clLime);  // its own from now on
  EXPECT_FALSE(probe.ParentFont());
  form->Font().SetName("Tahoma");
  EXPECT_EQ(probe.Font().Name(), "Segoe UI");
  probe.SetColor(clYellow);
  EXPECT_FALSE(probe.ParentColor());
  EXPECT_EQ(probe.Color(), clYellow);
}

}  // namespace
