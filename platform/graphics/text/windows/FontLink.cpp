#include "platform/graphics/text/windows/FontLink.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "platform/os/windows/Win32.h"

namespace vark::text {

namespace {

constexpr const wchar_t* kSystemLinkKey =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";

// Each entry is "file,Face Name" with optional scale fields after a further
// comma ("MEIRYO.TTC,Meiryo UI,128,96"). The scaled entries repeat a face
// listed unscaled beside them; GDI draws linked glyphs at the base font's em,
// and so does the engine, so only the face counts. An entry that names only a
// file leaves the face to the file, which the engine cannot open by name: it
// is passed over.
void AddFace(std::wstring_view entry, std::vector<std::wstring>& faces) {
  const size_t comma = entry.find(L',');
  if (comma == std::wstring_view::npos) return;
  std::wstring_view face = entry.substr(comma + 1);
  face = face.substr(0, face.find(L','));
  while (!face.empty() && face.front() == L' ')
    face.remove_prefix(1);
  while (!face.empty() && face.back() == L' ')
    face.remove_suffix(1);
  if (face.empty()) return;
  std::wstring name(face);
  for (const std::wstring& known : faces) {
    if (_wcsicmp(known.c_str(), name.c_str()) == 0) return;
  }
  faces.push_back(std::move(name));
}

}  // namespace

std::vector<std::wstring> LinkedFaces(const std::wstring& face) {
  std::vector<std::wstring> faces;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemLinkKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return faces;
  DWORD type = 0;
  DWORD bytes = 0;
  std::wstring list;
  if (RegQueryValueExW(key, face.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      (type == REG_MULTI_SZ || type == REG_SZ) && bytes > 0) {
    list.resize(bytes / sizeof(wchar_t) + 1);
    if (RegQueryValueExW(key, face.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(list.data()),
                         &bytes) != ERROR_SUCCESS) {
      list.clear();
    }
    list.resize(std::min(list.size(), bytes / sizeof(wchar_t)));
  }
  RegCloseKey(key);
  // Entries end at each NUL (a list) or line end (a single string written by
  // hand).
  std::wstring_view rest(list);
  while (!rest.empty()) {
    const size_t end = rest.find_first_of(std::wstring_view(L"\0\r\n", 3));
    AddFace(rest.substr(0, end), faces);
    if (end == std::wstring_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return faces;
}

}  // namespace vark::text
