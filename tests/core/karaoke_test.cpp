#include "lyrics/karaoke.h"

#include <gtest/gtest.h>

namespace velomar {
namespace {

constexpr FillState kNone = FillState::None, kFill = FillState::Filling, kAll = FillState::AllSung;

struct Case {
  const char* what;
  std::string phrase;
  std::vector<WordStamp> words;
  std::int64_t line, next;  // hundredths; next -1: no next line
  double ms;
  FillState state;
  std::size_t word;
  std::uint32_t begin, end;
  double fraction;
};

// 空の上で: 空の (bytes 0-6) at 3.20 s, 上で (6-12) at 3.80 s.
const std::string kSky = "\xe7\xa9\xba\xe3\x81\xae\xe4\xb8\x8a\xe3\x81\xa7";
const std::vector<WordStamp> kSkyWords = {{0, 0}, {6, 60}};
const std::vector<WordStamp> kLaLa = {{0, 0}, {3, 100}};
const std::vector<WordStamp> kEndStamp = {{0, 0}, {3, 50}, {5, 150}};

TEST(KaraokeFill, EdgeAtEachMoment) {
  // clang-format off
  const Case cases[] = {
      {"no stamps: no fill", kSky, {}, 320, 460, 3500, kNone, 0, 0, 0, 0},
      {"only an end stamp: no fill", "ab", {{2, 10}}, 0, -1, 50, kNone, 0, 0, 0, 0},
      {"before the first word", kSky, kSkyWords, 320, 460, 3000, kFill, 0, 0, 6, 0},
      {"at the first word", kSky, kSkyWords, 320, 460, 3200, kFill, 0, 0, 6, 0},
      {"between ticks, mid word", kSky, kSkyWords, 320, 460, 3350, kFill, 0, 0, 6, 0.25},
      {"the next word from its stamp", kSky, kSkyWords, 320, 460, 3800, kFill, 1, 6, 12, 0},
      {"last word runs to the next line", kSky, kSkyWords, 320, 460, 4000, kFill, 1, 6, 12, 0.25},
      {"next line reached: all sung", kSky, kSkyWords, 320, 460, 4600, kAll, 0, 12, 12, 1},
      {"next line too soon: sung at once", kSky, kSkyWords, 320, 350, 3800, kAll, 0, 12, 12, 1},
      {"last word capped at 3 s", "la la", kLaLa, 0, 2000, 2500, kFill, 1, 3, 5, 0.5},
      {"capped, no next line", "la la", kLaLa, 0, -1, 4000, kAll, 0, 5, 5, 1},
      {"end stamp ends the last word", "ab cd", kEndStamp, 100, 900, 2000, kFill, 1, 3, 5, 0.5},
      {"after the end stamp", "ab cd", kEndStamp, 100, 900, 2500, kAll, 0, 5, 5, 1},
      {"text before the first stamp is sung", "x ab", {{2, 20}}, 0, -1, 100, kFill, 0, 2, 4, 0},
      {"stamps out of order", "ab cd", {{0, 50}, {3, 20}}, 0, -1, 500, kFill, 1, 3, 5, 0.1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const KaraokeEdge edge = KaraokeAt(c.phrase, c.words, c.line, c.next, c.ms);
    EXPECT_EQ(edge.state, c.state);
    if (c.state == kNone) continue;
    EXPECT_EQ(edge.word, c.word);
    EXPECT_EQ(edge.begin, c.begin);
    EXPECT_EQ(edge.end, c.end);
    EXPECT_NEAR(edge.fraction, c.fraction, 1e-9);
  }
}

TEST(KaraokeFill, DesktopLinesChangeAtTheirExactHundredth) {
  LyricTable table;
  table.time[0] = 42;  // a press at 4.25 s
  table.detail[0].hundredths = 5;
  table.time[1] = 51;  // an LRC's 5.05 s
  table.detail[1].hundredths = -5;
  table.time[2] = 51;  // never reached after line 1
  struct {
    const char* what;
    int told, shown;
    double now;
    int line;
    std::int64_t changeIn;
  } const cases[] = {
      {"no line", -1, 0, 4300, -1, -1},
      {"its tick came before its hundredth: nothing yet", 0, -1, 4200, -1, 50},
      {"the line before stays meanwhile", 1, 0, 5000, 0, 50},
      {"at its hundredth", 0, -1, 4250, 0, -1},
      {"the next line is due before its tick", 0, 0, 5050, 1, -1},
      {"the next line's hundredth in this tick", 0, 0, 4980, 0, 70},
      {"a line after the one told is not kept", 0, 1, 4200, -1, 50},
      {"a line the display never reaches does not come", 1, 1, 9000, 1, -1},
  };
  for (const auto& c : cases) {
    const DueLine due = LineDueAt(table, c.told, c.shown, c.now);
    EXPECT_EQ(due.line, c.line) << c.what;
    EXPECT_EQ(due.changeIn, c.changeIn) << c.what;
  }
}

}  // namespace
}  // namespace velomar
