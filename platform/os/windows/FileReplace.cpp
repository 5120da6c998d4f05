#include "platform/os/windows/FileReplace.h"

#include <iterator>

namespace vark::os::win32 {

namespace {

// The reasons a program that holds the file gives: it shares it too little,
// it has it open for deletion (the system answers "access denied" then), or
// the system could not move the old file aside for that reason.
bool Passes(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// A move that lets the new file take the place of one already there.
bool MoveOnto(const std::wstring& from, const std::wstring& to, PassingRefusals& refusals) {
  while (
      !MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (!refusals.WaitAfter(GetLastError())) return false;
  }
  return true;
}

// Removes the temporary file and leaves error as the last error.
bool GiveUp(const std::wstring& temporary, DWORD error) {
  DeleteFileW(temporary.c_str());
  SetLastError(error);
  return false;
}

}  // namespace

bool PassingRefusals::WaitAfter(DWORD error) {
  // 630 ms in all: a scanner that looks at a small file is done long before.
  constexpr DWORD kWaits[] = {10, 20, 40, 80, 160, 320};
  if (!Passes(error) || waits_ == static_cast<int>(std::size(kWaits))) {
    SetLastError(error);
    return false;
  }
  Sleep(kWaits[waits_++]);
  SetLastError(error);
  return true;
}

bool PutInPlace(const std::wstring& temporary, const std::wstring& target, bool targetExists,
                ReplaceFileCall replace) {
  PassingRefusals refusals;
  // ReplaceFileW keeps the old file's attributes and security; it needs an
  // old file, and a move takes the place of one that is not there (or no
  // longer: another program may have removed it meanwhile).
  while (targetExists) {
    if (replace(target.c_str(), temporary.c_str(), nullptr,
                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                nullptr)) {
      return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) break;
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
      // The old file is no longer under its name, and the new contents are
      // only in the temporary file: it goes to the name, or stays where it
      // is, never deleted.
      return MoveOnto(temporary, target, refusals);
    }
    if (!refusals.WaitAfter(error)) return GiveUp(temporary, error);
  }
  if (MoveOnto(temporary, target, refusals)) return true;
  return GiveUp(temporary, GetLastError());
}

}  // namespace vark::os::win32
