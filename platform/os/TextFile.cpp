#include "platform/os/TextFile.h"

#include "platform/os/FileAccess.h"
#include "platform/os/LineReader.h"

namespace vark::os {

std::string ReadFileBytes(const std::string& path) {
  FileReader file(path);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(file.SizeHint()) + 1);
  char chunk[65536];
  while (const size_t n = file.Read(chunk, sizeof chunk))
    bytes.append(chunk, n);
  return bytes;
}

std::vector<std::string> ReadTextLines(const std::string& path, size_t maxLines) {
  FileReader file(path);
  return ReadFirstLines(
      [&](std::span<char> buffer) { return file.Read(buffer.data(), buffer.size()); }, maxLines);
}

void WriteTextLines(const std::string& path, std::span<const std::string> lines) {
  ReplaceFileContents(path, EncodeTextLines(lines));
}

}  // namespace vark::os
