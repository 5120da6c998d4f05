#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/StrToInt.h"
#include "platform/Exceptions.h"

TEST(StrToInt, AcceptsSignedDecimalWithBlanksAround) {
  struct Case {
    std::string text;
    std::optional<int> value;  // nothing: not an integer
  };
  const Case cases[] = {
      {"0", 0},
      {"5", 5},
      {" 5", 5},
      {"5 ", 5},
      {"\t-12\t ", -12},
      {"+5", 5},
      {"-0", 0},
      {"007", 7},
      {"000000000000000000000000000042", 42},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+-5", std::nullopt},
      {"- 5", std::nullopt},
      {"1 2", std::nullopt},
      {"abc", std::nullopt},
      {"5x", std::nullopt},
      {"$1F", std::nullopt},
      {"0x1F", std::nullopt},
      {"1e3", std::nullopt},
      {"1.0", std::nullopt},
      {"\xEF\xBC\x95", std::nullopt},  // a full-width digit
  };
  for (const Case& c : cases) {
    if (c.value) {
      EXPECT_EQ(StrToInt(c.text), *c.value) << "'" << c.text << "'";
      continue;
    }
    try {
      StrToInt(c.text);
      ADD_FAILURE() << "'" << c.text << "' was taken for a number";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + c.text + "' is not a valid integer value");
    }
  }
}
