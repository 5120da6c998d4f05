// The file operations under the text and picture files, one implementation
// per platform: reading a file in chunks, and replacing a file's contents in
// one step. Paths are the launcher's (on Linux mapped to the file system).
// Failures raise the file errors below, which name the file as this system
// names it, where a user can look for it (a path that cannot be placed at all
// is named as given), followed by the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vark::os {

// A regular file open for reading. Other programs may go on reading and
// writing it meanwhile.
class FileReader {
 public:
  // Raises EFOpenError when the file cannot be opened or is not a regular
  // file (a folder, a device, a pipe).
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Reads up to size bytes into buffer; 0 only at the end of the file. Raises
  // EInOutError when reading fails.
  size_t Read(char* buffer, size_t size);
  // The size when it was opened: a hint, since a file may grow meanwhile (and
  // some special files report 0).
  uint64_t SizeHint() const { return size_; }
  // The file as the errors name it.
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  intptr_t handle_ = -1;  // the platform's descriptor or handle
  uint64_t size_ = 0;
};

// Replaces the file's contents with bytes so that it is always either the old
// or the new contents, also when the power fails: the bytes go to a new file
// in the same folder, which is flushed to disk and then put in the old one's
// place. An existing file keeps its permissions (on Linux; on Windows what
// ReplaceFileW keeps), and on Linux writing through a symbolic link replaces
// the file it points to. Raises EFCreateError and leaves the old file as it
// was (and no temporary file) when any step fails, among them a read-only
// file and one that another program holds open without sharing it (on
// Windows once a short wait has not seen it let go). Should Windows take the
// old file from its name and then fail to put the new one there, the new
// file is left under its temporary name rather than lost.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// The classic messages: Cannot open file "<name>". <reason>
[[noreturn]] void RaiseFileOpenError(const std::string& name, const std::string& reason);
// Cannot read file "<name>". <reason>
[[noreturn]] void RaiseFileReadError(const std::string& name, const std::string& reason);
// Cannot create file "<name>". <reason>
[[noreturn]] void RaiseFileCreateError(const std::string& name, const std::string& reason);

}  // namespace vark::os
