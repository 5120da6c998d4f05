// Painting a window: order of graphic and windowed controls, transparency,
// direct paints, clipping.
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

using vark::test::TProbe;
using vark::test::UiTest;
using Painting = UiTest;

// A graphic control that fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  TSwatch(TComponent* owner, TColor fill) : TGraphicControl(owner), fill_(fill) {}

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(fill_);
    Canvas().FillRect(ClientRect());
  }

 private:
  TColor fill_;
};

// A transparent control that paints only a 4 × 4 square at its top-left.
class TSpot : public TCustomTransparentControl {
 public:
  TSpot(TComponent* owner, TColor fill) : TCustomTransparentControl(owner), fill_(fill) {}

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(fill_);
    Canvas().FillRect(Rect(0, 0, 4, 4));
  }

 private:
  TColor fill_;
};

TEST_F(Painting, GraphicControlsLieBeneathWindowedSiblingsWhateverTheOrder) {
  auto form = ShownForm();
  // The windowed probe is made first, the graphic swatch after it: the swatch
  // still paints beneath, as on the classic desktop.
  Place<TProbe>(*form, *form, 10, 10, 40, 40, "w", clBlue, nullptr);
  Place<TSwatch>(*form, *form, 30, 30, 40, 40, clRed);
  EXPECT_EQ(ui->pixel(*form, 35, 35), clBlue);  // overlap
  EXPECT_EQ(ui->pixel(*form, 60, 60), clRed);   // swatch alone
  EXPECT_EQ(ui->pixel(*form, 5, 5), clWhite);   // the form
}

TEST_F(Painting, WindowedSiblingsPaintInCreationOrderUntilBroughtToFront) {
  auto form = ShownForm();
  auto& first = Place<TProbe>(*form, *form, 10, 10, 40, 40, "a", clBlue, nullptr);
  Place<TProbe>(*form, *form, 30, 30, 40, 40, "b", clLime, nullptr);
  EXPECT_EQ(ui->pixel(*form, 35, 35), clLime);
  first.BringToFront();
  EXPECT_EQ(ui->pixel(*form, 35, 35), clBlue);
  first.SendToBack();
  EXPECT_EQ(ui->pixel(*form, 35, 35), clLime);
}

TEST_F(Painting, ChildrenAreClippedToTheirParent) {
  auto form = ShownForm();
  auto& panel = Place<TPanel>(*form, *form, 20, 20, 50, 50);
  panel.SetBevelOuter(bvNone);
  panel.SetParentBackground(false);
  panel.SetColor(clYellow);
  Place<TProbe>(panel, *form, 30, 30, 60, 60, "child", clBlue, nullptr);
  EXPECT_EQ(ui->pixel(*form, 55, 55), clBlue);    // inside the panel
  EXPECT_EQ(ui->pixel(*form, 25, 25), clYellow);  // panel's own
  EXPECT_EQ(ui->pixel(*form, 80, 80), clWhite);   // past the panel's edge
}

TEST_F(Painting, TransparentControlShowsItsParentAndTheSiblingsBeneath) {
  auto form = ShownForm();
  Place<TSwatch>(*form, *form, 0, 0, 30, 100, clRed);                 // graphic, beneath
  Place<TProbe>(*form, *form, 30, 0, 30, 100, "w", clBlue, nullptr);  // windowed, beneath
  auto& spot = Place<TSpot>(*form, *form, 20, 20, 60, 60, clLime);    // over both
  EXPECT_EQ(ui->pixel(*form, 21, 21), clLime);                        // what it paints
  EXPECT_EQ(ui->pixel(*form, 25, 50), clRed);                         // the graphic sibling shows
  EXPECT_EQ(ui->pixel(*form, 45, 50), clBlue);                        // the windowed sibling shows
  EXPECT_EQ(ui->pixel(*form, 70, 50), clWhite);                       // the parent shows
  // Repainting it (the framework's paint) keeps the ones beneath visible.
  spot.Repaint();
  EXPECT_EQ(ui->pixel(*form, 45, 50), clBlue);
}

TEST_F(Painting, DirectPaintDrawsAtOnceAndIsPresentedWithTheNextFrame) {
  auto form = ShownForm();
  auto& probe = Place<TProbe>(*form, *form, 10, 10, 20, 20, "p", clBlue, nullptr);
  EXPECT_EQ(ui->pixel(*form, 15, 15), clBlue);
  int frames = ui->presentCount();
  probe.SetFill(clRed);
  probe.PaintNow();
  TPoint o = form->ClientOffset();
  EXPECT_EQ(form->Surface()->ColorAt(15 + o.X, 15 + o.Y), clRed);       // in the back buffer
  EXPECT_EQ(ui->presented(*form).ColorAt(15 + o.X, 15 + o.Y), clBlue);  // not shown yet
  EXPECT_EQ(ui->presentCount(), frames);
  EXPECT_EQ(ui->pixel(*form, 15, 15), clRed);  // the next frame shows it
  ASSERT_EQ(ui->lastPresented().size(), 1u);
  EXPECT_EQ(ui->lastPresented()[0], Bounds(10 + o.X, 10 + o.Y, 20, 20));  // only its pixels
}

