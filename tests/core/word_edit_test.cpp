// The lyric editor's words: the list's text of a line's stamps, and the
// presses that stamp them again.
#include "lyrics/word_edit.h"

#include <gtest/gtest.h>

namespace velomar {
namespace {

const char kKaze[] = "\xe9\xa2\xa8\xe3\x81\x8c\xe5\x90\xb9\xe3\x81\x8f";  // 風が吹く

TEST(WordEdit, StampsAsTheListShowsThem) {
  const std::tuple<std::string, std::vector<WordStamp>, std::string> rows[] = {
      {kKaze, {}, ""},
      {kKaze,
       {{0, 0}, {3, 31}, {6, 72}, {12, 120}},
       "\xe9\xa2\xa8+0.00 \xe3\x81\x8c+0.31 \xe5\x90\xb9\xe3\x81\x8f+0.72 /+1.20"},
      {"  Hello  world ", {{0, 5}, {9, 1234}}, "Hello+0.05 world+12.34"},
      {"ab cd", {{3, -7}, {5, 40}}, "ab cd-0.07 /+0.40"},
  };
  for (const auto& [phrase, stamps, shown] : rows) {
    EXPECT_EQ(WordStampsText(phrase, stamps), shown) << phrase;
  }
}

// Presses at 100, 131, 172, 200 and 250 hundredths over 風が吹く, "a b", "x".
TEST(WordEdit, PressesStampEachWordThenTheNextLine) {
  LyricTable lyrics;
  lyrics.phrase[0] = kKaze;
  lyrics.detail[0].words = {{0, 0}, {6, 50}, {12, 90}};  // two words as loaded
  lyrics.phrase[1] = "a b";
  lyrics.phrase[2] = "x";
  const std::tuple<std::int64_t, int, RetimeStep> presses[] = {
      {100, 0, {0, true, {{0, 0}}}}, {131, 0, {0, false, {{0, 0}, {6, 31}}}},
      {172, 0, {1, true, {{0, 0}}}}, {200, 1, {1, false, {{0, 0}, {2, 28}}}},
      {250, 2, {2, true, {{0, 0}}}}, {260, 2, {-1, false, {}}},
  };
  Retiming retiming;
  const auto press = [&](std::int64_t now, int selected) {
    const RetimeStep step = RetimePress(retiming, lyrics, 3, selected, now);
    if (step.line >= 0 && step.setsTime) {
      lyrics.time[step.line] = static_cast<std::int32_t>(now / 10);
      lyrics.detail[step.line].hundredths = static_cast<std::int8_t>(now % 10);
    }
    if (step.line >= 0) lyrics.detail[step.line].words = step.words;
    return step;
  };
  for (const auto& [now, selected, expected] : presses) {
    const RetimeStep step = press(now, selected);
    EXPECT_EQ(step.line, expected.line) << now;
    EXPECT_EQ(step.setsTime, expected.setsTime) << now;
    EXPECT_EQ(step.words, expected.words) << now;
  }
  // A press undone is made again; a changed phrase starts the line again.
  EXPECT_TRUE(press(300, 1).setsTime);
  EXPECT_EQ(press(310, 1).words, (std::vector<WordStamp>{{0, 0}, {2, 10}}));
  lyrics.detail[1].words = {{0, 0}};
  EXPECT_EQ(press(320, 1).words, (std::vector<WordStamp>{{0, 0}, {2, 20}}));
  lyrics.phrase[1] = "a c";
  EXPECT_TRUE(press(330, 1).setsTime);
}

}  // namespace
}  // namespace velomar
