// ShellExecuteW on Windows: the system's shell, asked through ShellExecuteExW
// with the verb, the file, the parameters as they are and the working folder.
// It shows no message of its own (the launcher says what went wrong), and
// the reason of the last failure is kept for ShellErrorText.
#include "platform/os/Shell.h"

#include <new>

#include "platform/os/SystemError.h"
#include "platform/os/windows/Com.h"
#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"

namespace {

using vark::os::win32::Widen;

// The last call that failed: its result, the system's error and the file's
// name, which the system's texts refer to as "%1".
struct Failure {
  intptr_t result = 0;
  DWORD error = 0;
  std::string name;
};

Failure& LastFailure() {
  static Failure failure;
  return failure;
}

// The classic result for a system error, where the shell did not give one.
intptr_t ResultOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
      return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED:
      return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return SE_ERR_OOM;
    case ERROR_BAD_FORMAT:
    case ERROR_BAD_EXE_FORMAT:
      return SE_ERR_BAD_FORMAT;
    case ERROR_NO_ASSOCIATION:
      return SE_ERR_NOASSOC;
  }
  return SE_ERR_ACCESSDENIED;
}

std::string FileName(std::string_view path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/'))
    path.remove_suffix(1);
  return std::string(path.substr(path.find_last_of("\\/") + 1));
}

// The shell takes no path of MAX_PATH characters or more, whatever the
// program's manifest says about long paths: it answers that the file or the
// folder is not there, though the launcher has just found it. Such a path is
// refused before the shell sees it, with the reason that is true. A folder to
// start in needs room for the backslash the system adds. A bare name, which
// the shell looks up itself, and an address ("https://...") are no paths.
bool TooLongForTheShell(const std::wstring& path, DWORD roomNeeded) {
  if (path.empty() || path.find_first_of(L"\\/:") == std::wstring::npos ||
      path.find(L"://") != std::wstring::npos) {
    return false;
  }
  // The length of the full path, with its terminating NUL.
  return GetFullPathNameW(path.c_str(), 0, nullptr, nullptr) + roomNeeded > MAX_PATH;
}

intptr_t Execute(const char* verb, const char* file, const char* parameters, const char* directory,
                 int showCmd) {
  vark::os::win32::EnsureComInitialized();
  const std::wstring wideVerb = verb ? Widen(verb) : std::wstring();
  const std::wstring wideFile = file ? Widen(file) : std::wstring();
  const std::wstring wideParameters = parameters ? Widen(parameters) : std::wstring();
  const std::wstring wideDirectory = directory ? Widen(directory) : std::wstring();

  if (TooLongForTheShell(wideFile, 0) || TooLongForTheShell(wideDirectory, 1)) {
    LastFailure() = {SE_ERR_PNF, ERROR_FILENAME_EXCED_RANGE, FileName(file)};
    return SE_ERR_PNF;
  }

  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // No message box of the shell's own, and a call that has finished its work
  // (and its error) when it returns.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = wideVerb.empty() ? nullptr : wideVerb.c_str();
  info.lpFile = wideFile.c_str();
  // An empty parameter string stays empty, and a missing one missing.
  info.lpParameters = parameters ? wideParameters.c_str() : nullptr;
  info.lpDirectory = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
  info.nShow = showCmd;
  SetLastError(ERROR_SUCCESS);
  if (ShellExecuteExW(&info)) {
    const intptr_t result = reinterpret_cast<intptr_t>(info.hInstApp);
    return result > 32 ? result : SE_OK;
  }
  DWORD error = GetLastError();
  intptr_t result = reinterpret_cast<intptr_t>(info.hInstApp);
  if (result <= 0 || result > 32) result = ResultOf(error);
  // Wine reports a missing association as a bad program; the result says
  // what it was.
  if (result == SE_ERR_NOASSOC) error = ERROR_NO_ASSOCIATION;
  if (error == ERROR_SUCCESS) error = static_cast<DWORD>(result);
  LastFailure() = {result, error, FileName(file ? file : "")};
  return result;
}

}  // namespace

intptr_t ShellExecuteW(void* /*hwnd*/, const char* verb, const char* file, const char* parameters,
                       const char* directory, int showCmd) {
  if (file == nullptr || *file == '\0') {
    LastFailure() = {SE_ERR_FNF, ERROR_FILE_NOT_FOUND, ""};
    return SE_ERR_FNF;
  }
  try {
    return Execute(verb, file, parameters, directory, showCmd);
  } catch (const std::bad_alloc&) {
    LastFailure() = {SE_ERR_OOM, ERROR_NOT_ENOUGH_MEMORY, ""};
    return SE_ERR_OOM;
  }
}

std::string ShellErrorText(intptr_t result) {
  if (result > 32) return "";
  const Failure& last = LastFailure();
  const bool known = last.result == result && last.error != 0;
  std::string text = vark::os::SystemErrorText(static_cast<int>(known ? last.error : result));
  // Some texts name the file as "%1" ("%1 is not a valid Win32 application.").
  const std::string name = known && !last.name.empty() ? last.name : "The file";
  for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at + name.size()))
    text.replace(at, 2, name);
  return text;
}
