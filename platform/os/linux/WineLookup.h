// Which Wine starts a Windows program, and whether it starts 32-bit ones.
//
// Wine is looked for as players have it installed, in this order:
//   1. the program the WINE environment variable names, when it is set and
//      not empty (the convention of Wine's own helper scripts): a path, or a
//      name looked up on PATH; naming nothing that runs is an error of its
//      own, never skipped over;
//   2. `wine` on PATH (Debian's wrapper script, or another system's loader);
//   3. `wine64` on PATH;
//   4. Debian's 64-bit loader, /usr/lib/wine/wine64 (Debian's wine64 package
//      alone puts nothing on PATH).
//
// A working 32-bit Wine, by what was found:
//   - WINE set: the player's choice is trusted.
//   - a program named wine64 (on PATH, or Debian's loader): the 64-bit half
//     of a Wine built in two halves, which hands a 32-bit program to the
//     32-bit loader `wine` in its own folder: works when that loader exists
//     and runs.
//   - `wine` that is a 32-bit ELF program: a 32-bit loader (other
//     distributions, WineHQ's packages): works when it runs.
//   - `wine` that is a 64-bit ELF program: a WoW64 build, which runs 32-bit
//     programs itself: works.
//   - `wine` that is a script: Debian's wrapper starts Debian's 32-bit loader
//     (/usr/lib/wine/wine) when it is there and the 64-bit one otherwise. Where
//     Debian's loader folder exists, 32-bit works when its 32-bit loader exists
//     and runs; another system's wrapper is trusted.
// A loader "runs" when `LOADER --version` exits with 0 within a few seconds
// (on a machine that cannot run 32-bit Linux programs it fails at once with
// "Exec format error"). The real answer is asked once per loader and run.
// What is trusted and still fails is told by the early-exit watch.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vark::os {

// Where Wine is looked for; the real one comes from CurrentWineSearch().
struct WineSearch {
  std::optional<std::string> wineVariable;  // $WINE
  std::string searchPath;                   // $PATH
  std::string debianLoaderFolder = "/usr/lib/wine";
  // Whether a loader, by absolute path, runs (see above).
  std::function<bool(const std::string& loader)> loaderRuns;
};

// This process's environment, and the real probe (answers kept per loader).
WineSearch CurrentWineSearch();
// Where CurrentWineSearch looks for Debian's loaders (/usr/lib/wine); tests of
// the launch actions point it at a folder of their own, and "" restores it.
void SetDebianWineFolder(std::string folder);

struct FoundWine {
  enum Kind : int {
    None,                 // no Wine at all
    VariableNotRunnable,  // WINE names nothing that runs: `named` says what
    FromVariable,         // the program WINE names
    WineOnPath,           // `wine` on PATH
    Wine64OnPath,         // `wine64` on PATH
    DebianLoader,         // Debian's /usr/lib/wine/wine64
  } kind = None;
  std::string program;  // absolute path of what to start; empty for None, VariableNotRunnable
  std::string named;    // the value of WINE, for FromVariable and VariableNotRunnable
  explicit operator bool() const { return !program.empty(); }
  // A 64-bit loader started directly rather than through a wrapper.
  bool IsLoader64() const { return kind == Wine64OnPath || kind == DebianLoader; }
};

FoundWine FindWine(const WineSearch& search);

// Whether `wine` (found by FindWine with `search`) starts 32-bit Windows
// programs, by the rule above. May run loaders through search.loaderRuns.
bool Runs32BitPrograms(const FoundWine& wine, const WineSearch& search);

}  // namespace vark::os
