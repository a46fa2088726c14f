#include "lyrics/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace velomar {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(NumberText, PlainDecimal) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(100), "100");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberText(-2147483648LL), "-2147483648");
  EXPECT_EQ(NumberText(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(NumberText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(NumberText, TicksAsWholeNumbers) {
  EXPECT_EQ(TicksText(0.0), "0");
  EXPECT_EQ(TicksText(1234.0), "1234");
  EXPECT_EQ(TicksText(12.9), "12");
  EXPECT_EQ(TicksText(-0.5), "0");  // never "-0"
  EXPECT_EQ(TicksText(-42.0), "-42");
  EXPECT_EQ(TicksText(1e20), "100000000000000000000");
}

TEST(ParseTimeField, DecimalWithSignAndFraction) {
  EXPECT_EQ(ParseTimeField("12.9"), 12);
  EXPECT_EQ(ParseTimeField("-3.5"), -3);
  EXPECT_EQ(ParseTimeField("-0.9"), 0);
  EXPECT_EQ(ParseTimeField("+7"), 7);
  EXPECT_EQ(ParseTimeField("007"), 7);
  EXPECT_EQ(ParseTimeField(".5"), 0);
  EXPECT_EQ(ParseTimeField("12abc"), 12);
  EXPECT_EQ(ParseTimeField("1e5"), 1);
  EXPECT_EQ(ParseTimeField("1\r2"), 1);
}

TEST(ParseTimeField, NoDigitsGiveZero) {
  EXPECT_EQ(ParseTimeField(""), 0);
  EXPECT_EQ(ParseTimeField("abc"), 0);
  EXPECT_EQ(ParseTimeField("-"), 0);
  EXPECT_EQ(ParseTimeField("+-1"), 0);
  EXPECT_EQ(ParseTimeField("\"12\""), 0);
  EXPECT_EQ(ParseTimeField("\x83\x65"), 0);
}

TEST(ParseTimeField, HexAndOctalInEitherCase) {
  EXPECT_EQ(ParseTimeField("&H1F"), 31);
  EXPECT_EQ(ParseTimeField("&h1f"), 31);
  EXPECT_EQ(ParseTimeField("&HaB"), 171);
  EXPECT_EQ(ParseTimeField("&O17"), 15);
  EXPECT_EQ(ParseTimeField("&O178"), 15);  // 8 is no octal digit
  EXPECT_EQ(ParseTimeField("&H1G"), 1);
  EXPECT_EQ(ParseTimeField("&H7FFFFFFF"), 2147483647);
  EXPECT_EQ(ParseTimeField("&O17777777777"), 2147483647);
}

TEST(ParseTimeField, BadPrefixGivesZero) {
  EXPECT_EQ(ParseTimeField("&x"), 0);
  EXPECT_EQ(ParseTimeField("&"), 0);
  EXPECT_EQ(ParseTimeField("&H"), 0);
  EXPECT_EQ(ParseTimeField("&O9"), 0);
  EXPECT_EQ(ParseTimeField("&12"), 0);
  EXPECT_EQ(ParseTimeField("&H-1"), 0);
  EXPECT_EQ(ParseTimeField("-&H1F"), 0);
}

TEST(ParseTimeField, OutOfRangeGivesMinimum) {
  EXPECT_EQ(ParseTimeField("2147483647"), 2147483647);
  EXPECT_EQ(ParseTimeField("2147483647.99"), 2147483647);
  EXPECT_EQ(ParseTimeField("-2147483648"), kMin);
  EXPECT_EQ(ParseTimeField("2147483648"), kMin);
  EXPECT_EQ(ParseTimeField("-2147483649"), kMin);
  EXPECT_EQ(ParseTimeField("99999999999"), kMin);
  EXPECT_EQ(ParseTimeField("&H80000000"), kMin);
  EXPECT_EQ(ParseTimeField("&HFFFFFFFF"), kMin);  // no wrap to -1
}

TEST(ParseTimeField, HugeDigitRunsSaturate) {
  // Must neither overflow nor wrap back into range.
  EXPECT_EQ(ParseTimeField(std::string(400, '9')), kMin);
  EXPECT_EQ(ParseTimeField("1" + std::string(400, '0')), kMin);
  EXPECT_EQ(ParseTimeField("&H" + std::string(40, 'F')), kMin);
  EXPECT_EQ(ParseTimeField("&H1" + std::string(39, '0')), kMin);
  // 2^64 + 5 would come back as 5 if the accumulator wrapped.
  EXPECT_EQ(ParseTimeField("18446744073709551621"), kMin);
  // Leading zeros are no overflow.
  EXPECT_EQ(ParseTimeField(std::string(400, '0') + "5"), 5);
  EXPECT_EQ(ParseTimeField("&H" + std::string(40, '0') + "1F"), 31);
}

}  // namespace
}  // namespace velomar
