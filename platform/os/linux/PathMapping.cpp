#include "platform/os/linux/PathMapping.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/linux/PasswordDatabase.h"

namespace vark::os {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Simple lower-case mapping for the scripts whose names a game folder is
// likely to hold: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic.
// Anything else compares exactly.
char32_t FoldCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x137 && c != 0x130) return c | 1;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  return c;
}

// Decodes UTF-8 leniently (a byte that does not start a valid sequence stands
// for itself) and folds each code point, so any name can be compared.
std::u32string Fold(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    char32_t cp = b;
    size_t len = 1;
    if (b >= 0xC2 && b <= 0xF4) {
      size_t need = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
      if (i + need <= s.size()) {
        char32_t v = b & (0x7F >> need);
        bool ok = true;
        for (size_t k = 1; k < need; ++k) {
          unsigned char t = static_cast<unsigned char>(s[i + k]);
          if ((t & 0xC0) != 0x80) {
            ok = false;
            break;
          }
          v = (v << 6) | (t & 0x3F);
        }
        if (ok) {
          cp = v;
          len = need;
        }
      }
    }
    out.push_back(FoldCodePoint(cp));
    i += len;
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return Fold(a) == Fold(b);
}

std::string WithoutTrailingSlashes(std::string s) {
  while (s.size() > 1 && s.back() == '/')
    s.pop_back();
  return s;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return WithoutTrailingSlashes(home);
  std::string fromDatabase = PasswordHome();
  if (fromDatabase.empty() || fromDatabase[0] != '/')
    throw EInOutError("The drive cannot be found");
  return WithoutTrailingSlashes(fromDatabase);
}

std::string XdgFolder(const char* variable, const char* underHome) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return WithoutTrailingSlashes(value);
  return HomeFolder() + "/" + underHome;
}

// The logon name does not change while the program runs, and the scan maps
// the same profile paths every two seconds: read it once.
const std::string& CachedLogonName() {
  static const std::string name = LogonName();
  return name;
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (i > start) parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Windows resolves "." and ".." in a full path by text, and ".." at the root
// stays at the root.
std::vector<std::string_view> Normalized(const std::vector<std::string_view>& parts) {
  std::vector<std::string_view> out;
  for (std::string_view p : parts) {
    if (p == ".") continue;
    if (p == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    out.push_back(p);
  }
  return out;
}

std::string Join(std::string base, const std::vector<std::string_view>& parts, size_t from,
                 bool trailing) {
  for (size_t i = from; i < parts.size(); ++i) {
    if (!base.empty() && base.back() != '/') base += '/';
    base += parts[i];
  }
  if (trailing && !base.empty() && base.back() != '/') base += '/';
  return base;
}

bool IsLogonName(std::string_view name) {
  return EqualsNoCase(name, CachedLogonName());
}

// Maps the part of a drive-C path after "C:" (or after nothing, for "\x").
std::string MapDriveC(std::string_view rest) {
  bool trailing = !rest.empty() && IsSeparator(rest.back());
  std::vector<std::string_view> parts = Normalized(SplitComponents(rest));
  if (parts.size() >= 4 && EqualsAsciiNoCase(parts[0], "Users") &&
      EqualsAsciiNoCase(parts[2], "AppData")) {
    std::optional<std::string> base;
    if (EqualsAsciiNoCase(parts[3], "Local")) {
      base = XdgDataHome();
    } else if (EqualsAsciiNoCase(parts[3], "Roaming")) {
      base = XdgConfigHome();
    } else if (EqualsAsciiNoCase(parts[3], "LocalLow")) {
      base = XdgStateHome();
    }
    if (base && IsLogonName(parts[1])) return Join(*base, parts, 4, trailing);
  }
  if (parts.size() >= 3 && EqualsAsciiNoCase(parts[0], "Documents and Settings") &&
      EqualsAsciiNoCase(parts[2], "Application Data") && IsLogonName(parts[1])) {
    return Join(XdgConfigHome(), parts, 3, trailing);
  }
  return Join(DriveCFolder(), parts, 0, trailing);
}

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The entry of folder whose name folds to the same text as name, first in byte
// order when several do.
std::optional<std::string> FindFolded(const std::string& folder, std::string_view name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::u32string wanted = Fold(name);
  std::optional<std::string> best;
  while (const dirent* entry = readdir(dir)) {
    std::string_view candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (Fold(candidate) != wanted) continue;
    if (!best || candidate < *best) best = std::string(candidate);
  }
  closedir(dir);
  return best;
}

bool EntryExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string XdgDataHome() {
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}
std::string XdgConfigHome() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}
std::string XdgStateHome() {
  return XdgFolder("XDG_STATE_HOME", ".local/state");
}
std::string DriveCFolder() {
  return XdgDataHome() + "/valdor-launcher/drive_c";
}

std::string MapWindowsPath(std::string_view path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    if (AsciiLower(path[0]) != 'c') throw EInOutError("The drive cannot be found");
    return MapDriveC(path.substr(2));
  }
  if (path.size() >= 2 && path[0] == '\\' && IsSeparator(path[1])) {
    throw EInOutError("The network path was not found");
  }
  // A leading backslash is the root of the current drive, which is always C;
  // a leading slash is a Linux path.
  if (!path.empty() && path[0] == '\\') return MapDriveC(path);
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string MatchPathCase(std::string_view path) {
  std::string whole(path);
  if (whole.empty() || EntryExists(whole)) return whole;
  if (errno != ENOENT && errno != ENOTDIR) return whole;

  bool trailing = whole.back() == '/';
  std::vector<std::string_view> parts = SplitComponents(path);
  std::string current = whole[0] == '/' ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    std::string candidate = current;
    if (!candidate.empty() && candidate.back() != '/') candidate += '/';
    candidate += part;
    if (part == "." || part == ".." || EntryExists(candidate)) {
      current = std::move(candidate);
      continue;
    }
    std::optional<std::string> match = FindFolded(current, part);
    if (!match) return Join(current, parts, i, trailing);
    if (!current.empty() && current.back() != '/') current += '/';
    current += *match;
  }
  if (trailing && current.back() != '/') current += '/';
  return current;
}

std::string ToLinuxPath(std::string_view path) {
  return MatchPathCase(MapWindowsPath(path));
}

}  // namespace vark::os
