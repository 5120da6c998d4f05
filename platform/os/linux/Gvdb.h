// Read-only lookups in a GVariant database file (GVDB), the format of the
// desktop's dconf settings databases (~/.config/dconf/user). Reading the file
// directly answers a setting in microseconds, without the settings daemon,
// a bus connection or any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vark::os {

// The string stored under key (e.g. "/org/gnome/desktop/interface/gtk-theme"),
// when the database holds a value of type string there. Malformed, truncated
// or big-endian data answers nullopt; no offset is trusted before it is
// checked against the data's size.
std::optional<std::string> GvdbLookupString(std::span<const uint8_t> file, std::string_view key);

}  // namespace vark::os
