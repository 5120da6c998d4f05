// The launcher builds Windows paths ("C:\Users\<logon>\AppData\Local\...",
// "..\Valdor III Tidemark\vtide HD.exe"). Everything that touches a file maps
// them to the Linux file system here:
//
//   C:\Users\<logon>\AppData\Local\...              $XDG_DATA_HOME/...    (~/.local/share)
//   C:\Users\<logon>\AppData\Roaming\...            $XDG_CONFIG_HOME/...  (~/.config)
//   C:\Users\<logon>\AppData\LocalLow\...           $XDG_STATE_HOME/...   (~/.local/state)
//   C:\Documents and Settings\<logon>\Application Data\...   $XDG_CONFIG_HOME/...
//   any other C:\... and \...                       $XDG_DATA_HOME/valdor-launcher/drive_c/...
//   relative paths                                  relative to the current folder
//   /...                                            unchanged (already a Linux path)
//   \\server\share\...                              EInOutError "The network path was not found"
//   any other drive letter                          EInOutError "The drive cannot be found"
//
// Every "\" becomes "/", also inside a Linux path (the launcher appends Windows
// parts to the current folder), so a file name with a real backslash cannot be
// named. The folder names of the profile are compared case-insensitively, the
// logon name too; a profile of another user is an ordinary folder of drive C.
// In Windows paths "." and ".." are resolved lexically first, as Windows does,
// so "...\Local\..\Roaming\x" lands in the Roaming folder.
//
// XDG variables that are unset, empty or not absolute are ignored, as the XDG
// base directory rules say, and the default under HOME is used; a HOME that is
// unset or not absolute falls back to the password database.
#pragma once

#include <string>
#include <string_view>

namespace vark::os {

// The mapping above followed by MatchPathCase.
std::string ToLinuxPath(std::string_view path);

// The mapping alone. It does not look at the file system (apart from the
// logon name, read once, for profile paths).
std::string MapWindowsPath(std::string_view path);

// A component that does not exist with its exact case is matched
// case-insensitively against the entries of its folder, as Windows programs
// expect of a folder copied from Windows. Of several matches the first in
// byte order wins, so the choice does not depend on the directory's order.
// Once a component has no match at all, the rest is kept as it stands. A path
// that exists as given costs a single lstat.
std::string MatchPathCase(std::string_view path);

// The XDG base folders after the rules above, without a trailing "/".
std::string XdgDataHome();
std::string XdgConfigHome();
std::string XdgStateHome();

// Where drive C lives for this user.
std::string DriveCFolder();

}  // namespace vark::os
