// ShellExecuteW against fake helpers: `wine` and `xdg-open` are small scripts on
// a PATH of our own that record how they were started (arguments, working
// folder, environment, stdin, session) into a folder the test reads back.
#include "platform/os/Shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/ShellWatch.h"
#include "platform/os/linux/WineLookup.h"
#include "tests/common/PeImage.h"
#include "tests/common/TempProfile.h"

namespace fs = std::filesystem;

namespace {

// Writes what it was started with into $SHELL_TEST_RECORD/<its name>/, made in
// a temporary folder and renamed so a reader never sees half a record; then,
// if asked, stays alive for $SHELL_TEST_LINGER seconds.
constexpr const char* kRecorder = R"sh(#!/bin/sh
out="$SHELL_TEST_RECORD/$(basename "$0")"
mkdir -p "$out.tmp"
printf '%s\0' "$0" "$@" > "$out.tmp/args"
pwd -P > "$out.tmp/cwd"
printf '%s' "${WINEDLLOVERRIDES-<unset>}" > "$out.tmp/overrides"
readlink /proc/$$/fd/0 > "$out.tmp/stdin"
sed 's/.*) //' /proc/$$/stat | cut -d' ' -f4 > "$out.tmp/session"
echo $$ > "$out.tmp/pid"
mv "$out.tmp" "$out"
if [ -n "$SHELL_TEST_LINGER" ]; then exec sleep "$SHELL_TEST_LINGER"; fi
)sh";

struct Record {
  std::vector<std::string> args;  // args[0] is the program itself
  std::string cwd, overrides, stdinTarget;
  pid_t session = 0, pid = 0;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  return text;
}

std::string Line(const fs::path& path) {
  std::string text = ReadFile(path);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(profile_.Root());
    bin_ = root_ / "bin";
    records_ = root_ / "records";
    games_ = root_ / "games";
    fs::create_directories(bin_);
    fs::create_directories(records_);
    fs::create_directories(games_);
    for (const char* helper : {"wine", "xdg-open"})
      WriteScript(bin_ / helper, kRecorder);
    profile_.Set("PATH", bin_.string() + ":/usr/bin:/bin");
    profile_.Set("SHELL_TEST_RECORD", records_.string());
    profile_.Set("SHELL_TEST_LINGER", std::nullopt);
    profile_.Set("WINEDLLOVERRIDES", std::nullopt);
    // Only the fake Wine: none named by the user, no Debian loader folder.
    profile_.Set("WINE", std::nullopt);
    vark::os::SetDebianWineFolder((root_ / "debian-wine").string());
    oldCwd_ = fs::current_path();
    fs::current_path(games_);
  }
  void TearDown() override {
    vark::os::SetDebianWineFolder("");
    fs::current_path(oldCwd_);
  }

  static void WriteScript(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }
  static void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // A 64-bit Windows program: all that matters is its header.
  static void WriteWindowsProgram(const fs::path& path) {
    WriteFile(path, vark::testing::PeImage(vark::testing::kPeMachineX64));
  }

  // Waits (a real process is involved) for the record of a helper or program.
  std::optional<Record> Recorded(const std::string& name) {
    const fs::path dir = records_ / name;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(dir / "pid")) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Record r;
    const std::string args = ReadFile(dir / "args");
    for (size_t start = 0; start < args.size();) {
      const size_t end = args.find('\0', start);
      r.args.push_back(args.substr(start, end - start));
      start = end + 1;
    }
    r.cwd = Line(dir / "cwd");
    r.overrides = ReadFile(dir / "overrides");
    r.stdinTarget = Line(dir / "stdin");
    r.session = std::stoi(Line(dir / "session"));
    r.pid = std::stoi(Line(dir / "pid"));
    fs::remove_all(dir);
    return r;
  }

  vark::testing::TempProfile profile_;
  fs::path root_, bin_, records_, games_, oldCwd_;
};

TEST_F(ShellTest, WindowsProgramRunsThroughWineInItsFolder) {
  // As the launch button builds it: the current folder, then the edition's
  // folder and program joined with backslashes.
  WriteWindowsProgram(games_ / "Valdor III Tidemark" / "vtide HD.exe");
  const std::string dir = games_.string() + "\\Valdor III Tidemark\\";
  const intptr_t result = ShellExecuteW(nullptr, "open", (dir + "vtide HD.exe").c_str(),
                                        "/tarnwisp", dir.c_str(), SW_SHOW);
  EXPECT_GT(result, 32);
  const auto r = Recorded("wine");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->args, (std::vector<std::string>{
                         (bin_ / "wine").string(),
                         (games_ / "Valdor III Tidemark" / "vtide HD.exe").string(), "/tarnwisp"}));
  EXPECT_EQ(r->cwd, (games_ / "Valdor III Tidemark").string());
  EXPECT_EQ(r->overrides, "winemenubuilder.exe=d");
  // Detached: reading from /dev/null, in a session of its own.
  EXPECT_EQ(r->stdinTarget, "/dev/null");
  EXPECT_NE(r->session, getsid(0));
}

