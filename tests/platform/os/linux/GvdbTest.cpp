// Reading the desktop's dconf database: a real database, every truncation
// and every corrupted byte of it.
#include "platform/os/linux/Gvdb.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/DconfSample.h"

namespace {

const std::vector<uint8_t> kDatabase = vark::testing::DconfAccentDatabase();

constexpr const char* kAccentKey = "/org/gnome/desktop/interface/accent-color";

}  // namespace

TEST(Gvdb, FindsStringValuesByTheirFullName) {
  struct Case {
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {kAccentKey, "teal"},
      {"/org/gnome/desktop/interface/gtk-theme", "Adwaita"},
      {"/org/gnome/desktop/interface/text-scaling-factor", std::nullopt},  // a double
      {"/org/gnome/desktop/interface/", std::nullopt},                     // a folder
      {"/org/gnome/desktop/interface/Accent-Color", std::nullopt},
      {"/org/gnome/desktop/interface/accent-colo", std::nullopt},
      {"accent-color", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vark::os::GvdbLookupString(kDatabase, c.key), c.value) << c.key;
}

TEST(Gvdb, BrokenDataAnswersNothingAndNeverReadsOutside) {
  // Every prefix of the file: once a prefix holds everything the lookup
  // needs it answers, and every shorter one answers nothing; no prefix may
  // read past its end (the sanitizer build checks the reads).
  size_t firstAnswer = kDatabase.size() + 1;
  for (size_t n = 0; n <= kDatabase.size(); ++n) {
    std::vector<uint8_t> cut(kDatabase.begin(), kDatabase.begin() + static_cast<long>(n));
    auto got = vark::os::GvdbLookupString(cut, kAccentKey);
    if (got && firstAnswer > n) firstAnswer = n;
    if (n < firstAnswer) {
      EXPECT_EQ(got, std::nullopt) << n;
    } else {
      EXPECT_EQ(got, "teal") << n;
    }
  }
  EXPECT_GT(firstAnswer, 256u);  // past the root table at least
  EXPECT_LE(firstAnswer, kDatabase.size());
  // Every byte set to each of a few values: any answer is fine, a crash is not.
  for (size_t i = 0; i < kDatabase.size(); ++i) {
    for (uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      std::vector<uint8_t> bad = kDatabase;
      bad[i] = v;
      (void)vark::os::GvdbLookupString(bad, kAccentKey);
      (void)vark::os::GvdbLookupString(bad, "/org/gnome/desktop/interface/gtk-theme");
    }
  }
  std::vector<uint8_t> swapped = kDatabase;
  swapped[0] = 'g';
  EXPECT_EQ(vark::os::GvdbLookupString(swapped, kAccentKey), std::nullopt);
}
