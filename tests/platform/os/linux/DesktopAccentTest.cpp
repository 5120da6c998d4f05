// The desktop's accent colour: KDE's kdeglobals, GNOME's dconf database, the
// choice between them, and the settings store that answers from them.
#include "platform/os/linux/DesktopAccent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/DconfSample.h"
#include "common/TempProfile.h"
#include "platform/os/SettingsStore.h"

namespace {

void Write(const std::filesystem::path& p, const std::string& text) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

}  // namespace

TEST(DesktopAccent, KdeGlobalsAccentInBothNotations) {
  struct Case {
    const char* text;
    std::optional<uint32_t> accent;
  };
  const Case cases[] = {
      {"[General]\nAccentColor=61,174,233\n", 0xFFE9AE3Du},
      {"[General]\r\nColorScheme=BreezeDark\r\nAccentColor = 61, 174, 233 \r\n", 0xFFE9AE3Du},
      {"[General]\nAccentColor=#3daee9\n", 0xFFE9AE3Du},
      {"[General]\nAccentColor=61,174,233,128\n", 0xFFE9AE3Du},
      {"[Colors:View]\nAccentColor=1,2,3\n[General]\nName=x\n", std::nullopt},
      {"[General]\n[WM]\nAccentColor=1,2,3\n", std::nullopt},
      {"[General]\nAccentColor=256,0,0\n", std::nullopt},
      {"[General]\nAccentColor=1,2\n", std::nullopt},
      {"[General]\nAccentColor=a,b,c\n", std::nullopt},
      {"[General]\nAccentColor=#3daeg9\n", std::nullopt},
      {"[General]\nAccentColor=\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vark::os::KdeAccentColor(c.text), c.accent) << c.text;
}

TEST(DesktopAccent, GnomeAccentNames) {
  EXPECT_EQ(vark::os::GnomeAccentByName("blue"), 0xFFE48435u);
  EXPECT_EQ(vark::os::GnomeAccentByName("teal"), 0xFFA49021u);
  EXPECT_EQ(vark::os::GnomeAccentByName("slate"), 0xFF96836Fu);
  int known = 0;
  for (const char* n :
       {"blue", "teal", "green", "yellow", "orange", "red", "pink", "purple", "slate"}) {
    known += vark::os::GnomeAccentByName(n).has_value() ? 1 : 0;
  }
  EXPECT_EQ(known, 9);
  EXPECT_EQ(vark::os::GnomeAccentByName("Blue"), std::nullopt);
  EXPECT_EQ(vark::os::GnomeAccentByName(""), std::nullopt);
}

TEST(DesktopAccent, TheCurrentDesktopsFileIsAskedFirst) {
  vark::testing::TempProfile profile;
  const std::filesystem::path cfg = profile.ConfigHome();
  // Nothing at all.
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "KDE"), std::nullopt);
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), ""), std::nullopt);
  // Only KDE's file: whatever the desktop says, it is the one source.
  Write(cfg / "kdeglobals", "[General]\nAccentColor=1,2,3\n");
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "GNOME"), 0xFF030201u);
  // Both: the desktop named decides; with no name KDE's comes first.
  std::vector<uint8_t> db = vark::testing::DconfAccentDatabase();
  std::filesystem::create_directories(cfg / "dconf");
  std::ofstream(cfg / "dconf" / "user", std::ios::binary)
      .write(reinterpret_cast<const char*>(db.data()), static_cast<std::streamsize>(db.size()));
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "ubuntu:GNOME"), 0xFFA49021u);
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "gnome"), 0xFFA49021u);
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "KDE"), 0xFF030201u);
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), ""), 0xFF030201u);
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "GNOMEish"), 0xFF030201u);
  // A broken KDE value falls through to GNOME's.
  Write(cfg / "kdeglobals", "[General]\nAccentColor=oops\n");
  EXPECT_EQ(vark::os::DesktopAccentColor(cfg.string(), "KDE"), 0xFFA49021u);
}

TEST(DesktopSettingsStore, AnswersTheAccentKeyFromTheDesktop) {
  vark::testing::TempProfile profile;
  profile.Set("XDG_CURRENT_DESKTOP", "KDE");
  Write(std::filesystem::path(profile.ConfigHome()) / "kdeglobals",
        "[General]\nAccentColor=61,174,233\n");
  auto store = vark::os::OpenUserSettingsStore();
  EXPECT_FALSE(store->OpenKeyReadOnly("Software\\Microsoft\\Windows\\Other\\"));
  EXPECT_FALSE(store->ValueExists("AccentColor"));
  ASSERT_TRUE(store->OpenKeyReadOnly("Software\\Microsoft\\Windows\\DWM\\"));
  EXPECT_TRUE(store->ValueExists("AccentColor"));
  EXPECT_TRUE(store->ValueExists("accentcolor"));
  EXPECT_FALSE(store->ValueExists("ColorizationColor"));
  EXPECT_EQ(static_cast<uint32_t>(store->ReadInteger("AccentColor")), 0xFFE9AE3Du);
  EXPECT_THROW(store->ReadInteger("ColorizationColor"), ERegistryException);
  store->CloseKey();
  EXPECT_FALSE(store->ValueExists("AccentColor"));
  store->CloseKey();  // twice is harmless
  // Without an accent the key opens but holds no value.
  Write(std::filesystem::path(profile.ConfigHome()) / "kdeglobals", "[General]\n");
  ASSERT_TRUE(store->OpenKeyReadOnly("software\\microsoft\\windows\\dwm"));
  EXPECT_FALSE(store->ValueExists("AccentColor"));
}
