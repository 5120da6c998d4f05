// Text files: their first lines read, lines written as a whole file (the
// encodings are TextCodec's), or their raw bytes read. Paths are the
// launcher's Windows-style paths; error messages name the file where it is on
// this system (the mapped path), which is where a user can look for it; a path
// that cannot be mapped is named as given.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/os/TextCodec.h"

namespace vark::os {

// The first maxLines lines of the file (all by default), read only as far as
// they go and up to a line too long to be an entry (LineReader.h). Raises
// EFOpenError "Cannot open file "<path>". <reason>" when the file cannot be
// opened or is not a regular file, and EInOutError "Cannot read file "<path>".
// <reason>" when reading fails part way.
std::vector<std::string> ReadTextLines(const std::string& path, size_t maxLines = kAllLines);

// Replaces the file with the lines, each followed by CR LF. The bytes go to a
// new file in the same folder, which is flushed to disk and then renamed over
// the old one, so the file is always either the old or the new text. A failure
// raises EFCreateError "Cannot create file "<path>". <reason>", leaves the old
// file as it was and removes the temporary file. Writing through a symbolic
// link replaces the file the link points to and keeps the link. An existing
// file keeps its permission bits.
void WriteTextLines(const std::string& path, std::span<const std::string> lines);

// The raw bytes, for callers that decode themselves. Errors as ReadTextLines.
std::string ReadFileBytes(const std::string& path);

}  // namespace vark::os
