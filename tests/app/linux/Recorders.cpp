// The recorders on Linux: small shell scripts. The shell's helpers, `wine`
// and `xdg-open`, are such scripts too, on a search path of the test's own.
#include "tests/app/Recorders.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vark::test {
namespace {

namespace fs = std::filesystem;

// Records into $LAUNCH_RECORD/<its name>.<pid>/: the arguments (NUL-separated,
// its own path first), the working folder and the wine overrides; made under
// a temporary name and renamed, so a reader never sees half a record.
constexpr const char* kScript = R"sh(#!/bin/sh
out="$LAUNCH_RECORD/$(basename "$0").$$"
mkdir -p "$out.tmp"
printf '%s\0' "$0" "$@" > "$out.tmp/args"
pwd -P > "$out.tmp/cwd"
printf '%s' "${WINEDLLOVERRIDES-<unset>}" > "$out.tmp/overrides"
mv "$out.tmp" "$out"
)sh";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

Record Read(const fs::path& dir) {
  Record r;
  const std::string args = ReadAll(dir / "args");
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == '\0') {
      parts.push_back(args.substr(start, i - start));
      start = i + 1;
    }
  }
  if (!parts.empty()) {
    r.name = fs::path(parts[0]).filename();
    r.args.assign(parts.begin() + 1, parts.end());
  }
  r.cwd = ReadAll(dir / "cwd");
  if (!r.cwd.empty() && r.cwd.back() == '\n') r.cwd.pop_back();
  return r;
}

}  // namespace

const char* const Recorders::kOpener = "xdg-open";

Recorders::Recorders(testing::TempProfile& profile, std::string folder)
    : profile_(profile), folder_(std::move(folder)), bin_(profile.Root() + "/bin") {
  fs::create_directories(folder_);
  Put(bin_ + "/wine");
  Put(bin_ + "/xdg-open");
  profile_.Set("PATH", bin_ + ":/usr/bin:/bin");
  profile_.Set("LAUNCH_RECORD", folder_);
  profile_.Set("WINEDLLOVERRIDES", std::nullopt);
}

void Recorders::Put(const std::string& path) const {
  testing::WriteBytes(path, kScript);
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

std::vector<Record> Recorders::Finished() const {
  std::vector<Record> records;
  for (const auto& e : fs::directory_iterator(folder_))
    if (e.path().extension() != ".tmp") records.push_back(Read(e.path()));
  return records;
}

void Recorders::Clear() const {
  fs::remove_all(folder_);
  fs::create_directories(folder_);
}

std::string Recorders::AsRecorded(const std::string& folder) {
  return fs::canonical(folder).string();
}

}  // namespace vark::test