TEST_F(ShellTest, WineKeepsTheUsersOwnOverrides) {
  WriteWindowsProgram(games_ / "game.exe");
  const struct {
    std::optional<std::string> before;
    std::string after;
  } cases[] = {{std::nullopt, "winemenubuilder.exe=d"},
               {"", "winemenubuilder.exe=d"},
               {"mscoree,mshtml=", "mscoree,mshtml=;winemenubuilder.exe=d"},
               {"winemenubuilder.exe=n", "winemenubuilder.exe=n"}};
  for (const auto& c : cases) {
    profile_.Set("WINEDLLOVERRIDES", c.before);
    ASSERT_GT(ShellExecuteW(nullptr, "open", "game.exe", "", nullptr, SW_SHOW), 32);
    const auto r = Recorded("wine");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->overrides, c.after) << c.before.value_or("<unset>");
  }
}

TEST_F(ShellTest, ParametersArriveAsArgumentsWithNoShellBetween) {
  WriteWindowsProgram(games_ / "game.exe");
  const struct {
    const char* params;
    std::vector<std::string> args;
  } cases[] = {
      {nullptr, {}},
      {"", {}},
      {"/tarnwisp", {"/tarnwisp"}},
      {R"(-map "Frost Keep" -x)", {"-map", "Frost Keep", "-x"}},
      {"$(touch pwned); touch pwned2 | touch pwned3 & `touch pwned4` > out",
       {"$(touch", "pwned);", "touch", "pwned2", "|", "touch", "pwned3", "&", "`touch", "pwned4`",
        ">", "out"}},
  };
  for (const auto& c : cases) {
    ASSERT_GT(ShellExecuteW(nullptr, "open", "game.exe", c.params, games_.c_str(), SW_SHOW), 32);
    const auto r = Recorded("wine");
    ASSERT_TRUE(r);
    std::vector<std::string> expected = {(bin_ / "wine").string(), (games_ / "game.exe").string()};
    expected.insert(expected.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(r->args, expected) << (c.params ? c.params : "<null>");
  }
  for (const char* f : {"pwned", "pwned2", "pwned3", "pwned4", "out"})
    EXPECT_FALSE(fs::exists(games_ / f)) << f << ": a shell ran the parameters";
}

TEST_F(ShellTest, OddNamesReachTheProgramIntact) {
  const fs::path folder = games_ / "it's a \"game\" $HOME";
  const fs::path program = folder / "run; rm -rf * & echo |<>?.exe";
  WriteWindowsProgram(program);
  ASSERT_GT(ShellExecuteW(nullptr, "open", program.c_str(), nullptr, folder.c_str(), SW_SHOW), 32);
  const auto r = Recorded("wine");
  ASSERT_TRUE(r);
  ASSERT_EQ(r->args.size(), 2u);
  EXPECT_EQ(r->args[1], program.string());
  EXPECT_EQ(r->cwd, folder.string());
}

TEST_F(ShellTest, FoldersAndDocumentsOpenWithXdgOpenByAbsolutePath) {
  fs::create_directories(games_ / "Valdor III Tidemark");
  WriteFile(root_ / "lists" / "FolderLocations.txt", "..\\Valdor III Tidemark\r\n");
  // A file from a Windows drive: every file there carries the execute bit.
  WriteFile(games_ / "readme.txt", "not a program");
  fs::permissions(games_ / "readme.txt", fs::perms::owner_all);
  const struct {
    std::string file;
    const char* directory;
    fs::path opened, cwd;
  } cases[] = {
      // The folder button: relative, with its trailing separator, no working folder.
      {"Valdor III Tidemark\\", nullptr, games_ / "Valdor III Tidemark", games_},
      {"valdor iii tidemark", "", games_ / "Valdor III Tidemark", games_},  // case as on Windows
      {(root_ / "lists").string() + "\\FolderLocations.txt", nullptr,
       root_ / "lists" / "FolderLocations.txt", games_},
      {"readme.txt", root_.c_str(), games_ / "readme.txt", root_},
  };
  for (const auto& c : cases) {
    ASSERT_GT(ShellExecuteW(nullptr, "open", c.file.c_str(), "ignored", c.directory, SW_SHOW), 32)
        << c.file;
    const auto r = Recorded("xdg-open");
    ASSERT_TRUE(r) << c.file;
    EXPECT_EQ(r->args, (std::vector<std::string>{(bin_ / "xdg-open").string(), c.opened.string()}));
    EXPECT_EQ(r->cwd, c.cwd.string());
    EXPECT_EQ(r->overrides, "<unset>") << "only wine gets the override";
  }
  EXPECT_FALSE(fs::exists(records_ / "wine"));
}

TEST_F(ShellTest, NativeProgramStartsDirectly) {
  const fs::path program = games_ / "Tools" / "start game.sh";
  fs::create_directories(program.parent_path());
  WriteScript(program, kRecorder);
  ASSERT_GT(
      ShellExecuteW(nullptr, nullptr, program.c_str(), R"(-a "b c")", games_.c_str(), SW_SHOW), 32);
  const auto r = Recorded("start game.sh");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->args, (std::vector<std::string>{program.string(), "-a", "b c"}));
  EXPECT_EQ(r->cwd, games_.string());
  EXPECT_FALSE(fs::exists(records_ / "wine"));
  EXPECT_FALSE(fs::exists(records_ / "xdg-open"));
}

