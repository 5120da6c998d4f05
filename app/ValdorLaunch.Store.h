// The edition table and the settings store of the launcher module.
//
// The module state lives for the whole run. Edition n (1..8) is element n - 1
// of each column; list file number k (0..3) names the file that mirrors
// column k. All five files live in appdata:
//
//   FolderLocations.txt   launchfolders    eight lines, one per edition
//   ExecutableNames.txt   exenames
//   LauncherNames.txt     launchername     an empty line: no launcher
//   MapNames.txt          mapednames       an empty line: no map editor
//   AppSettings.txt       the window's width, top and left, then selectedindex
//
// The main window (TForm1) calls ProgramSettings(true) while it is created,
// ProgramSettings(false) when it is asked to close, SaveListFiles before it
// opens a list file not written yet, and ScanChangedFiles on its two-second
// timer; it lends itself to them through WindowPlacement.
#pragma once

#include <array>
#include <string>

#include "app/WindowPlacement.h"
#include "platform/os/DateTime.h"

inline constexpr int kEditionCount = 8;
inline constexpr int kListFileCount = 4;

// One column of the edition table.
using TEditionColumn = std::array<std::string, kEditionCount>;

// The name the application-data folder is built from, and the settings file.
inline constexpr char kLauncherAppName[] = "Valdor III Launcher";
inline constexpr char kSettingsFileName[] = "AppSettings.txt";

extern TEditionColumn launchfolders;  // folder relative to the current folder, no final "\"
extern TEditionColumn exenames;       // game executable inside the edition folder
extern TEditionColumn launchername;   // the edition's own launcher, relative to its folder
extern TEditionColumn mapednames;     // the map editor, relative to the edition folder
extern const std::array<std::string, kListFileCount> editfilenames;
extern std::string appdata;  // ends in "\"; set by the main window's creation
// Despite the name: each list file's last-write time as it was when the file
// was last read, as a local-time day number; 0 before the first read.
extern std::array<TDateTime, kListFileCount> filesizes;
extern int selectedindex;  // 1..8

// The column that list file k mirrors, and its built-in defaults.
TEditionColumn& EditionColumn(int k);
const TEditionColumn& DefaultEditionColumn(int k);

// Puts the module back in its state at program start: the default table,
// edition 1, every stamp 0 and no application-data folder yet.
void RestoreStartState();

// With load: reads the four list files and AppSettings.txt from appdata and
// applies them, stopping at the first failure (what was applied stays). A
// missing folder is skipped; so is a missing list file, whose stamp becomes 0.
// A list file with fewer than eight lines raises EListError "List index out
// of bounds (<line count>)" after its lines have replaced the first entries;
// a settings line that is not an integer raises EConvertError, after the
// lines before it were applied. An index outside 1..8 keeps the selected
// edition. Files that exist but cannot be opened raise EFOpenError.
// Without load: writes the four list files, then AppSettings.txt, each as a
// whole and replaced atomically. A file that cannot be written raises
// EFCreateError; the files before it are written, the ones after it are not.
void ProgramSettings(bool load, WindowPlacement& window);

// Writes the four list files, as the save does, and not AppSettings.txt:
// that file is first written at the close, and while it does not exist a
// reload keeps the window where it is and the edition selected. Raises
// EFCreateError as the save does.
void SaveListFiles();

// Takes each list file's last-write time as its stamp, for files that hold
// the table as it is (just written), so that the scan does not load them back.
void StampListFiles();

// The file's last-write time as a local-time day number; 0 when there is no
// such file (which compares equal with the stamp of a file never read).
TDateTime GetFileModDate(const std::string& filename);

// Compares each list file with its stamp, in list-file order, and runs the
// whole load at once when one differs; later files are then compared with the
// stamps that load refreshed. Load failures propagate.
void ScanChangedFiles(WindowPlacement& window);

// Before the save at close: takes in each list file written since it was last
// read, if it holds its eight lines; one that does not is left out without an
// error, and the save writes the table as it is. AppSettings.txt is not read:
// the place and edition of this session are the ones to keep.
void TakeInChangedLists();
