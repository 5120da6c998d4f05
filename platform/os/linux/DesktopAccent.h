// The desktop's accent colour, from the files the desktops keep it in:
// KDE Plasma's kdeglobals ([General] AccentColor=r,g,b) and GNOME's dconf
// database (/org/gnome/desktop/interface/accent-color, a colour name since
// GNOME 47). Colours come in the settings store's layout 0xAABBGGRR with an
// alpha of 0xFF.
//
// Both are plain files read on the spot: no settings daemon, no bus round
// trip, no helper process, so asking costs well under a millisecond even on
// the first paint. A value the user never set is not reported (the desktops
// then show their own default; the program falls back to its own).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vark::os {

// The accent of kdeglobals text: [General] AccentColor as "r,g,b" (an alpha
// part is ignored) or "#rrggbb".
std::optional<uint32_t> KdeAccentColor(std::string_view kdeglobals);

// The accent of a dconf database's bytes, through the colour of its name.
std::optional<uint32_t> GnomeAccentColor(std::span<const uint8_t> dconfDatabase);

// The colour GNOME shows for an accent name ("blue", "teal", ... "slate").
std::optional<uint32_t> GnomeAccentByName(std::string_view name);

// Looks in this session's files: the desktop named by XDG_CURRENT_DESKTOP
// first, then the other one. configHome is the XDG config folder.
std::optional<uint32_t> DesktopAccentColor(const std::string& configHome,
                                           std::string_view currentDesktop);

// The same for this process's environment; nothing when it names no config
// folder at all (no HOME, no XDG_CONFIG_HOME, no home in the password database).
std::optional<uint32_t> DesktopAccentColor();

}  // namespace vark::os
