// What the Windows program carries besides its code, read back from the built
// valdor-launcher.exe as the system reads it: the manifest through an
// activation context made from it (Wine refuses the per-monitor v2 call
// itself, so the declaration is checked here rather than by its effect), the
// icon in the sizes the shell shows, and the version.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The program lies at the top of the build tree, the tests in tests/.
std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path.resize(path.rfind(L'\\'));
  path.resize(path.rfind(L'\\') + 1);
  return path + L"valdor-launcher.exe";
}

std::wstring Setting(HANDLE context, const wchar_t* ns, const wchar_t* name) {
  wchar_t value[256] = {};
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, context, ns, name, value, 256, &written)) return L"<missing>";
  return value;
}

TEST(ProgramResources, ManifestAsTheSystemReadsIt) {
  const std::wstring program = ProgramPath();
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = program.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  const HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no valid manifest, error " << GetLastError();
  const wchar_t* const k2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
  const wchar_t* const k2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
  EXPECT_EQ(Setting(context, k2016, L"dpiAwareness"), L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(Setting(context, k2005, L"dpiAware"), L"true/pm") << "for systems before 1607";
  EXPECT_EQ(Setting(context, k2016, L"longPathAware"), L"true");
  ReleaseActCtx(context);

  // Windows 10 and 11 share one compatibility id.
  const HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                             SizeofResource(module, found));
  EXPECT_NE(manifest.find(R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)"),
            std::string::npos);
  FreeLibrary(module);
}

TEST(ProgramResources, IconInEverySizeTheShellShows) {
  const HMODULE module = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  // RT_GROUP_ICON and RT_ICON, whose macros name the narrow forms.
  const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
  ASSERT_NE(group, nullptr);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
  for (int size : {16, 32, 48, 256}) {
    // The system picks the image closest to the size asked; each must be there
    // and decode (the 256-pixel one is a PNG).
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, 0);
    const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));
    ASSERT_NE(image, nullptr) << size;
    const HICON icon =
        CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(module, image))),
                                 SizeofResource(module, image), TRUE, 0x00030000, 0, 0, 0);
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    EXPECT_EQ(bitmap.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(module);
}

TEST(ProgramResources, Version) {
  const std::wstring program = ProgramPath();
  std::vector<BYTE> data(GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  const std::wstring version = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L".0.0";
  const std::pair<const wchar_t*, std::wstring> strings[] = {
      {L"ProductName", L"Valdor III Launcher"},      {L"FileDescription", L"Valdor III Launcher"},
      {L"CompanyName", L"VarkelSoftware"},           {L"LegalCopyright", L"\u00A9 VarkelSoftware"},
      {L"OriginalFilename", L"valdor-launcher.exe"}, {L"FileVersion", version},
  };
  for (const auto& [name, expected] : strings) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    ASSERT_TRUE(
        VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::wstring(value), expected);
  }
}

}  // namespace