TEST_F(ShellTest, FailuresGiveTheClassicCodes) {
  WriteWindowsProgram(games_ / "game.exe");
  WriteFile(games_ / "dos.exe", std::string("MZ\x90\0\3\0\0\0", 8) + std::string(0x40, '\0'));
  fs::create_directories(games_ / "folder");
  const fs::path empty = root_ / "empty-bin";
  fs::create_directories(empty);
  const struct {
    const char* what;
    const char* verb;
    std::string file;
    const char* directory;
    std::string path;  // PATH for the call
    intptr_t result;
  } cases[] = {
      {"missing file", "open", "nothing.exe", nullptr, "", SE_ERR_FNF},
      {"missing folder", "open", "nowhere\\nothing.exe", nullptr, "", SE_ERR_PNF},
      {"missing working folder", "open", "game.exe", "nowhere", "", SE_ERR_PNF},
      {"working folder is a file", "open", "game.exe", "game.exe", "", SE_ERR_PNF},
      {"unmapped drive", "open", "Q:\\game.exe", nullptr, "", SE_ERR_PNF},
      {"network path", "open", "\\\\server\\share\\game.exe", nullptr, "", SE_ERR_PNF},
      {"no file", "open", "", nullptr, "", SE_ERR_FNF},
      {"unknown verb", "print", "game.exe", nullptr, "", SE_ERR_NOASSOC},
      {"explore a file", "explore", "game.exe", nullptr, "", SE_ERR_NOASSOC},
      {"no wine", "open", "game.exe", nullptr, empty.string(), SE_ERR_NOASSOC},
      {"no xdg-open", "open", "folder", nullptr, empty.string(), SE_ERR_NOASSOC},
      {"no PE header", "open", "dos.exe", nullptr, "", SE_ERR_BAD_FORMAT},
  };
  for (const auto& c : cases) {
    if (!c.path.empty()) profile_.Set("PATH", c.path);
    EXPECT_EQ(ShellExecuteW(nullptr, c.verb, c.file.c_str(), nullptr, c.directory, SW_SHOW),
              c.result)
        << c.what;
    if (!c.path.empty()) profile_.Set("PATH", bin_.string() + ":/usr/bin:/bin");
  }
  EXPECT_EQ(ShellExecuteW(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
  EXPECT_TRUE(fs::is_empty(records_)) << "nothing was started";
}

TEST_F(ShellTest, UnreadableFileIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteWindowsProgram(games_ / "locked.exe");
  fs::permissions(games_ / "locked.exe", fs::perms::none);
  EXPECT_EQ(ShellExecuteW(nullptr, "open", "locked.exe", nullptr, nullptr, SW_SHOW),
            SE_ERR_ACCESSDENIED);
}

TEST_F(ShellTest, ReturnsWhileTheProgramRunsAndLeavesNoChildBehind) {
  WriteWindowsProgram(games_ / "game.exe");
  profile_.Set("SHELL_TEST_LINGER", "30");
  // Watched or not, the call returns at once.
  for (const bool watched : {false, true}) {
    SCOPED_TRACE(watched ? "watched" : "not watched");
    ASSERT_GT((watched ? ShellExecuteWatchedW : ShellExecuteW)(nullptr, "open", "game.exe", nullptr,
                                                               nullptr, SW_SHOW),
              32);
    // The go-between was reaped and the program (and its watcher) belong to
    // init: we have no child at all, so none can linger as a zombie.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    const auto r = Recorded("wine");
    ASSERT_TRUE(r);
    // Still running: the call did not wait for the program, which outlives it.
    EXPECT_EQ(kill(r->pid, SIGTERM), 0) << "the call waited for the program";
  }
}

}  // namespace
