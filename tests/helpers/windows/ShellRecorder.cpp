// Started by the shell tests in place of an edition's program or a text
// editor: writes how it was started into the file named by
// VARK_SHELL_RECORD, one UTF-8 line each: its working folder, then its
// arguments (the program itself first). When VARK_SHELL_RECORD names a
// folder, the record is the file "<its own file name>.<process id>" there,
// so several programs can record side by side. The record is written beside
// and then moved into place, so a reader never sees half of it.
#include <windows.h>

#include <shellapi.h>  // after windows.h, whose types it uses

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace

int main() {
  wchar_t target[32768];
  if (GetEnvironmentVariableW(L"VARK_SHELL_RECORD", target, 32768) == 0) return 2;
  wchar_t folder[32768];
  GetCurrentDirectoryW(32768, folder);
  std::string record = Utf8(folder) + "\n";
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 0; i < count; ++i)
    record += Utf8(args[i]) + "\n";
  LocalFree(args);

  std::wstring recordFile = target;
  const DWORD attributes = GetFileAttributesW(target);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    wchar_t self[32768];
    const DWORD length = GetModuleFileNameW(nullptr, self, 32768);
    std::wstring name(self, length);
    name = name.substr(name.find_last_of(L'\\') + 1);
    recordFile += L"\\" + name + L"." + std::to_wstring(GetCurrentProcessId());
  }
  const std::wstring partial = recordFile + L".partial";
  const HANDLE file =
      CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(partial.c_str(), recordFile.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
