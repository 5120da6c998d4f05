#include "platform/os/linux/DesktopAccent.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/os/linux/Gvdb.h"
#include "platform/os/linux/PathMapping.h"

namespace vark::os {

namespace {

constexpr uint32_t Stored(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | (b << 16) | (g << 8) | r;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
    s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
    s.remove_suffix(1);
  return s;
}

bool ParseByte(std::string_view s, int base, uint32_t& out) {
  s = Trim(s);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
  return ec == std::errc() && end == s.data() + s.size() && out <= 255;
}

std::optional<uint32_t> ParseKdeColor(std::string_view v) {
  v = Trim(v);
  uint32_t c[3];
  if (v.size() == 7 && v[0] == '#') {
    for (int i = 0; i < 3; ++i) {
      if (!ParseByte(v.substr(1 + 2 * i, 2), 16, c[i])) return std::nullopt;
    }
    return Stored(c[0], c[1], c[2]);
  }
  for (int i = 0; i < 3; ++i) {
    const size_t comma = v.find(',');
    if (i < 2 && comma == std::string_view::npos) return std::nullopt;
    if (!ParseByte(v.substr(0, comma), 10, c[i])) return std::nullopt;
    v = comma == std::string_view::npos ? std::string_view() : v.substr(comma + 1);
  }
  return Stored(c[0], c[1], c[2]);
}

// The whole file, or nothing when it is missing or larger than limit.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return std::nullopt;
  std::string data;
  char buf[16384];
  while (f.read(buf, sizeof buf) || f.gcount() > 0) {
    data.append(buf, static_cast<size_t>(f.gcount()));
    if (data.size() > limit) return std::nullopt;
  }
  return data;
}

bool Names(std::string_view desktops, std::string_view name) {
  // A colon-separated list, compared without case ("ubuntu:GNOME", "KDE").
  while (!desktops.empty()) {
    const size_t colon = desktops.find(':');
    std::string_view one = desktops.substr(0, colon);
    if (one.size() == name.size()) {
      bool same = true;
      for (size_t i = 0; i < one.size(); ++i) {
        same = same && std::tolower(static_cast<unsigned char>(one[i])) ==
                           std::tolower(static_cast<unsigned char>(name[i]));
      }
      if (same) return true;
    }
    if (colon == std::string_view::npos) break;
    desktops.remove_prefix(colon + 1);
  }
  return false;
}

}  // namespace

std::optional<uint32_t> KdeAccentColor(std::string_view text) {
  bool inGeneral = false;
  while (!text.empty()) {
    const size_t nl = text.find('\n');
    std::string_view line = Trim(text.substr(0, nl));
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inGeneral = line == "[General]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inGeneral || eq == std::string_view::npos) continue;
    if (Trim(line.substr(0, eq)) == "AccentColor") return ParseKdeColor(line.substr(eq + 1));
  }
  return std::nullopt;
}

std::optional<uint32_t> GnomeAccentByName(std::string_view name) {
  // The accent colours of GNOME's own style, by the names its settings use.
  struct Named {
    std::string_view name;
    uint32_t r, g, b;
  };
  static constexpr std::array<Named, 9> kAccents{{{"blue", 0x35, 0x84, 0xE4},
                                                  {"teal", 0x21, 0x90, 0xA4},
                                                  {"green", 0x3A, 0x94, 0x4A},
                                                  {"yellow", 0xC8, 0x88, 0x00},
                                                  {"orange", 0xED, 0x5B, 0x00},
                                                  {"red", 0xE6, 0x2D, 0x42},
                                                  {"pink", 0xD5, 0x61, 0x99},
                                                  {"purple", 0x91, 0x41, 0xAC},
                                                  {"slate", 0x6F, 0x83, 0x96}}};
  for (const Named& a : kAccents) {
    if (a.name == name) return Stored(a.r, a.g, a.b);
  }
  return std::nullopt;
}

std::optional<uint32_t> GnomeAccentColor(std::span<const uint8_t> db) {
  const auto name = GvdbLookupString(db, "/org/gnome/desktop/interface/accent-color");
  return name ? GnomeAccentByName(*name) : std::nullopt;
}

std::optional<uint32_t> DesktopAccentColor(const std::string& configHome,
                                           std::string_view currentDesktop) {
  auto kde = [&]() -> std::optional<uint32_t> {
    auto text = ReadSmallFile(configHome + "/kdeglobals", size_t{1} << 20);
    return text ? KdeAccentColor(*text) : std::nullopt;
  };
  auto gnome = [&]() -> std::optional<uint32_t> {
    auto db = ReadSmallFile(configHome + "/dconf/user", size_t{16} << 20);
    if (!db) return std::nullopt;
    return GnomeAccentColor(std::span(reinterpret_cast<const uint8_t*>(db->data()), db->size()));
  };
  const bool gnomeFirst = Names(currentDesktop, "GNOME") && !Names(currentDesktop, "KDE");
  auto first = gnomeFirst ? gnome() : kde();
  if (first) return first;
  return gnomeFirst ? kde() : gnome();
}

std::optional<uint32_t> DesktopAccentColor() {
  std::string configHome;
  try {
    configHome = XdgConfigHome();
  } catch (const Exception&) {
    // No HOME, no XDG_CONFIG_HOME and no home in the password database: there
    // are no settings to read, so no accent was set, as in a fresh profile.
    return std::nullopt;
  }
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return DesktopAccentColor(configHome, desktop ? desktop : "");
}

}  // namespace vark::os