TEST_F(Painting, NothingOutsideAControlsBoundsIsTouched) {
  for (bool direct : {false, true}) {
    SCOPED_TRACE(direct ? "direct paint" : "framework paint");
    auto form = ShownForm();
    auto& probe = Place<TProbe>(*form, *form, 40, 40, 20, 20, "p", clBlue, nullptr);
    probe.overreach = true;
    if (direct) {
      probe.SetFill(clRed);
      probe.PaintNow();
    } else {
      probe.Invalidate();
    }
    TColor inside = direct ? clRed : clBlue;
    EXPECT_EQ(ui->pixel(*form, 40, 40), inside);
    EXPECT_EQ(ui->pixel(*form, 59, 59), inside);
    for (TPoint p :
         {TPoint{39, 45}, TPoint{60, 45}, TPoint{45, 39}, TPoint{45, 60}, TPoint{0, 0}}) {
      EXPECT_EQ(ui->pixel(*form, p.X, p.Y), clWhite) << p.X << "," << p.Y;
    }
  }
}

TEST_F(Painting, DirectPaintUnderACoveringSiblingLeavesTheSiblingOnTop) {
  auto form = ShownForm();
  auto& below = Place<TProbe>(*form, *form, 10, 10, 40, 40, "below", clBlue, nullptr);
  Place<TProbe>(*form, *form, 30, 30, 40, 40, "above", clLime, nullptr);
  below.SetFill(clRed);
  below.PaintNow();
  EXPECT_EQ(ui->pixel(*form, 20, 20), clRed);   // its own uncovered part
  EXPECT_EQ(ui->pixel(*form, 35, 35), clLime);  // still covered in the frame shown
}

TEST_F(Painting, HidingAndMovingRepaintWhatWasBeneath) {
  auto form = ShownForm();
  auto& probe = Place<TProbe>(*form, *form, 10, 10, 20, 20, "p", clBlue, nullptr);
  EXPECT_EQ(ui->pixel(*form, 15, 15), clBlue);
  probe.SetLeft(100);
  EXPECT_EQ(ui->pixel(*form, 15, 15), clWhite);
  EXPECT_EQ(ui->pixel(*form, 105, 15), clBlue);
  probe.Hide();
  EXPECT_EQ(ui->pixel(*form, 105, 15), clWhite);
}

TEST_F(Painting, OpaqueCustomControlIsErasedWithItsColourBeforeItPaints) {
  struct TEmpty : TCustomControl {
    using TCustomControl::TCustomControl;
  };
  auto form = ShownForm();
  auto& c = Place<TEmpty>(*form, *form, 10, 10, 20, 20);
  c.SetColor(clFuchsia);
  EXPECT_EQ(ui->pixel(*form, 15, 15), clFuchsia);
  c.SetParentBackground(true);
  EXPECT_EQ(ui->pixel(*form, 15, 15), clWhite);
}

TEST_F(Painting, FormCanvasDrawsInClientCoordinatesBeneathTheControls) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsSingle);  // a frame: the client area starts inside the window
  form->SetClientWidth(100);
  form->SetClientHeight(80);
  form->SetColor(clWhite);
  form->OnPaint = [&](TObject*) {
    form->Canvas().Brush().SetColor(clRed);
    form->Canvas().FillRect(Rect(0, 0, 10, 10));
  };
  form->Show();
  Place<TProbe>(*form, *form, 5, 5, 10, 10, "p", clBlue, nullptr);
  EXPECT_EQ(ui->pixel(*form, 0, 0), clRed);
  EXPECT_EQ(ui->pixel(*form, 7, 7), clBlue);  // the control paints over it
  EXPECT_EQ(ui->pixel(*form, 12, 2), clWhite);
}

TEST_F(Painting, ShapeRoundRectIndicatorLikeBar) {
  auto form = ShownForm();
  auto& shape = Place<TShape>(*form, *form, 40, 10, 6, 24);
  shape.SetShape(stRoundRect);
  shape.Brush().SetColor(clHighlight);
  shape.Pen().SetStyle(psClear);
  shape.Invalidate();
  EXPECT_EQ(ui->pixel(*form, 42, 20), ColorToRGB(clHighlight));
  EXPECT_EQ(ui->pixel(*form, 39, 20), clWhite);
  EXPECT_EQ(ui->pixel(*form, 46, 20), clWhite);
}

}  // namespace
