// Random bytes to the text-file reader, in memory and through a real file.
// Besides crashes it checks what every caller relies on: the lines are valid
// UTF-8 without line breaks, what follows the lines asked for does not change
// them, the file gives the same first lines (up to one too long to be an
// entry), and whatever was read is written so that it reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/os/TextCodec.h"
#include "platform/os/TextFile.h"
#include "tests/common/TempProfile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

const std::string& ScratchFile() {
  static vark::testing::TempProfile profile;
  static const std::string path = profile.Root() + "/input.txt";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = vark::os::DecodeTextLines(bytes);
  for (const std::string& line : lines) {
    Check(vark::os::IsValidUtf8(line));
    Check(line.find_first_of("\r\n") == std::string::npos);
  }
  for (size_t n : {size_t{0}, size_t{1}, size_t{8}}) {
    const std::vector<std::string> first = vark::os::DecodeTextLines(bytes, n);
    Check(first.size() == std::min(n, lines.size()));
    if (n < lines.size()) Check(vark::os::DecodeTextLines(bytes + "\xFF\n", n) == first);
  }
  Check(vark::os::DecodeTextLines(vark::os::EncodeTextLines(lines)) == lines);

  vark::testing::WriteBytes(ScratchFile(), bytes);
  const std::vector<std::string> fromFile = vark::os::ReadTextLines(ScratchFile(), 8);
  const std::vector<std::string> first = vark::os::DecodeTextLines(bytes, 8);
  Check(fromFile.size() <= first.size());
  for (size_t i = 0; i < fromFile.size(); ++i)
    Check(fromFile[i] == first[i]);
  return 0;
}
