// CButton content: the caption, the second line and an icon glyph or a
// picture beside, above or below the caption, drawn on the face bitmap.
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "controls/Vark.Button.h"
#include "support/Vark.Graphics.h"
#include "support/Vark.VarHelpers.h"

namespace {

// The glyph of each CButtonIcon (cicSegoeFluent takes BSegoeIcon instead).
// Three carry a trailing space, which moves their glyph a little left of the
// box's centre.
constexpr std::array<std::string_view, 20> kGlyphs = {
    "",            // cicNone
    "",            // cicSegoeFluent
    "\u2714",      // cicYes
    "\u274C",      // cicNo
    "\u2705 ",     // cicTrueYes
    "\U0001F6AB",  // cicNoAllow
    "\u2754 ",     // cicQuestion
    "\u26A0",      // cicWarning
    "\u27A4",      // cicStart
    "\u1405",      // cicNext
    "\u140A",      // cicBack
    "\u1403",      // cicUp
    "\u1401",      // cicDown
    "\u279C",      // cicArrow
    "\u27A5",      // cicEnter
    "\U0001F501",  // cicRetry
    "\u25BC ",     // cicDownload
    "\u25B2",      // cicUpload
    "\U0001F50E",  // cicSearch
    "\U0001F50D",  // cicSearchL
};

// Put in front of the caption when the glyph or picture cannot be laid out.
constexpr std::string_view kFailureMark = "\U0001F6AB";

const std::string kFluentIconFont = "Segoe Fluent Icons";
const std::string kMetroIconFont = "Segoe MDL2 Assets";

// The layout's arithmetic fails where the extended-precision arithmetic it
// mirrors would raise: a division by zero, or a result that is no integer.
struct LayoutFault : std::runtime_error {
  LayoutFault() : std::runtime_error("the button's picture cannot be laid out") {}
};

long double Divide(long double a, long double b) {
  if (b == 0) throw LayoutFault();
  return a / b;
}

int RoundChecked(long double v) {
  const long double r = std::nearbyintl(v);
  if (!std::isfinite(r) || r < std::numeric_limits<int>::min() ||
      r > std::numeric_limits<int>::max()) {
    throw LayoutFault();
  }
  return static_cast<int>(r);
}

}  // namespace

const TBitmap* CButton::PictureBitmap() {
  const TGraphic* graphic = FBitmap->Graphic();
  if (graphic == nullptr) return nullptr;
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic)) return bitmap;
  // Other pictures are converted once, not on every paint.
  if (!FPictureBitmapValid) {
    if (!FPictureBitmap) FPictureBitmap = std::make_unique<TBitmap>();
    GraphicAssignToBitmap(*FPictureBitmap, graphic);
    FPictureBitmapValid = true;
  }
  return FPictureBitmap.get();
}

