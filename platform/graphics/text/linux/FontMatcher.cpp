#include "platform/graphics/text/linux/FontMatcher.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <system_error>

#include "platform/os/SystemPaths.h"

#ifndef VARK_INSTALLED_DATA_DIR
#define VARK_INSTALLED_DATA_DIR "/usr/local/share/valdor-launcher"
#endif

namespace vark::text {

namespace {

constexpr const char* kConfName = "fonts.conf";

std::filesystem::path ExecutableFolder() {
  const std::string path = vark::os::ExecutablePath();
  if (path.empty()) return {};
  return std::filesystem::path(path).parent_path();
}

bool IsFile(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec);
}

}  // namespace

std::string FindFontsConf() {
  const std::filesystem::path exeDir = ExecutableFolder();
  if (!exeDir.empty()) {
    // Beside the program, one folder up, and in an installed tree that was
    // moved after it was built (bin/ and share/valdor-launcher/ side by side).
    for (const std::filesystem::path& p :
         {exeDir / kConfName, exeDir.parent_path() / kConfName,
          exeDir.parent_path() / "share" / "valdor-launcher" / kConfName}) {
      if (IsFile(p)) return p.string();
    }
  }
  const std::filesystem::path installed =
      std::filesystem::path(VARK_INSTALLED_DATA_DIR) / kConfName;
  if (IsFile(installed)) return installed.string();
  return {};
}

FontMatcher::FontMatcher() {
  configFile_ = FindFontsConf();
  if (!configFile_.empty()) {
    config_ = FcConfigCreate();
    if (config_ != nullptr &&
        FcConfigParseAndLoad(config_, reinterpret_cast<const FcChar8*>(configFile_.c_str()),
                             FcTrue) &&
        FcConfigBuildFonts(config_)) {
      return;
    }
    if (config_ != nullptr) FcConfigDestroy(config_);
    config_ = nullptr;
    configFile_.clear();
  }
  // No alias file: the desktop's configuration still finds every font, only
  // the window's names then fall back to the default face.
  config_ = FcInitLoadConfigAndFonts();
}

FontMatcher::~FontMatcher() {
  if (config_ != nullptr) FcConfigDestroy(config_);
}

MatchedFont FontMatcher::Match(const std::string& family, bool bold, bool italic) const {
  MatchedFont result;
  if (config_ == nullptr) return result;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return result;
  if (!family.empty()) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  // Outline fonts only: the engine scales every face to any size.
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config_, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult res = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config_, pattern, &res);
  FcPatternDestroy(pattern);
  if (match == nullptr) return result;

  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
    result.file = reinterpret_cast<const char*>(file);
  }
  FcChar8* fam = nullptr;
  if (FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch && fam != nullptr) {
    result.family = reinterpret_cast<const char*>(fam);
  }
  int index = 0;
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
  int weight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  FcPatternDestroy(match);

  // A semibold face asked for bold is emboldened too, as the classic desktop
  // does with a family that has no bold member.
  result.syntheticBold = bold && weight < FC_WEIGHT_BOLD;
  result.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
  return result;
}

}  // namespace vark::text
