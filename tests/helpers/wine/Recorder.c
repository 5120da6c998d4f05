// Started through Wine in place of an edition's game, own launcher or map
// editor: records how it was started in the folder "<its own file name>"
// inside the folder VARK_WINE_RECORDS names (a Windows path, Z:\... for a
// Linux folder): "cwd" holds its working folder, "args" its arguments after
// the program, one a line. The record is written beside and then moved into
// place, so a reader never sees half of it. Built for 64 and 32 bits: a
// 32-bit one that records anything was started where it should not have been.
#include <windows.h>

#include <stdio.h>
#include <string.h>

static int WriteFile8(const char* folder, const char* name, const char* text) {
  char path[MAX_PATH * 2];
  snprintf(path, sizeof path, "%s\\%s", folder, name);
  FILE* f = fopen(path, "wb");
  if (!f) return 0;
  fputs(text, f);
  return fclose(f) == 0;
}

int main(int argc, char** argv) {
  char records[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("VARK_WINE_RECORDS", records, sizeof records);
  if (n == 0 || n >= sizeof records) return 2;

  char self[MAX_PATH];
  if (GetModuleFileNameA(NULL, self, sizeof self) == 0) return 2;
  const char* name = strrchr(self, '\\');
  name = name ? name + 1 : self;

  char cwd[MAX_PATH];
  if (GetCurrentDirectoryA(sizeof cwd, cwd) == 0) return 2;
  char args[4096] = "";
  for (int i = 1; i < argc; ++i) {
    strncat(args, argv[i], sizeof args - strlen(args) - 2);
    strcat(args, "\n");
  }

  char temp[MAX_PATH * 2], record[MAX_PATH * 2];
  snprintf(temp, sizeof temp, "%s\\%s.%lu.tmp", records, name, GetCurrentProcessId());
  snprintf(record, sizeof record, "%s\\%s", records, name);
  if (!CreateDirectoryA(temp, NULL)) return 2;
  strcat(cwd, "\n");
  if (!WriteFile8(temp, "cwd", cwd) || !WriteFile8(temp, "args", args)) return 2;
  return MoveFileA(temp, record) ? 0 : 2;
}
