// The launcher's main window, TForm1, and the module state of its animations.
//
// The window has three areas: the eight edition rows on the left with the
// sliding indicator beside them; the launch button, the width button and the
// progress bar under the list; and, over the backdrop on the right, the
// "Aditional" panel (folder, map editor) and the "Options" panel (cheat switch,
// the edition's own launcher, the four list files).
//
// The class is split over several files by subject:
//   ValdorLaunch.cpp            creation, close, dragging, the size message, the
//                               settings store and its scan, keeping the window
//                               on a screen
//   ValdorLaunch.Layout.cpp     every widget and control with its values and events
//   ValdorLaunch.Selection.cpp  row selection, the indicator slide, the width glide
//   ValdorLaunch.Actions.cpp    starting programs, opening folders and list files
//   ValdorLaunch.Accessibility.cpp  the window for a screen reader, the keys
//                               that select an edition and act in the list,
//                               and a gamepad's Start and Back
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/WindowPlacement.h"
#include "controls/Vark.Button.h"
#include "controls/Vark.Progress.h"
#include "controls/Vark.StandardIcons.h"
#include "platform/os/DateTime.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Form.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Timer.h"

namespace vark::a11y {
class AccessibleList;
}

// Module state of the selection and width animations.
extern int gotopos;      // the indicator's target top, client coordinates
extern int indicheight;  // the indicator's resting height
extern int maxs;         // the full window width (outer)
extern int mins;         // the compact window width: the title and the left column
extern int formsize;     // the width the glide heads for; 800 until the first toggle

