// The recorders on Windows: copies of the ShellRecorder test program. The
// test prefix opens neither folders nor .txt files with a program that ends
// (explorer stays, .txt has no handler at all), so a recorder is made their
// handler for as long as the Recorders object lives.
#include "tests/app/Recorders.h"

#include <filesystem>
#include <optional>
#include <sstream>

#include "platform/os/SystemPaths.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"
#include "tests/common/windows/SharedRead.h"

namespace vark::test {
namespace {

namespace fs = std::filesystem;
using os::win32::Narrow;
using os::win32::Widen;
using testing::PathOf;

// The file types the recorder opens: list files through a type of our own,
// folders through the shell's folder type.
constexpr const wchar_t* kTypes[][2] = {{L".txt", L"vark.recordedlist"},
                                        {L"vark.recordedlist\\shell\\open\\command", nullptr},
                                        {L"Folder\\shell\\open\\command", nullptr}};

bool KeyExists(const std::wstring& key) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

// The default value of a key of the file types, or nullopt when it has none.
std::optional<std::wstring> DefaultValue(const std::wstring& key) {
  wchar_t value[1024];
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(value);
}

void SetDefaultValue(const std::wstring& key, const std::optional<std::wstring>& value) {
  HKEY handle;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  if (value) {
    RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(handle, nullptr);
  }
  RegCloseKey(handle);
}

std::wstring TopKey(const std::wstring& key) {
  return key.substr(0, key.find(L'\\'));
}

Record Read(const fs::path& file) {
  std::istringstream in(testing::ReadShared(file.wstring()).value_or(""));
  Record r;
  std::getline(in, r.cwd);
  std::string program;
  std::getline(in, program);
  r.name = program.substr(program.find_last_of("\\/") + 1);
  for (std::string line; std::getline(in, line);) {
    // A folder comes with its final "\", which before the handler command's
    // closing quote reads as an escaped quote: it is given back.
    if (line.ends_with('"')) line.back() = '\\';
    r.args.push_back(line);
  }
  return r;
}

std::string Recorder() {
  const std::string exe = os::ExecutablePath();
  return exe.substr(0, exe.find_last_of('\\') + 1) + "ShellRecorder.exe";
}

}  // namespace

const char* const Recorders::kOpener = "opener.exe";

Recorders::Recorders(testing::TempProfile& profile, std::string folder)
    : profile_(profile), folder_(std::move(folder)), bin_(profile.Root() + "\\bin") {
  fs::create_directories(PathOf(folder_));
  const std::string opener = bin_ + "\\" + kOpener;
  Put(opener);
  const std::wstring command = L"\"" + Widen(opener) + L"\" \"%1\"";
  for (const auto& [key, value] : kTypes) {
    const std::wstring name = key;
    if (KeyExists(TopKey(name))) {
      restore_.push_back([name, before = DefaultValue(name)] { SetDefaultValue(name, before); });
    } else {
      restore_.push_back([name] { RegDeleteTreeW(HKEY_CLASSES_ROOT, TopKey(name).c_str()); });
    }
    SetDefaultValue(name, value ? std::wstring(value) : command);
  }
  profile_.Set("VARK_SHELL_RECORD", folder_);
}

void Recorders::Put(const std::string& path) const {
  fs::create_directories(PathOf(path).parent_path());
  fs::copy_file(PathOf(Recorder()), PathOf(path), fs::copy_options::overwrite_existing);
}

std::vector<Record> Recorders::Finished() const {
  std::vector<Record> records;
  for (const auto& e : fs::directory_iterator(PathOf(folder_)))
    if (e.path().extension() != L".partial") records.push_back(Read(e.path()));
  return records;
}

void Recorders::Clear() const {
  fs::remove_all(PathOf(folder_));
  fs::create_directories(PathOf(folder_));
}

std::string Recorders::AsRecorded(const std::string& folder) {
  std::string shown = os::SystemPathName(folder);
  while (shown.size() > 3 && shown.back() == '\\')
    shown.pop_back();
  return shown;
}

}  // namespace vark::test
