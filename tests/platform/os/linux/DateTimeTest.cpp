#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <optional>
#include <string>

#include "platform/os/linux/LocalTime.h"

using vark::os::DayNumberOfDate;
using vark::os::LocalDayNumber;

namespace {

// Switches the process's time zone for one test and back.
class TimeZone {
 public:
  explicit TimeZone(const char* tz) {
    const char* old = getenv("TZ");
    if (old) saved_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~TimeZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

timespec At(time_t seconds, long nanoseconds = 0) {
  return timespec{seconds, nanoseconds};
}

TEST(DayNumberOfDate, CountsFromTheLastDayOf1899) {
  EXPECT_EQ(DayNumberOfDate(1899, 12, 30), 0);
  EXPECT_EQ(DayNumberOfDate(1899, 12, 31), 1);
  EXPECT_EQ(DayNumberOfDate(1899, 12, 29), -1);
  EXPECT_EQ(DayNumberOfDate(1900, 3, 1), 61);  // 1900 is no leap year
  EXPECT_EQ(DayNumberOfDate(1970, 1, 1), 25569);
  EXPECT_EQ(DayNumberOfDate(2000, 2, 29), 36585);
  EXPECT_EQ(DayNumberOfDate(2000, 3, 1), 36586);
  EXPECT_EQ(DayNumberOfDate(2024, 12, 31), 45657);
}

TEST(LocalDayNumber, ConvertsToLocalTimeWithTheFraction) {
  struct Case {
    const char* tz;
    time_t seconds;
    long nanoseconds;
    double expected;
  };
  const Case cases[] = {
      {"UTC0", 0, 0, 25569.0},
      {"UTC0", 946728000, 0, 36526.5},  // 2000-01-01 12:00
      {"UTC0", 43200, 500000000, 25569.5 + 0.5 / 86400},
      // Central Europe: one hour ahead in winter, two in summer.
      {"CET-1CEST,M3.5.0,M10.5.0/3", 946684800, 0, 36526.0 + 1.0 / 24},
      {"CET-1CEST,M3.5.0,M10.5.0/3", 1719792000, 0, 45474.0 + 2.0 / 24},  // 2024-07-01
      // West of Greenwich the local date is still the day before.
      {"EST5", 946684800, 0, 36525.0 + 19.0 / 24},
      // Before 1899-12-30 the fraction still counts forward from midnight.
      {"UTC0", -2209161600 - 18 * 3600, 0, -1.25},  // 1899-12-29 06:00
  };
  for (const Case& c : cases) {
    TimeZone zone(c.tz);
    EXPECT_NEAR(LocalDayNumber(At(c.seconds, c.nanoseconds)), c.expected, 1e-9)
        << c.tz << " " << c.seconds;
  }
}

TEST(LocalDayNumber, KeepsSubSecondDifferences) {
  TimeZone zone("UTC0");
  const time_t now = 1733700000;
  EXPECT_NE(LocalDayNumber(At(now, 0)), LocalDayNumber(At(now, 1000000)));
  EXPECT_NE(LocalDayNumber(At(now, 999000000)), LocalDayNumber(At(now + 1, 0)));
  EXPECT_LT(LocalDayNumber(At(now, 999000000)), LocalDayNumber(At(now + 1, 0)));
  EXPECT_EQ(LocalDayNumber(At(now, 5000)), LocalDayNumber(At(now, 5000)));
}

}  // namespace