// Puts the animation state back as it is when the program starts (for tests,
// which make many windows in one process).
void RestoreAnimationStartState();

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);
  ~TForm1() override;

  // --- widgets and controls, in declaration order (owned by the form) --------
  TLabel* Title = nullptr;
  TImage* bg = nullptr;
  CButton* CButton1 = nullptr;
  TLabel* Xbutton = nullptr;
  TPanel* ValdorOption_1 = nullptr;
  CProgress* StartProgress = nullptr;
  TImage* Image2 = nullptr;
  TLabel* Label3 = nullptr;
  CStandardIcon* IcoSel_1 = nullptr;
  TLabel* Label4 = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel* Label5 = nullptr;
  TImage* Image1 = nullptr;
  CStandardIcon* IcoSel_2 = nullptr;
  TPanel* Panel2 = nullptr;
  TLabel* Label6 = nullptr;
  TImage* Image3 = nullptr;
  CStandardIcon* IcoSel_3 = nullptr;
  TPanel* Panel3 = nullptr;
  TLabel* Label7 = nullptr;
  TImage* Image4 = nullptr;
  CStandardIcon* IcoSel_4 = nullptr;
  TPanel* Panel4 = nullptr;
  TLabel* Label8 = nullptr;
  TImage* Image5 = nullptr;
  CStandardIcon* IcoSel_5 = nullptr;
  TPanel* Panel5 = nullptr;
  TLabel* Label9 = nullptr;
  TImage* Image6 = nullptr;
  CStandardIcon* IcoSel_6 = nullptr;
  TPanel* Panel6 = nullptr;
  TLabel* Label10 = nullptr;
  TImage* Image7 = nullptr;
  CStandardIcon* IcoSel_7 = nullptr;
  TPanel* Panel7 = nullptr;
  TLabel* Label11 = nullptr;
  TImage* Image8 = nullptr;
  CStandardIcon* IcoSel_8 = nullptr;
  TShape* Indicator = nullptr;
  TTimer* ShapeMove = nullptr;
  TTimer* SizeSetter = nullptr;
  CButton* CButton2 = nullptr;
  TImage* Image9 = nullptr;
  TLabel* Label2 = nullptr;
  CButton* CButton3 = nullptr;
  CButton* CButton4 = nullptr;
  TLabel* Label12 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  CStandardIcon* CStandardIcon1 = nullptr;
  TLabel* Label13 = nullptr;
  CButton* BtLauncher = nullptr;
  TTimer* ScanFile = nullptr;
  CButton* CButton5 = nullptr;
  CButton* CButton6 = nullptr;
  CButton* CButton7 = nullptr;
  CButton* CButton8 = nullptr;

  // --- event handlers ------------------------------------------------------
  void bgMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void StartValdor(TObject* Sender);
  void StartProgressChange(CProgress* Sender, int32_t Position, int32_t Max);
  void Label3Click(TObject* Sender);
  void Image2Click(TObject* Sender);
  void ValdorOption_1Click(TObject* Sender);
  void ShapeMoveTimer(TObject* Sender);
  void ChangeSizeMode(TObject* Sender);
  void SizeSetterTimer(TObject* Sender);
  void CButton3Click(TObject* Sender);
  void CButton4Click(TObject* Sender);
  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void EditItem(TObject* Sender);
  void ScanFileTimer(TObject* Sender);

  // --- other methods -------------------------------------------------------
  TDateTime GetFileModDate(const std::string& filename);
  // The selected edition's folder with a trailing "\".
  std::string GetDirName();
  void ProgramSettings(bool load);
  // The size message, kept from the framework: a maximised window goes back
  // to normal; children are neither re-aligned nor moved by their anchors.
  void ResizeForm(TWMSize& Msg);
  void ScanChangedFiles();
  void SelectItem(int index);
  // The layout is scaled (the window went to a screen of another scale, or
  // opens on one): what FormCreate measured and the indicator's target are
  // scaled with it, so the glide and the slide end where the new layout wants.
  void ChangeScale(int M, int D) override;

  // The eight rows, their marks, in edition order.
  const std::array<TPanel*, 8>& Rows() const { return rows_; }
  // The keyboard is in the edition list: on the selected edition's row.
  bool EditionListFocused() const;
  const std::array<CStandardIcon*, 8>& Marks() const { return marks_; }
  // A gamepad's Start presses Launch and its Back the width button; the other
  // buttons act as their keys do (ValdorLaunch.Accessibility.cpp).
  bool PadButtonDown(TPadButton Button) override;
  // Whether an error report of a failed scan is open now.
  bool ScanReportOpen() const { return scanReportOpen_; }

 protected:
  void WMSize(TWMSize& Message) override { ResizeForm(Message); }
  // Up, Down, Home and End select an edition and go to the edition list;
  // there Tab, Return and Space do what the list does
  // (ValdorLaunch.Accessibility.cpp).
  void CMDialogKey(TCMDialogKey& Message) override;

 private:
  class Placement;
  // ValdorLaunch.Layout.cpp: builds every widget in creation order.
  void CreateWidgets();
  void CreateFrameWidgets();
  void CreateButtons();
  void CreateProgress();
  void CreateRows();
  // After a load: takes the stored width (see ApplyStoredWidth); a stored
  // place whose title bar lies off every screen is replaced by the primary
  // screen's centre, and the close mark follows the stored width.
  void KeepOnScreen();
  // The stored width is in the pixels of the screen the window was on when it
  // closed: a window not open yet first takes that screen's scale at the
  // stored place, so that opening it there keeps the width as it is. The
  // width is then brought between the compact and the full width.
  void ApplyStoredWidth(int width);
  // ValdorLaunch.Actions.cpp: a game, launcher or map editor started through
  // the shell may end at once; while one is in its first seconds, a timer
  // (made at the first such start) takes the shell's reports and tells each.
  void WatchStartedProgram();
  void StartWatchTimer(TObject* Sender);
  TTimer* startWatch_ = nullptr;
  // ValdorLaunch.Accessibility.cpp: what a screen reader is told beyond what
  // the controls say of themselves.
  void DescribeForAssistiveTechnology();
  // The edition list as a place of the keyboard.
  TPanel* SelectedRow() const;  // null while no edition is selected
  void FocusEditionList();
  void EditionRowEnter(TObject* Sender);
  void EditionListKeyDown(uint16_t& Key, TShiftState Shift);
  void EditionListKeyUp(uint16_t& Key);
  // Tab, Shift+Tab, Return, Left and Right in the list; false for a key it
  // leaves to the window.
  bool LeaveOrUseEditionList(TCMDialogKey& Message);
  // maxs and mins from the layout as it is now.
  void MeasureGlideWidths();
  // A length of the layout as designed at 96 pixels per inch, at the window's
  // scale now: the numbers the handlers apply themselves.
  int Scaled(int designed) const;
  // The close cross, a fixed distance in from the window's right edge: the
  // size message is kept from the framework, so its anchor does not move it.
  void PlaceCross();

  std::unique_ptr<Placement> placement_;
  std::array<TPanel*, 8> rows_{};
  std::array<CStandardIcon*, 8> marks_{};
  std::unique_ptr<vark::a11y::AccessibleList> editions_;  // the rows, as a list
  bool scanReportOpen_ = false;
  bool spaceHeld_ = false;        // Space went down in the edition list
  bool closeSaveFailed_ = false;  // a save at close has failed once
  bool measured_ = false;         // FormCreate has taken maxs, mins and indicheight
};

extern TForm1* Form1;
