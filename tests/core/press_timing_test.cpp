// A press's stamp, the lag measured with the click track, and the press
// offset as timing.ini and the offset box hold it.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/click_track.h"
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

// Presses `lags` ms from the clicks from `first` on (0: the count-in's first).
std::vector<double> On(std::vector<double> lags, int first = kCountInClicks) {
  for (std::size_t i = 0; i < lags.size(); ++i) lags[i] += ClickTimes()[first + i];
  return lags;
}

TEST(ClickTrack, TheLagIsTheMedianOverTheMeasuredClicks) {
  // clang-format off
  const std::tuple<const char*, std::vector<double>, int, bool, std::int32_t> rows[] = {
      {"eight, even", On({30, 40, 50, 40, 35, 45, 40, 60}), 8, true, 40},
      {"seven, odd, early", On({-30, -20, -25, -90, -22, -21, -24}), 7, true, -24},
      {"the middle two's mean, rounded", On({-10, -10, -10, 5, 6, 6}), 6, true, -3},
      {"five", On({40, 40, 40, 40, 40}), 5, false, 0},
      {"the count-in does not count", On({0, 10, 20, 250, 40, 40, 40, 40, 40}, 0), 5, false, 0},
      {"half an interval either way, NaN", On({-249.5, 250, 0, 0, 0, kNaN, 0, 250.5}), 6, true, 0}};
  // clang-format on
  for (const auto& [what, presses, counted, measured, ms] : rows) {
    const MeasuredLag lag = MeasureLag(presses);
    EXPECT_TRUE(lag.presses == counted && lag.measured == measured && lag.ms == ms)
        << what << ": " << lag.presses << " " << lag.ms;
  }

  const std::string wave = ClickTrackWave();
  const char header[] =
      "RIFF\xdc\x6b\x09\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0"
      "\x02\0\x10\0data\xb8\x6b\x09\0";
  EXPECT_EQ(wave.substr(0, 44), std::string(header, 44));
  ASSERT_EQ(wave.size(), 44u + 7000 * 441 / 10 * 2) << "a second after the last click";
  auto sample = [&](std::int64_t at) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(wave[44 + at * 2]) |
                                     static_cast<unsigned char>(wave[45 + at * 2]) << 8);
  };
  for (int c = 0; c < kCountInClicks + kMeasuredClicks; ++c) {
    const std::int64_t at = ClickTimes()[c] * 441 / 10;  // 30 ms of tone from its sample on
    EXPECT_TRUE(sample(at - 1) == 0 && sample(at) == 16000 && sample(at + 1323) == 0) << c;
    EXPECT_EQ(sample(at + 11) > 0, c < kCountInClicks) << "the count-in sounds lower: " << c;
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
