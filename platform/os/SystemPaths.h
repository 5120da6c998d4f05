// Where things are on this system: the user's application-data folders, a
// path as the system names the file, and the running program.
#pragma once

#include <string>
#include <string_view>

namespace vark::os {

// The three branches of the user's application-data folder.
enum class AppDataBranch { Local, Roaming, LocalLow };

// The user's application-data folder of a branch, in the launcher's Windows
// form, ending in "\". On Windows it is the known folder itself
// ("C:\Users\Jörg\AppData\Local\"), wherever the profile lies; on Linux it is
// "C:\Users\<logon>\AppData\Local\" (or Roaming, LocalLow), which the file
// layer maps to the XDG folders. Raises EOSError when the system cannot say
// (no known folder; no logon name).
std::string UserAppDataFolder(AppDataBranch branch);

// The file a launcher path names, as this system writes it, for messages: on
// Linux the mapped path with "." and ".." resolved, on Windows the full path.
// A path that has no place on this system raises EInOutError.
std::string SystemPathName(std::string_view path);

// The running program's file as this system names it; empty when the system
// does not say.
std::string ExecutablePath();

// The running program's file name without its folder (and without ".exe"),
// or "Application" when the system does not say.
std::string ProgramName();

}  // namespace vark::os
