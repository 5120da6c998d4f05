// Shared lookups of the control library.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

// Visual-style names under which a control whose colours follow its form takes
// the form's own colour; under any other style it takes the button-face colour.
extern const std::array<std::string, 2> nothemes;

// True when some element equals Value exactly (case-sensitive), scanning from
// the first element and stopping at the first match.
bool StrInArray(std::string_view Value, std::span<const std::string> ArrayOfString);
