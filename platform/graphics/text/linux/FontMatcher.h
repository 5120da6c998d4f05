// FontMatcher: finds the font file for a family name and style through
// fontconfig, configured by the program's alias file (fonts.conf beside the
// program or in its installed share folder).
#pragma once

#include <string>

struct _FcConfig;

namespace vark::text {

struct MatchedFont {
  std::string file;  // empty only when no font at all is installed
  int index = 0;     // face index inside the file
  std::string family;
  // The style the file lacks and the engine has to synthesise.
  bool syntheticBold = false;
  bool syntheticItalic = false;
};

class FontMatcher {
 public:
  // Loads the alias file; without one, the desktop's own configuration.
  FontMatcher();
  ~FontMatcher();
  FontMatcher(const FontMatcher&) = delete;
  FontMatcher& operator=(const FontMatcher&) = delete;

  // Never fails: a family that matches nothing gives the default sans face.
  MatchedFont Match(const std::string& family, bool bold, bool italic) const;

  // The alias file in use; empty when the desktop configuration was used.
  const std::string& ConfigFile() const { return configFile_; }

 private:
  _FcConfig* config_ = nullptr;
  std::string configFile_;
};

// Where the alias file is: beside the executable, one folder up (tests, tools
// and benchmarks live in sub-folders of the build tree), the share folder
// beside the executable's folder, then the share folder the build was
// configured to install to. Empty when none exists.
std::string FindFontsConf();

}  // namespace vark::text
