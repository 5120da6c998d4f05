#include "app/ValdorLaunch.Store.h"

#include <algorithm>
#include <exception>
#include <span>
#include <string_view>
#include <vector>

#include "app/StrToInt.h"
#include "platform/Exceptions.h"
#include "platform/os/FileSystem.h"
#include "platform/os/TextFile.h"

namespace {

const std::array<TEditionColumn, kListFileCount> kDefaultTable = {{
    {"..\\Valdor III Tidemark", "..\\Valdor III Ashen Vow v3.4", "..\\Valdor III Complete Edition",
     "..\\Valdor III Dawn of Velmar", "..\\Valdor III Pale Reach (nonguaranteed)",
     "..\\Valdor III EF", "..\\Valdor III Lumen v2.8", "..\\Valdor III OVRE"},
    {"vtide HD.exe", "vashen.exe", "Valdor3 HD.exe", "Valdor3 HD.exe", "Valdor3_HD.exe",
     "vember.exe", "vlumen.exe", "OVRE_client.exe"},
    {"HD_Starter.exe", "HD_Starter.exe", "HD_Starter.exe", "HD_Starter.exe", "HD_Starter.exe", "",
     "Tools\\Lumen Start Menu\\start.exe", "OVRE_launcher.exe"},
    {"vtide_maped.exe", "VASHMAPED.exe", "vmaped.exe", "vmaped.exe", "vmaped.exe", "vembmaped.exe",
     "vashmaped.exe", ""},
}};

constexpr size_t kSettingsLineCount = 4;

[[noreturn]] void ListIndexError(long long index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// Line i of a file's lines, as a string list would hand it out.
const std::string& LineAt(const std::vector<std::string>& lines, size_t i) {
  if (i >= lines.size()) ListIndexError(static_cast<long long>(i));
  return lines[i];
}

// The eight entries of list file k, or fewer when it has fewer lines (or a
// line too long to be an entry, where reading stops).
std::vector<std::string> ReadListFile(int k) {
  return vark::os::ReadTextLines(appdata + editfilenames[k], kEditionCount);
}

void LoadListFile(int k) {
  const std::string path = appdata + editfilenames[k];
  if (!FileExists(path)) {
    // The table keeps its entries. The stamp becomes what the scan reads for
    // a missing file, so a deleted list file causes one reload, not one on
    // every tick that would put the window back each time.
    filesizes[k] = 0;
    return;
  }
  const std::vector<std::string> lines = ReadListFile(k);
  filesizes[k] = GetFileModDate(path);
  TEditionColumn& column = EditionColumn(k);
  for (size_t i = 0; i < column.size(); ++i)
    column[i] = LineAt(lines, i);
}

void LoadSettingsFile(WindowPlacement& window) {
  const std::string path = appdata + kSettingsFileName;
  if (!FileExists(path)) return;
  const std::vector<std::string> lines = vark::os::ReadTextLines(path, kSettingsLineCount);
  // Each line is converted just before it is applied, so a bad line leaves
  // itself and every later value as they were.
  window.SetWidth(StrToInt(LineAt(lines, 0)));
  window.SetTop(StrToInt(LineAt(lines, 1)));
  window.SetLeft(StrToInt(LineAt(lines, 2)));
  const int index = StrToInt(LineAt(lines, 3));
  // The launch actions index the table with it: an edition that does not
  // exist keeps the one selected now.
  if (index >= 1 && index <= kEditionCount) selectedindex = index;
}

void Load(WindowPlacement& window) {
  // Without a data folder (no user to name it) the files live in the working
  // folder, where the saves put them: they are read back from there too.
  if (!appdata.empty() && !DirectoryExists(appdata)) return;
  for (int k = 0; k < kListFileCount; ++k)
    LoadListFile(k);
  LoadSettingsFile(window);
}

void Save(WindowPlacement& window) {
  SaveListFiles();
  const std::string settings[kSettingsLineCount] = {
      std::to_string(window.Width()), std::to_string(window.Top()), std::to_string(window.Left()),
      std::to_string(selectedindex)};
  vark::os::WriteTextLines(appdata + kSettingsFileName, settings);
}

}  // namespace

TEditionColumn launchfolders = kDefaultTable[0];
TEditionColumn exenames = kDefaultTable[1];
TEditionColumn launchername = kDefaultTable[2];
TEditionColumn mapednames = kDefaultTable[3];
const std::array<std::string, kListFileCount> editfilenames = {
    "FolderLocations.txt", "ExecutableNames.txt", "LauncherNames.txt", "MapNames.txt"};
std::string appdata;
std::array<TDateTime, kListFileCount> filesizes = {0, 0, 0, 0};
int selectedindex = 1;

TEditionColumn& EditionColumn(int k) {
  switch (k) {
    case 0:
      return launchfolders;
    case 1:
      return exenames;
    case 2:
      return launchername;
    case 3:
      return mapednames;
  }
  ListIndexError(k);
}

const TEditionColumn& DefaultEditionColumn(int k) {
  if (k < 0 || k >= kListFileCount) ListIndexError(k);
  return kDefaultTable[static_cast<size_t>(k)];
}

void RestoreStartState() {
  for (int k = 0; k < kListFileCount; ++k)
    EditionColumn(k) = DefaultEditionColumn(k);
  appdata.clear();
  filesizes.fill(0);
  selectedindex = 1;
}

void ProgramSettings(bool load, WindowPlacement& window) {
  if (load) {
    Load(window);
  } else {
    Save(window);
  }
}

void SaveListFiles() {
  // The folder is made at start-up; made again if it went away meanwhile, so
  // the lists are kept and the window can still be closed.
  if (!appdata.empty()) ForceDirectories(appdata);
  for (int k = 0; k < kListFileCount; ++k) {
    vark::os::WriteTextLines(appdata + editfilenames[k], EditionColumn(k));
  }
}

void StampListFiles() {
  for (int k = 0; k < kListFileCount; ++k)
    filesizes[k] = GetFileModDate(appdata + editfilenames[k]);
}

TDateTime GetFileModDate(const std::string& filename) {
  return vark::os::FileLastWriteTime(filename).value_or(0.0);
}

void ScanChangedFiles(WindowPlacement& window) {
  for (int i = 0; i < kListFileCount; ++i) {
    if (GetFileModDate(appdata + editfilenames[i]) != filesizes[i]) ProgramSettings(true, window);
  }
}

void TakeInChangedLists() {
  for (int k = 0; k < kListFileCount; ++k) {
    const TDateTime stamp = GetFileModDate(appdata + editfilenames[k]);
    if (stamp == 0 || stamp == filesizes[k]) continue;  // no file, or as last read
    std::vector<std::string> lines;
    try {
      lines = ReadListFile(k);
    } catch (const std::exception&) {
      continue;  // unreadable now: the save puts the table's column there
    }
    if (lines.size() < kEditionCount) continue;
    filesizes[k] = stamp;
    std::copy_n(lines.begin(), kEditionCount, EditionColumn(k).begin());
  }
}
