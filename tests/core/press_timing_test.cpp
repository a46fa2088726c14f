// A press's stamp, and the press offset as timing.ini and the offset box hold
// it.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/press_stamp.h"
#include "lyrics/timing_settings.h"

namespace velomar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PressStamp, TheLaterClockLessTheOffsetNeverBelowZero) {
  // What, ticks, clock running, at the key (ms), offset, the stamp.
  // clang-format off
  const std::tuple<const char*, double, bool, double, std::int32_t, PressStamp> rows[] = {
      {"posted ticks: k,phrase", 42, true, 4150, 0, {4200, 42, 0}},
      {"between ticks, at the key", 42, true, 4237.9, 0, {4237, 42, 3}},
      {"a tick handled after the key", 43, true, 4237, 0, {4300, 43, 0}},
      {"stopped or paused: the ticks", 42, false, 9999, 0, {4200, 42, 0}},
      {"the offset", 42, true, 4237, 30, {4207, 42, 0}},
      {"the offset across a tick", 42, false, 0, 30, {4170, 41, 7}},
      {"a negative offset", 42, false, 0, -95, {4295, 42, 9}},
      {"no stamp below 0", 0, true, 20, 30, {0, 0, 0}},
      {"NaN ticks", kNaN, true, 1234, 0, {1234, 12, 3}},
      {"NaN at the key", 5, true, kNaN, 0, {500, 5, 0}},
      {"huge", 1e300, false, 0, 0, {kLatestStampMs, kLatestTime, 9}},
      {"infinite at the key", 5, true, kInf, 1000, {kLatestStampMs, kLatestTime, 9}},
      {"hugely negative", -1e300, true, -kInf, -1000, {0, 0, 0}}};
  // clang-format on
  for (const auto& [what, ticks, running, keyMs, offset, want] : rows) {
    const PressStamp s = StampPress(ticks, running, keyMs, offset);
    EXPECT_TRUE(s == want) << what << ": " << s.ms << " " << s.tick << " " << +s.hundredths;
  }
}

TEST(TimingSettings, TheBoxAndTheFileTakeWholeMsWithinASecond) {
  // clang-format off
  const std::tuple<std::string, bool, std::int32_t> rows[] = {
      {"30", true, 30}, {"-30", true, -30}, {"+7", true, 7}, {" 025\t", true, 25},
      {"\t-0 ", true, 0}, {"1000", true, 1000}, {"-1000", true, -1000},
      {"\xef\xbc\x90\xef\xbc\x93\xef\xbc\x99", true, 39},              // ０３９
      {"\xe3\x80\x80\xef\xbc\x8d\xef\xbc\x95\xe3\x80\x80", true, -5},  // 　－５　
      {"\xe2\x88\x92\x31\x32", true, -12},                               // −12
      {"1001", false, 0}, {"-1001", false, 0}, {std::string(40, '9'), false, 0},
      {"", false, 0}, {"  ", false, 0}, {"-", false, 0}, {"abc", false, 0}, {"12ms", false, 0},
      {"1 0", false, 0}, {"- 5", false, 0}, {"1.5", false, 0}, {"--5", false, 0},
      {"0x10", false, 0}, {"\xef\xbc\x8e", false, 0}};
  // clang-format on
  for (const auto& [text, good, want] : rows) {
    std::int32_t ms = 77;
    EXPECT_TRUE(ParsePressOffset(text, ms) == good && ms == (good ? want : 77)) << text;
    EXPECT_EQ(ParseTimingSettings("[timing]\noffset=" + text + "\n"), want) << text;
  }
  EXPECT_EQ(FormatTimingSettings(-45), "[timing]\r\noffset=-45\r\n");
  EXPECT_EQ(ParseTimingSettings(FormatTimingSettings(-45)), -45);
  EXPECT_EQ(FormatTimingSettings(5000), "[timing]\r\noffset=1000\r\n");
  EXPECT_TRUE(ParseTimingSettings("") == 0 && ParseTimingSettings("\xff offset\n=\n[") == 0);
  EXPECT_EQ(ParseTimingSettings("offset = 12\r\noffset=x\r\n"), 0) << "the last line is broken";
}

}  // namespace
}  // namespace velomar
