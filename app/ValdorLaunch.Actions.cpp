// The launch actions behind the command buttons: the selected edition's game
// or its own launcher (with the cheat switch when the box is ticked), its map
// editor, its folder, and the four list files. Paths are joined as the
// edition table writes them, with "\" between the parts; the file layer maps
// them when it touches a file. Programs, folders and files go to the shell; a
// missing program is told to the user, and so is one the shell cannot start
// (no Wine, no xdg-open, a file that is not a program) or one that ends at
// once with a failure (told by the shell's watch a moment later), rather than
// letting the press look like a launch.
#include <string>

#include "app/ValdorLaunch.Store.h"
#include "app/ValdorLaunch.h"
#include "controls/Vark.Dialogs.h"
#include "controls/Vark.Progress.h"
#include "platform/Exceptions.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Shell.h"
#include "platform/os/ShellWatch.h"
#include "platform/os/SystemPaths.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Timer.h"

namespace {

// The switch that turns on the game's cheat menu.
constexpr char kCheatSwitch[] = "/tarnwisp";

std::string WithTrailingSeparator(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

// The selected edition's entry of a column. The store and the rows only ever
// select editions 1..8; anything else is reported rather than read past the
// table.
const std::string& SelectedEntry(const TEditionColumn& column) {
  if (selectedindex < 1 || selectedindex > kEditionCount) {
    throw EListError("List index out of bounds (" + std::to_string(selectedindex - 1) + ")");
  }
  return column[static_cast<size_t>(selectedindex - 1)];
}

// The launch actions' dialogs: one "Ok" button, in the window's own colours.
void ShowLaunchDialog(const std::string& caption, const std::string& text, CMessageType kind) {
  VarkDialog(caption, text, kind, {mbOK}, cbprCustom, clWindow, true, 0x00FFA028, false, true);
}

// The information dialog for a program the edition does not have.
void ShowMissing(const std::string& caption, const std::string& text) {
  ShowLaunchDialog(caption, text, ctInformation);
}

// The file as it is named on this system.
std::string Shown(const std::string& file) {
  try {
    return vark::os::SystemPathName(file);
  } catch (const std::exception&) {
    // A path with no place here is shown as the table has it.
    return file;
  }
}

// Hands file to the shell; when it cannot be started or opened, says so and
// why, naming the file where it is on this system. A program is watched for
// an early end (see ShellWatch.h). Returns whether it started.
bool ShellOpen(const char* caption, const std::string& file, const char* parameters,
               const char* directory, bool watch = false) {
  const intptr_t result =
      watch ? ShellExecuteWatchedW(nullptr, "open", file.c_str(), parameters, directory, SW_SHOW)
            : ShellExecuteW(nullptr, "open", file.c_str(), parameters, directory, SW_SHOW);
  if (result > 32) return true;
  ShowLaunchDialog(caption, Shown(file) + "\n" + ShellErrorText(result), ctError);
  return false;
}

// How often the shell is asked for reports while a start is watched.
constexpr int kStartWatchInterval = 250;

}  // namespace

std::string TForm1::GetDirName() {
  return WithTrailingSeparator(SelectedEntry(launchfolders));
}

void TForm1::StartValdor(TObject* Sender) {
  std::string parameters;
  const std::string dir = WithTrailingSeparator(GetCurrentDir()) + GetDirName();
  std::string path = dir;
  const std::string& exe = SelectedEntry(exenames);
  const std::string& launch = SelectedEntry(launchername);
  // The launcher button starts the game itself for an edition without a
  // launcher of its own.
  if (Sender == BtLauncher && !launch.empty()) {
    path += launch;
  } else {
    path += exe;
  }
  if (CheckBox1->Checked()) parameters = kCheatSwitch;
  if (FileExists(path)) {
    if (ShellOpen("Could not start", path, parameters.c_str(), dir.c_str(), true))
      WatchStartedProgram();
  } else {
    ShowMissing("Executable not found", "The executable file for this version could not be found!");
  }
  // The bar shows, fills from 0 to 100 on its own timer and hides again
  // (StartProgressChange); a press while it fills starts it over.
  StartProgress->SetVisible(true);
  StartProgress->DrawAnimTimer().SetEnabled(StartProgress->AnimateProgress().Enable());
  StartProgress->Animations().SetAnimations(false);
  StartProgress->SetPosition(0);
  StartProgress->Animations().SetAnimations(true);
  StartProgress->SetPosition(100);
}

void TForm1::WatchStartedProgram() {
  if (!ShellWatchPending()) return;
  if (!startWatch_) {
    startWatch_ = &Make<TTimer>();
    startWatch_->SetName("StartWatch");
    startWatch_->SetInterval(kStartWatchInterval);
    startWatch_->OnTimer = [this](TObject* sender) { StartWatchTimer(sender); };
  }
  startWatch_->SetEnabled(true);
}

void TForm1::StartWatchTimer(TObject*) {
  // All reports are taken, and the timer settled, before the first dialog:
  // timers tick inside a dialog's modal loop, and a tick there must not
  // show the same report again.
  const std::vector<ShellEarlyExit> reports = TakeShellEarlyExits();
  if (!ShellWatchPending()) startWatch_->SetEnabled(false);
  for (const ShellEarlyExit& report : reports) {
    std::string text = Shown(report.file) + "\nIt ended at once, with " + report.status + ".";
    if (!report.errorOutput.empty()) text += " Its last messages:\n" + report.errorOutput;
    ShowLaunchDialog("Could not start", text, ctError);
  }
}

void TForm1::StartProgressChange(CProgress*, int32_t Position, int32_t) {
  if (Position == 100) {
    StartProgress->SetVisible(false);
    // Nothing to repaint on a hidden bar: the window sleeps until its scan.
    StartProgress->DrawAnimTimer().SetEnabled(false);
  }
}

void TForm1::CButton3Click(TObject*) {
  // The folder as stored, relative: the shell resolves it against the
  // current folder.
  ShellOpen("Could not open", GetDirName(), "", nullptr);
}

void TForm1::CButton4Click(TObject*) {
  const std::string dir = WithTrailingSeparator(GetCurrentDir()) + GetDirName();
  // An edition without a map editor leaves the folder itself, which is no
  // file, so it gets the dialog too.
  const std::string path = dir + SelectedEntry(mapednames);
  if (FileExists(path)) {
    if (ShellOpen("Could not start", path, nullptr, dir.c_str(), true)) WatchStartedProgram();
  } else {
    ShowMissing("No map editor", "This valdor 3 version does not have a map editor!");
  }
}

void TForm1::EditItem(TObject* Sender) {
  const int k = static_cast<TComponent*>(Sender)->Tag();
  if (k < 0 || k >= kListFileCount) {
    throw EListError("List index out of bounds (" + std::to_string(k) + ")");
  }
  const std::string file = appdata + editfilenames[static_cast<size_t>(k)];
  // The lists are first written when the window closes: before that (on a
  // first run) there is nothing to edit. They are written now as the close
  // writes them, and a save that fails is reported as there, opening nothing.
  if (!FileExists(file)) {
    TakeInChangedLists();  // as the close does: an edit saved since the last scan stays
    ProgramSettings(false);
    // The files hold the table as it is: nothing for the scan to take in.
    StampListFiles();
  }
  ShellOpen("Could not open", file, nullptr, nullptr);
}
