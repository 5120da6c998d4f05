// The accent colour service on a virtual clock over a fake settings store:
// the default, the lightness bands, the throttle and the failure path.
#include "support/Vark.Components.h"

#include <gtest/gtest.h>

#include "common/FakeSettingsStore.h"

namespace {

constexpr const char* kKey = "Software\\Microsoft\\Windows\\DWM\\";
constexpr double kSecond = 1.0 / 86400.0;

class AccentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = std::make_shared<vark::testing::FakeSettings>();
    now = 45000.5;  // a day in 2023, noon
    vark::components::SetAccentClock([this] { return now; });
    vark::components::SetAccentStoreFactory(
        [this] { return std::make_unique<vark::testing::FakeSettingsStore>(settings); });
    LastCheck = 0;
    AccentColor = 0x00D77800;
    AdjustedAccentColor = 0x00D77800;
  }
  void TearDown() override {
    vark::components::SetAccentClock({});
    vark::components::SetAccentStoreFactory({});
    LastCheck = 0;
  }
  void Store(int32_t value) { settings->keys[kKey]["AccentColor"] = value; }

  std::shared_ptr<vark::testing::FakeSettings> settings;
  TDateTime now = 0;
};

}  // namespace

TEST_F(AccentTest, WithoutAStoredValueBothColoursAreTheDefault) {
  EXPECT_EQ(GetAccentColor(acAccent), 0x00D77800u);
  EXPECT_EQ(AdjustedAccentColor, 0x00D77800u);  // lightness 111 lies inside the band
  EXPECT_EQ(GetAccentColor(acAccentCustom), 0x00C57517u);
  EXPECT_EQ(settings->opens, 1);
  EXPECT_EQ(settings->closes, 1);
  // A key without the value behaves the same.
  settings->keys[kKey]["Other"] = 5;
  SyncAccentColor();
  EXPECT_EQ(AccentColor, 0x00D77800u);
  EXPECT_EQ(settings->reads, 0);
}

TEST_F(AccentTest, StoredValuesLoseTheirAlphaAndAreMovedIntoTheLightnessBand) {
  struct Case {
    uint32_t stored;
    TColor accent, adjusted;
  };
  const Case cases[] = {
      {0xFF202020u, 0x00202020, 0x006E6E6E},  // lightness 32: raised by 78
      {0xFFF0F0F0u, 0x00F0F0F0, 0x009B9B9B},  // lightness 240: lowered by 85
      {0xFF6E6E6Eu, 0x006E6E6E, 0x006E6E6E},  // 110 and 155 are inside the band
      {0xFF9B9B9Bu, 0x009B9B9B, 0x009B9B9B},
      {0xFF6D6D6Du, 0x006D6D6D, 0x006E6E6E},
      {0xFF9C9C9Cu, 0x009C9C9C, 0x009B9B9B},
      {0xFFFF0000u, 0x00FF0000, 0x00FF1919},  // pure blue: lightness 85, clamped shift
      {0xFF0000FFu, 0x000000FF, 0x001919FF},
      {0x80123456u, 0x80123456, 0x004C6E90},  // no 0xFF alpha: kept whole
  };
  for (const Case& c : cases) {
    Store(static_cast<int32_t>(c.stored));
    SyncAccentColor();
    EXPECT_EQ(AccentColor, c.accent) << std::hex << c.stored;
    EXPECT_EQ(AdjustedAccentColor, c.adjusted) << std::hex << c.stored;
    EXPECT_EQ(GetAccentColor(acAccentAdjust), AdjustedAccentColor);
  }
  EXPECT_EQ(settings->opens, settings->closes);
}

TEST_F(AccentTest, NoneStillChecksAndAnswersItsOwnBlue) {
  Store(static_cast<int32_t>(0xFF112233u));
  EXPECT_EQ(GetAccentColor(acNone), 0x00D47800u);
  EXPECT_EQ(settings->opens, 1);
  EXPECT_EQ(AccentColor, 0x00112233u);
}

TEST_F(AccentTest, TheStoreIsReadAtMostEveryThirtySeconds) {
  Store(static_cast<int32_t>(0xFF445566u));
  GetAccentColor(acAccent);  // the first call always reads
  EXPECT_EQ(settings->opens, 1);
  EXPECT_EQ(LastCheck, now);
  now += 10 * kSecond;
  GetAccentColor(acAccent);
  EXPECT_EQ(settings->opens, 1);
  now = LastCheck + 30 * kSecond;  // exactly 30 whole seconds: not yet
  GetAccentColor(acAccent);
  EXPECT_EQ(settings->opens, 1);
  now = LastCheck + 30.9 * kSecond;  // the fraction is dropped
  GetAccentColor(acAccent);
  EXPECT_EQ(settings->opens, 1);
  Store(static_cast<int32_t>(0xFF0A0B0Cu));
  now = LastCheck + 31 * kSecond;
  EXPECT_EQ(GetAccentColor(acAccent), 0x000A0B0Cu);
  EXPECT_EQ(settings->opens, 2);
  // Every quiet interval of more than 30 seconds reads once more, and a clock
  // set back by more than that counts as well.
  for (int i = 0; i < 5; ++i) {
    now = LastCheck + 31 * kSecond;
    GetAccentColor(acAccentCustom);
  }
  EXPECT_EQ(settings->opens, 7);
  now = LastCheck - 40 * kSecond;
  GetAccentColor(acAccent);
  EXPECT_EQ(settings->opens, 8);
}

TEST_F(AccentTest, AValueThatIsNotAnIntegerFailsAfterClosingTheKey) {
  Store(static_cast<int32_t>(0xFF202020u));
  SyncAccentColor();
  ASSERT_EQ(AdjustedAccentColor, 0x006E6E6Eu);
  settings->keys[kKey]["AccentColor"] = std::string("blue");
  now += 100 * kSecond;
  EXPECT_THROW(GetAccentColor(acAccent), ERegistryException);
  EXPECT_EQ(settings->opens, settings->closes);
  EXPECT_EQ(AccentColor, 0x00D77800u);          // the default of step 2
  EXPECT_EQ(AdjustedAccentColor, 0x006E6E6Eu);  // untouched
  EXPECT_EQ(LastCheck, now);                    // so the next 30 seconds stay quiet
  EXPECT_EQ(GetAccentColor(acAccent), 0x00D77800u);
}

TEST(AccentCopies, RawLightnessIgnoresSystemColoursWhileTheShiftResolvesThem) {
  // 0xFF00000F (clBtnFace) read as stored bytes: 0x0F, 0, 0.
  EXPECT_EQ(vark::components::GetColorSat(clBtnFace, 255), 5);
  EXPECT_EQ(vark::components::GetColorSat(RGB(0x20, 0x20, 0x20), 255), 32);
  EXPECT_EQ(vark::components::ChangeColorSat(clBtnFace, -0x10), RGB(0xE0, 0xE0, 0xE0));
  EXPECT_EQ(vark::components::ChangeColorSat(RGB(0x30, 0x20, 0x10), -32), RGB(0x10, 0, 0));
}
