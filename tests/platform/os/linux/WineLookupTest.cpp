// Which Wine starts a Windows program and whether it runs 32-bit ones, on
// file layouts of the test's own: a search path folder and a Debian loader
// folder, holding scripts and ELF stubs (only their first bytes count), with
// the loaders' answer to `--version` given by the test.
#include "platform/os/linux/WineLookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/common/TempProfile.h"

namespace fs = std::filesystem;

namespace {

using vark::os::FoundWine;

// What a file of the layout is: the Debian wrapper's kind of script, or a
// loader that is an ELF program of 32 or 64 bits.
enum Stub { Script, Elf32, Elf64 };

struct Place {
  std::string path;  // relative to the test's root: "bin/wine", "debian/wine64"
  Stub stub;
};

TEST(WineLookup, FindsWineInOrderAndKnowsWhetherItRuns32BitPrograms) {
  const struct {
    const char* what;
    std::vector<Place> files;
    std::optional<std::string> wineVariable;  // "ROOT/" is replaced by the root
    std::set<std::string> running;            // loaders that answer --version
    FoundWine::Kind kind;
    std::string program;  // relative to the root
    bool runs32;
  } cases[] = {
      {"none", {}, std::nullopt, {}, FoundWine::None, "", false},
      {"WINE empty counts as unset", {}, "", {}, FoundWine::None, "", false},
      {"WINE set, by path: trusted",
       {{"bin/wine", Script}, {"opt/mywine", Elf64}},
       "ROOT/opt/mywine",
       {},
       FoundWine::FromVariable,
       "opt/mywine",
       true},
      {"WINE set, by name on PATH",
       {{"bin/wine", Script}, {"bin/wine-9", Elf32}},
       "wine-9",
       {},
       FoundWine::FromVariable,
       "bin/wine-9",
       true},
      {"WINE names nothing",
       {{"bin/wine", Script}},
       "ROOT/opt/gone",
       {},
       FoundWine::VariableNotRunnable,
       "",
       false},
      {"WINE names no program on PATH",
       {{"bin/wine", Script}},
       "wine-nope",
       {},
       FoundWine::VariableNotRunnable,
       "",
       false},
      {"Debian: wrapper, both loaders, 32-bit runs",
       {{"bin/wine", Script}, {"debian/wine64", Elf64}, {"debian/wine", Elf32}},
       std::nullopt,
       {"debian/wine"},
       FoundWine::WineOnPath,
       "bin/wine",
       true},
      {"Debian: wrapper, 32-bit loader that cannot run",
       {{"bin/wine", Script}, {"debian/wine64", Elf64}, {"debian/wine", Elf32}},
       std::nullopt,
       {},
       FoundWine::WineOnPath,
       "bin/wine",
       false},
      {"Debian: wrapper and wine64 only",
       {{"bin/wine", Script}, {"debian/wine64", Elf64}},
       std::nullopt,
       {},
       FoundWine::WineOnPath,
       "bin/wine",
       false},
      {"another system's wrapper: trusted",
       {{"bin/wine", Script}},
       std::nullopt,
       {},
       FoundWine::WineOnPath,
       "bin/wine",
       true},
      {"wine as a 32-bit loader that runs",
       {{"bin/wine", Elf32}, {"bin/wine64", Elf64}},
       std::nullopt,
       {"bin/wine"},
       FoundWine::WineOnPath,
       "bin/wine",
       true},
      {"wine as a 32-bit loader that cannot run",
       {{"bin/wine", Elf32}},
       std::nullopt,
       {},
       FoundWine::WineOnPath,
       "bin/wine",
       false},
      {"wine as a 64-bit (WoW64) loader",
       {{"bin/wine", Elf64}},
       std::nullopt,
       {},
       FoundWine::WineOnPath,
       "bin/wine",
       true},
      {"only wine64 on PATH",
       {{"bin/wine64", Elf64}, {"debian/wine64", Elf64}},
       std::nullopt,
       {},
       FoundWine::Wine64OnPath,
       "bin/wine64",
       false},
      {"wine64 on PATH, linked to a folder with a 32-bit loader",
       {{"opt/wine64", Elf64}, {"opt/wine", Elf32}},
       std::nullopt,
       {"opt/wine"},
       FoundWine::Wine64OnPath,
       "bin/wine64",
       true},
      {"only the Debian loader",
       {{"debian/wine64", Elf64}},
       std::nullopt,
       {},
       FoundWine::DebianLoader,
       "debian/wine64",
       false},
      {"the Debian loaders, 32-bit runs",
       {{"debian/wine64", Elf64}, {"debian/wine", Elf32}},
       std::nullopt,
       {"debian/wine"},
       FoundWine::DebianLoader,
       "debian/wine64",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    vark::testing::TempProfile profile;
    const std::string root = fs::canonical(profile.Root()).string();
    // Only the folders the layout fills exist: Debian's is told by its folder.
    for (const Place& f : c.files) {
      const std::string bytes = f.stub == Script  ? std::string("#!/bin/sh\nexit 0\n")
                                : f.stub == Elf32 ? std::string(
                                                        "\x7f"
                                                        "ELF\1\1\1",
                                                        7)
                                                  : std::string(
                                                        "\x7f"
                                                        "ELF\2\1\1",
                                                        7);
      vark::testing::WriteBytes(root + "/" + f.path, bytes);
      fs::permissions(root + "/" + f.path, fs::perms::owner_all);
    }
    if (c.what == std::string("wine64 on PATH, linked to a folder with a 32-bit loader")) {
      fs::create_directories(root + "/bin");
      fs::create_symlink(root + "/opt/wine64", root + "/bin/wine64");
    }

    std::vector<std::string> asked;
    vark::os::WineSearch search;
    if (c.wineVariable) {
      std::string value = *c.wineVariable;
      if (value.rfind("ROOT/", 0) == 0) value = root + value.substr(4);
      search.wineVariable = value;
    }
    search.searchPath = root + "/bin";
    search.debianLoaderFolder = root + "/debian";
    search.loaderRuns = [&](const std::string& loader) {
      asked.push_back(loader);
      return c.running.count(loader.substr(root.size() + 1)) > 0;
    };

    const FoundWine wine = vark::os::FindWine(search);
    EXPECT_EQ(wine.kind, c.kind);
    EXPECT_EQ(wine.program, c.program.empty() ? "" : root + "/" + c.program);
    EXPECT_EQ(vark::os::Runs32BitPrograms(wine, search), c.runs32);
    // Only a loader that exists is asked to run.
    for (const std::string& loader : asked)
      EXPECT_TRUE(fs::exists(loader)) << loader;
  }
}

}  // namespace
