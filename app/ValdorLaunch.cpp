// TForm1: creation, the close request, dragging by the background, the size
// message, and the window's side of the settings store (the load at start-up,
// the save at close, the two-second scan).
#include "app/ValdorLaunch.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "app/ScreenPlacement.h"
#include "app/ValdorLaunch.Store.h"
#include "controls/Vark.Dialogs.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"
#include "platform/ui/a11y/AccessibleList.h"
#include "support/Vark.SysUtils.h"

TForm1* Form1 = nullptr;

int gotopos = 0;
int indicheight = 0;
int maxs = 0;
int mins = 0;
int formsize = 800;

void RestoreAnimationStartState() {
  gotopos = 0;
  indicheight = 0;
  maxs = 0;
  mins = 0;
  formsize = 800;
}

// The window as the settings store sees it: its outer width and its place.
// The width waits until the place is known (the store reads it first): its
// pixels are those of the screen at that place. The window notes whether the
// store set anything, so that it can check the place it was given.
class TForm1::Placement : public WindowPlacement {
 public:
  explicit Placement(TForm1& form) : form_(form) {}

  int Width() const override { return form_.Width(); }
  int Top() const override { return form_.Top(); }
  int Left() const override { return form_.Left(); }
  void SetWidth(int value) override {
    applied = true;
    width = value;
  }
  void SetTop(int value) override {
    applied = true;
    form_.SetTop(value);
  }
  void SetLeft(int value) override {
    applied = true;
    form_.SetLeft(value);
  }

  bool applied = false;
  std::optional<int> width;  // stored, not applied yet

 private:
  TForm1& form_;
};

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner), placement_(std::make_unique<Placement>(*this)) {
  BeginLoading();
  CreateWidgets();
  EndLoading();
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate(TObject*) {
  MeasureGlideWidths();
  indicheight = Indicator->Height();
  measured_ = true;
  CenterFormOnScreen(this);
  appdata = GetPathInAppData(kLauncherAppName, true, true, adtLocal);
  try {
    ProgramSettings(true);
  } catch (const std::exception&) {
    VarkDialog("Error", "Could not load the application data!", ctError, {mbOK}, cbprCustom,
               clWindow, true, 0x00FFA028, false, true);
  }
  KeepOnScreen();
}

void TForm1::MeasureGlideWidths() {
  maxs = bg->Width();
  mins = Title->Width() + 2 * Title->Left();
}

void TForm1::ChangeScale(int M, int D) {
  TForm::ChangeScale(M, D);
  // Before FormCreate there is nothing to follow: it measures the layout at
  // the scale it finds, and formsize keeps its 800 until then.
  if (!measured_ || M == D || D == 0) return;
  const int oldMaxs = maxs, oldMins = mins;
  MeasureGlideWidths();
  // The indicator may be sliding, so its height now is not its resting one.
  indicheight = MulDiv(indicheight, M, D);
  gotopos = MulDiv(gotopos, M, D);
  // A glide under way keeps heading for the same end of the new layout.
  if (formsize == oldMaxs) {
    formsize = maxs;
  } else if (formsize == oldMins) {
    formsize = mins;
  } else {
    formsize = MulDiv(formsize, M, D);
  }
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose) {
  // A list saved in the editor since the last scan (up to two seconds ago) is
  // taken in first, or the save would write the old table over the edit.
  TakeInChangedLists();
  try {
    ProgramSettings(false);
  } catch (const std::exception& e) {
    // The first failure is reported and the window stays open, so that the
    // player can free the disk or mend the folder and close again.
    if (!closeSaveFailed_) {
      closeSaveFailed_ = true;
      throw;
    }
    // Failing again, it is reported and the window closes all the same: the
    // lists on disk are whole (every file is replaced at once or not at all);
    // only the window's place and the selected edition are not kept.
    Application->HandleException(this, e);
  }
  CanClose = true;
}

void TForm1::bgMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  ReleaseCapture();
  Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TForm1::ResizeForm(TWMSize&) {
  if (WindowState() == wsMaximized) SetWindowState(wsNormal);
}

// --- the settings store ------------------------------------------------------------

TDateTime TForm1::GetFileModDate(const std::string& filename) {
  return ::GetFileModDate(filename);
}

void TForm1::ProgramSettings(bool load) {
  ::ProgramSettings(load, *placement_);
}

void TForm1::ScanChangedFiles() {
  ::ScanChangedFiles(*placement_);
}

void TForm1::ScanFileTimer(TObject*) {
  // A reload that keeps failing would otherwise open one more report on every
  // tick, each inside the modal loop of the one before. One open report says
  // it; scanning goes on once it has been closed.
  if (scanReportOpen_) return;
  const int edition = selectedindex;
  try {
    ScanChangedFiles();
  } catch (const std::exception& e) {
    KeepOnScreen();
    struct ReportOpen {
      bool& flag;
      explicit ReportOpen(bool& f) : flag(f) { flag = true; }
      ~ReportOpen() { flag = false; }
    } open(scanReportOpen_);
    Application->HandleException(this, e);
    return;
  }
  KeepOnScreen();
  // A reload may have brought another stored edition.
  if (selectedindex != edition) editions_->SelectionChanged();
}

namespace {

// The outer rectangle at a stored place and size; the ends saturate, as a
// file edited by hand may hold any numbers.
TRect StoredBounds(int left, int top, int width, int height) {
  auto end = [](int start, int size) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{start} + size, INT_MIN, INT_MAX));
  };
  return Rect(left, top, end(left, width), end(top, height));
}

}  // namespace

void TForm1::ApplyStoredWidth(int width) {
  ScaleToScreenAt(StoredBounds(Left(), Top(), width, Height()));
  // The window only ever glides between its compact and its full width; a
  // stored width outside them (edited by hand) is brought back between them,
  // where a window of 0 or 200000 pixels would be unusable or could not be
  // made at all. Both are outer widths: the glide stops at the compact width
  // itself, and the full one is the designed window's, frame included.
  if (maxs > 0) {
    const int frame = Width() - ClientWidth();
    width = std::clamp(width, std::min(mins, maxs), maxs + frame);
  }
  SetWidth(width);
}

void TForm1::KeepOnScreen() {
  if (!placement_->applied) return;
  placement_->applied = false;
  if (const std::optional<int> width = std::exchange(placement_->width, std::nullopt)) {
    ApplyStoredWidth(*width);
  }
  // The title bar is grabbed where no task bar covers it.
  std::vector<TRect> screens;
  for (int i = 0; i < Screen->MonitorCount(); ++i)
    screens.push_back(Screen->MonitorWorkArea(i));
  if (!TitleBarOnScreen(Left(), Top(), Width(), CustomTitleBar().Height(), screens)) {
    CenterFormOnScreen(this);
  }
  // Put the cross where the width glide keeps it, or a window reopened at its
  // compact width would have no cross to close it.
  PlaceCross();
}

int TForm1::Scaled(int designed) const {
  return MulDiv(designed, PixelsPerInch(), 96);
}

void TForm1::PlaceCross() {
  Xbutton->SetLeft(Width() - Scaled(35));
}
