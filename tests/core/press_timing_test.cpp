// A press's stamp.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/press_stamp.h"

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

}  // namespace
}  // namespace velomar
