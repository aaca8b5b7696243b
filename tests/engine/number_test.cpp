#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/text.h"

namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// Full-width forms in GBK.
const std::string kWide1 = "\xA3\xB1";
const std::string kWide2 = "\xA3\xB2";
const std::string kWide3 = "\xA3\xB3";
const std::string kWideMinus = "\xA3\xAD";
const std::string kWidePlus = "\xA3\xAB";
const std::string kWidePoint = "\xA3\xAE";
const std::string kWideE = "\xA3\xE5";
const std::string kIdeographicSpace = "\xA1\xA1";

TEST(TextToInt, Table) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"", 0},
      {"0", 0},
      {"123", 123},
      {"0012", 12},
      {"  42", 42},
      {"\t\r\n\v\f 7", 7},
      {"+5", 5},
      {"-5", -5},
      {"3.9", 3},
      {"-3.9", -3},
      {"12abc", 12},
      {"abc", 0},
      {"+", 0},
      {"-", 0},
      {"+-1", 0},
      {"- 1", 0},
      {"1 2", 1},
      {"[@02]5", 0},
      {"2147483647", kIntMax},
      {"2147483648", kIntMax},
      {"-2147483648", kIntMin},
      {"-2147483649", kIntMin},
      {"99999999999999999999999999", kIntMax},
      {"-99999999999999999999999999", kIntMin},
      {kWide1 + kWide2 + kWide3, 123},
      {"1" + kWide2 + "3", 123},
      {kWideMinus + "5", -5},
      {kWidePlus + kWide2, 2},
      {kIdeographicSpace + kIdeographicSpace + "-3", -3},
      {kWide1 + kWide2 + kWidePoint + "5", 12},
      // Only a full-width form counts: 0xA3 0xA0 is no digit, and a 0xA3
      // that is the trail byte of another character starts nothing.
      {std::string("\xA3\xA0") + "1", 0},
      {"\xB0\xA3\xB1", 0},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(TextToInt(text), expected);
  }
}

// The exact reading takes the same leading integer as TextToInt and tells
// when it lies beyond 32 bits, where TextToInt saturates.
TEST(TextToIntExact, Table) {
  const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases = {
      {"", 0},
      {"abc", 0},
      {"12abc", 12},
      {"3.9", 3},
      {"\r\n -7", -7},
      {"1e10", 1},
      {"2147483647", kIntMax},
      {"-2147483648", kIntMin},
      {"000000000000000000002147483647", kIntMax},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"4294967296", std::nullopt},
      {"99999999999", std::nullopt},
      {"-99999999999", std::nullopt},
      {"99999999999999999999999999", std::nullopt},
      {kWide1 + "0000000000", std::nullopt},
      {kWideMinus + kWide2 + kWide3, -23},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(TextToIntExact(text), expected);
    if (expected) {
      EXPECT_EQ(TextToInt(text), *expected);
    }
  }
}

TEST(TextToDouble, Table) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"", 0.0},
      {"1.5", 1.5},
      {"  -2.25", -2.25},
      {"+3", 3.0},
      {".5", 0.5},
      {"-.5", -0.5},
      {"5.", 5.0},
      {".", 0.0},
      {"-", 0.0},
      {"1e3", 1000.0},
      {"1E-2", 0.01},
      {"2.5e+1x", 25.0},
      {"1e", 1.0},
      {"1e+", 1.0},
      {"1.5.5", 1.5},
      {"abc", 0.0},
      {"inf", 0.0},
      {"-infinity", 0.0},
      {"nan", 0.0},
      {"0x10", 0.0},
      {"1e999", DBL_MAX},
      {"-1e999", -DBL_MAX},
      {"1e99999999999999999999", DBL_MAX},
      {"1e-999", 0.0},
      {"0.0000001e-400", 0.0},
      {"1e-99999999999999999999", 0.0},
      {"0e99999", 0.0},
      {"3", 3.0},
      {kWide1 + kWidePoint + "5", 1.5},
      {kWideMinus + kWide2, -2.0},
      {kWide1 + kWideE + kWide2, 100.0},
      {kIdeographicSpace + "0.25", 0.25},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(TextToDouble(text), expected);
  }
}

TEST(TextToDouble, LongMantissaIsRead) {
  EXPECT_DOUBLE_EQ(TextToDouble("0." + std::string(500, '0') + "1e501"), 1.0);
  EXPECT_DOUBLE_EQ(TextToDouble(std::string(400, '0') + "7"), 7.0);
}

TEST(DoubleToInt, TruncatesAndSaturates) {
  const std::vector<std::pair<double, std::int32_t>> cases = {
      {3.9, 3},
      {-3.9, -3},
      {0.0, 0},
      {2147483647.5, kIntMax},
      {-2147483648.9, kIntMin},
      {1e20, kIntMax},
      {-1e20, kIntMin},
      {std::numeric_limits<double>::infinity(), kIntMax},
      {-std::numeric_limits<double>::infinity(), kIntMin},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& [value, expected] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(DoubleToInt(value), expected);
  }
}

TEST(IntToText, PlainDecimal) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(-5), "-5");
  EXPECT_EQ(IntToText(2147483647), "2147483647");
  EXPECT_EQ(IntToText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(DoubleToText, ThirteenSignificantDigits) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0.0, "0"},
      {1.0, "1"},
      {100.0, "100"},
      {0.5, "0.5"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.3333333333333"},
      {1234567890123.0, "1234567890123"},
      {12345678901234.0, "1.234567890123e+13"},
      {1e20, "1e+20"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {2.0 * 0.001, "0.002"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(DoubleToText(value), expected);
  }
}

TEST(DoubleToText, AgreesWithPrintf) {
  const double values[] = {1.5e-300,         -DBL_MAX, DBL_MIN, 123.456, 9.9999999999999e12,
                           9.99999999999995, 5e-324,   -0.0,    1e15,    0.1};
  for (const double value : values) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.13g", value);
    EXPECT_EQ(DoubleToText(value), expected);
  }
}

}  // namespace
