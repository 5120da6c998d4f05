// ShellExecuteW through the Windows shell, starting a recorder program (built
// with the same toolchain) that writes down its working folder and arguments.
#include "platform/os/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/FileSystem.h"
#include "platform/os/SystemError.h"
#include "platform/os/SystemPaths.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"
#include "tests/common/windows/SharedRead.h"
#include "tests/platform/os/windows/ScratchFolder.h"

using vark::testing::PathOf;
using vark::testing::WriteBytes;

namespace {

struct Record {
  std::string folder;
  std::vector<std::string> args;  // after the program itself
};

class Shell : public vark::testing::ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    record_ = At("record.txt");
    vark::testing::profile::SetVariable("VARK_SHELL_RECORD", record_);
  }
  void TearDown() override {
    vark::testing::profile::SetVariable("VARK_SHELL_RECORD", std::nullopt);
    ScratchFolder::TearDown();
  }

  // The recorder, copied to a program of the given name.
  std::string Program(const std::string& folder, const std::string& name) {
    const std::string exe = vark::os::ExecutablePath();
    const std::string recorder = exe.substr(0, exe.find_last_of('\\') + 1) + "ShellRecorder.exe";
    EXPECT_TRUE(ForceDirectories(folder));
    std::filesystem::copy_file(PathOf(recorder), PathOf(folder + "\\" + name));
    return folder + "\\" + name;
  }

  // Waits (a real process is involved) for the recorder's record.
  std::optional<Record> Recorded() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::optional<std::string> bytes;
    while (!(bytes = vark::testing::ReadShared(PathOf(record_).wstring()))) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::istringstream lines(*bytes);
    std::filesystem::remove(PathOf(record_));
    Record r;
    std::getline(lines, r.folder);
    std::string line;
    std::getline(lines, line);  // the program itself
    while (std::getline(lines, line))
      r.args.push_back(line);
    return r;
  }

  // The default value of a key of the file types. (Wine keeps them only in
  // the machine's part of the registry, Windows in the user's as well.)
  static void SetClassValue(const std::wstring& key, const std::wstring& value) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }

  std::string record_;
};

TEST_F(Shell, StartsProgramsWithTheirParametersInTheirFolder) {
  struct Case {
    const char* folder;
    const char* name;
    const char* parameters;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"Valdor III Tidemark", "vtide HD.exe", "/tarnwisp", {"/tarnwisp"}},
      {"Valdor III Émeraude", "vtide É.exe", "", {}},
      {"Valdor III Émeraude", "rec & co ^ 100%.exe", nullptr, {}},
      {"A & B ^ C", "start.exe", "/tarnwisp", {"/tarnwisp"}},
  };
  for (const Case& c : cases) {
    const std::string folder = At(c.folder);
    const std::string program = Program(folder, c.name);
    const intptr_t result =
        ShellExecuteW(nullptr, "open", program.c_str(), c.parameters, folder.c_str(), SW_SHOW);
    ASSERT_GT(result, 32) << c.name << ": " << ShellErrorText(result);
    const std::optional<Record> record = Recorded();
    ASSERT_TRUE(record) << c.name << " did not start";
    EXPECT_EQ(record->folder, folder) << c.name;
    EXPECT_EQ(record->args, c.args) << c.name;
  }
}

TEST_F(Shell, OpensADocumentWithTheProgramItsTypeNames) {
  // A file type of its own, opened by the recorder.
  const std::string opener = Program(At("Editor"), "editor.exe");
  const std::wstring command = L"\"" + vark::os::win32::Widen(opener) + L"\" \"%1\"";
  SetClassValue(L".vklist", L"vark.testlist");
  SetClassValue(L"vark.testlist\\shell\\open\\command", command);
  const std::string list = At("Jörg's Liste.vklist");
  WriteBytes(list, "x\r\n");

  const intptr_t result = ShellExecuteW(nullptr, "open", list.c_str(), nullptr, nullptr, SW_SHOW);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vklist");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"vark.testlist");
  ASSERT_GT(result, 32) << ShellErrorText(result);
  const std::optional<Record> record = Recorded();
  ASSERT_TRUE(record) << "the opener did not start";
  EXPECT_EQ(record->args, std::vector<std::string>{list});
}

TEST_F(Shell, SaysWhyItCouldNotStart) {
  WriteBytes(At("Valdor III Émeraude\\vtide É.exe"), "not a program at all");
  WriteBytes(At("notes.vknothing"), "x");
  struct Case {
    std::string file;
    intptr_t result;
    int error;  // whose text it is; the program's name stands in for "%1"
  };
  const Case cases[] = {
      {At("Valdor III Émeraude\\vtide É.exe"), SE_ERR_BAD_FORMAT, ERROR_BAD_EXE_FORMAT},
      {At("missing.exe"), SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {At("notes.vknothing"), SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
  };
  for (const Case& c : cases) {
    const intptr_t result =
        ShellExecuteW(nullptr, "open", c.file.c_str(), "/tarnwisp", root_.c_str(), SW_SHOW);
    EXPECT_EQ(result, c.result) << c.file;
    // The system's own reason, on one line, with the file for its "%1".
    const std::string text = ShellErrorText(result);
    EXPECT_FALSE(text.empty()) << c.file;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("%1"), std::string::npos) << text;
    std::string expected = vark::os::SystemErrorText(c.error);
    if (const size_t at = expected.find("%1"); at != std::string::npos)
      expected.replace(at, 2, c.file.substr(c.file.find_last_of('\\') + 1));
    EXPECT_EQ(text, expected) << c.file;
  }
  EXPECT_EQ(ShellErrorText(42), "");
}

TEST_F(Shell, SaysAPathIsTooLongWhereTheShellWouldSayItIsNotThere) {
  // The shell takes no path of 260 characters or more, though the files
  // there are found and read (Wine takes them all).
  std::string folder = root_;
  while (folder.size() < 270)
    folder += "\\Valdor III Tidemark";
  ASSERT_TRUE(ForceDirectories(folder));
  WriteBytes(folder + "\\notes.vknothing", "x");
  WriteBytes(At("notes.vknothing"), "x");
  struct Case {
    std::string file, directory;
  };
  const Case cases[] = {
      {folder + "\\notes.vknothing", root_},
      {At("notes.vknothing"), folder},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(FileExists(c.file));
    const intptr_t result =
        ShellExecuteW(nullptr, "open", c.file.c_str(), nullptr, c.directory.c_str(), SW_SHOW);
    EXPECT_EQ(result, SE_ERR_PNF) << c.file;
    EXPECT_EQ(ShellErrorText(result), vark::os::SystemErrorText(ERROR_FILENAME_EXCED_RANGE))
        << c.file;
  }
}

}  // namespace
