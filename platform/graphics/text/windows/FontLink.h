// The faces the system links to a font for the characters it lacks: GDI's
// own text draws such a character from the first linked face that has it,
// before any other face. Windows writes the lists for the system's language
// (a Japanese system lists its Japanese faces first), so taking them in order
// gives the forms a reader of that language expects where the ideographs of
// Chinese, Japanese and Korean share code points. No system header here: the
// engine's files also see our framework's names.
#pragma once

#include <string>
#include <vector>

namespace vark::text {

// The linked faces of a face, in the list's order, each once; empty when the
// system links none to it.
std::vector<std::wstring> LinkedFaces(const std::wstring& face);

}  // namespace vark::text
