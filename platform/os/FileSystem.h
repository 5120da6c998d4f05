// Files and folders, named by the launcher's Windows-style paths (on Linux
// mapped to the file system, where components match case-insensitively). The
// classic names stay global because the code above calls them as they are.
#pragma once

#include <optional>
#include <string>

#include "platform/os/DateTime.h"

// True for a regular file (after following symbolic links), false for a
// folder, a device or a pipe, for a path that does not exist and for a path on
// a drive that cannot be mapped: there is no such file.
bool FileExists(const std::string& FileName);

// True for a folder (after following symbolic links).
bool DirectoryExists(const std::string& Directory);

// Creates the folder with every missing parent. Returns true when the folder
// exists afterwards (also when it existed before) and false when the system
// refused to create it; the system's reason is then in errno (GetLastError on
// Windows). A path that is not valid raises EInOutError: an empty path
// ("Unable to create directory"), a drive that cannot be found, or a Windows
// path with a character Windows does not allow in a name ("The filename,
// directory name, or volume label syntax is incorrect").
bool ForceDirectories(const std::string& Dir);

// The process's current folder as this system names it. Raises EOSError when
// it cannot be read (for example after the folder was removed).
std::string GetCurrentDir();

namespace vark::os {

// The last-write time of a regular file as a local-time day number, or nothing
// when there is no regular file at the path. While the file exists with the
// exact name given, this costs exactly one call to the file system.
std::optional<TDateTime> FileLastWriteTime(const std::string& path);

}  // namespace vark::os