void CButton::PaintContent(TCanvas& c) {
  const int W = Width();
  const int H = Height();
  const int P = c.Pen().Width();

  // 1. Font auto-size: the caption's font grows or shrinks with the button's
  // width. An empty caption (or one without width) has no width to divide by;
  // the font then keeps its size.
  if (FFontAutoSize->FEnabled && !FText.empty()) {
    if (const int textWidth = c.TextWidth(FText); textWidth != 0) {
      int size = static_cast<int>(std::trunc(static_cast<long double>(W - P) / textWidth * 7));
      if (FFontAutoSize->FMax != -1 && size > FFontAutoSize->FMax) size = FFontAutoSize->FMax;
      if (FFontAutoSize->FMin != -1 && size < FFontAutoSize->FMin) size = FFontAutoSize->FMin;
      c.Font().SetSize(size);
    }
  }

  // 2.-3. The caption and the boxes.
  std::string_view TText = FEnableCaption ? std::string_view(FText) : std::string_view();
  int SC = FEnableCaption ? 5 : 0;
  int TLeft = 0, TTop = 0, ILeft = 0, ITop = 0;
  const int TWidth = c.TextWidth(TText);
  const int THeight = c.TextHeight(TText);
  int IHeight = THeight;
  int IWidth = 0;
  int SLeft = 0, STop = 0, SWidth = 0, SHeight = 0;

  // 4. The second line takes the caption's colour, and is measured in the
  // caption's font: it is placed as if it were as large as the caption.
  if (FEnableSubText) {
    FSubTextFont.SetColor(c.Font().Color());
    SHeight = c.TextHeight(FSubText);
    SWidth = c.TextWidth(FSubText);
  }

  // 5.-7.
  c.Brush().SetStyle(bsClear);
  if (!Enabled()) c.Font().SetColor(ClrGray(c.Font().Color()));
  // An icon value past the table (a cast from a stored number) shows no glyph.
  const std::string_view IcoText = FCIcon == cicSegoeFluent  ? std::string_view(FSegoeIcon)
                                   : FCIcon < kGlyphs.size() ? kGlyphs[FCIcon]
                                                             : std::string_view();

  bool fontSaved = false;
  try {
    // 8.-10. The icon or picture box: as high as the caption, a picture as
    // wide as its proportions ask (at most the button's width).
    if (IHeight == 0) IHeight = RoundChecked(H / 1.2L);
    TGraphic* graphic = FBitmap->Graphic();
    const bool hasPicture = graphic != nullptr;
    if (hasPicture) {
      const int pw = graphic->Width();
      const int ph = graphic->Height();
      IWidth = RoundChecked(Divide(pw, Divide(ph, IHeight)));
      if (W - 2 * FPen->FWidth < IWidth) {
        IWidth = RoundChecked(W / 1.2L);
        IHeight = RoundChecked(Divide(ph, Divide(pw, IWidth)));
      }
    } else {
      IWidth = 0;
    }
    if (IWidth == 0) IWidth = IHeight;

    // 11. A glyph above or below the caption is half as large again.
    if ((FImageLayout == cpTop || FImageLayout == cpBottom) && !hasPicture && !TText.empty()) {
      IWidth += IWidth / 2;
      IHeight += IHeight / 2;
    }
    // 12. Nothing beside the caption.
    if (FCIcon == cicNone && !hasPicture) {
      IWidth = 0;
      IHeight = 0;
      SC = 0;
    }

    // 13. Positions.
    const int P2 = P + FTxtWSpace;  // from the edge to the content
    switch (FImageLayout) {
      case cpTop:
        TTop = H / 2 - THeight / 2 + IHeight / 2 - SHeight / 2;
        STop = TTop + SHeight;
        ITop = TTop - SC - IHeight;
        break;
      case cpBottom:
        TTop = H / 2 - THeight / 2 - IHeight / 2 - SHeight / 2;
        STop = TTop + SHeight;
        ITop = TTop + SC + IHeight + SHeight;
        break;
      default:
        TTop = H / 2 - THeight / 2 - SHeight / 2;
        STop = TTop + SHeight;
        ITop = TTop;
        break;
    }
    switch (FImageLayout) {
      case cpLeft:
        if (FAlign == taLeftJustify) {
          TLeft = P2 + 2 * SC + IWidth;
          ILeft = P2 + SC;
        } else if (FAlign == taRightJustify) {
          TLeft = W - P2 - SC - TWidth;
          ILeft = TLeft - IWidth - SC;
        } else {
          TLeft = W / 2 - TWidth / 2 + IWidth / 2;
          ILeft = TLeft - IWidth - SC;
        }
        break;
      case cpRight:
        if (FAlign == taLeftJustify) {
          TLeft = P2 + SC;
          ILeft = TLeft + TWidth + SC;
        } else if (FAlign == taRightJustify) {
          TLeft = W - P2 - 2 * SC - TWidth - IWidth;
          ILeft = W - P2 - SC - IWidth;
        } else {
          TLeft = W / 2 - TWidth / 2 - IWidth / 2;
          ILeft = TLeft + TWidth + SC;
        }
        break;
      default:  // cpTop, cpBottom
        if (FAlign == taLeftJustify) {
          TLeft = P2 + SC;
          ILeft = P2 + SC;
        } else if (FAlign == taRightJustify) {
          TLeft = W - P2 - SC - TWidth;
          ILeft = W - P2 - SC - IWidth;
        } else {
          TLeft = W / 2 - TWidth / 2;
          ILeft = W / 2 - IWidth / 2;
        }
        break;
    }

    // 14. The second line's left edge.
    if (FAlign == taLeftJustify) {
      SLeft = TLeft;
    } else if (FAlign == taRightJustify) {
      SLeft = TLeft + TWidth - SWidth;
    } else {
      SLeft = W / 2 - SWidth / 2;
    }

    // 15. Without a caption the box is centred.
    if (TText.empty()) {
      ILeft = W / 2 - IWidth / 2;
      ITop = H / 2 - IHeight / 2;
    }

    // 16. The picture, or the glyph.
    if (hasPicture) {
      graphic->SetTransparent(true);
      const uint8_t BOpacity = Enabled() ? 255 : 100;
      if (const TBitmap* bitmap = PictureBitmap()) {
        TCanvasHelper::DrawHighQuality(c, Rect(ILeft, ITop, ILeft + IWidth, ITop + IHeight),
                                       *bitmap, BOpacity, false);
      }
    } else {
      FGlyphSavedFont.Assign(c.Font());
      fontSaved = true;
      c.Font().Reset();
      if (FCIcon == cicSegoeFluent)
        c.Font().SetName(FSegoeMetro ? kMetroIconFont : kFluentIconFont);
      c.Font().SetColor(FGlyphSavedFont.Color());
      // The size is searched on the button's own canvas, in that canvas's font.
      c.Font().SetSize(GetMaxFontSize(Canvas(), IcoText, IWidth, IHeight));
      const int gw = c.TextWidth(IcoText);
      const int gh = c.TextHeight(IcoText);
      if (TText.empty()) {
        ILeft = W / 2 - gw / 2;
      } else {
        ILeft = ILeft + (IWidth - gw) / 2;
      }
      ITop = ITop + (IHeight - gh) / 2;
      c.TextOut(ILeft, ITop, IcoText);
      c.Font().Assign(FGlyphSavedFont);
      fontSaved = false;
    }
  } catch (const std::exception&) {
    // The caption still shows, marked; the stored Text stays as it is.
    if (fontSaved) c.Font().Assign(FGlyphSavedFont);
    FFailedCaption.assign(kFailureMark);
    FFailedCaption.append(TText);
    TText = FFailedCaption;
  }

  // 17.-18. The caption, then the second line in its own font.
  c.TextOut(TLeft, TTop, TText);
  if (FEnableSubText) {
    c.Font().Assign(FSubTextFont);
    c.TextOut(SLeft, STop, FSubText);
  }
}
