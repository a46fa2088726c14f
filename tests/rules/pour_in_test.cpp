// The pour-in split as the Kashi form uses it on every press.
#include "forms/pour_in.h"

#include <gtest/gtest.h>

namespace velomar {
namespace {

TEST(PourIn, TakesThePhraseBeforeTheFirstMark) {
  PourInSplit s = SplitPourIn("a#b#c#");
  EXPECT_EQ(s.phrase, "a");
  EXPECT_EQ(s.rest, "b#c#");
  s = SplitPourIn("c#");
  EXPECT_EQ(s.phrase, "c");
  EXPECT_EQ(s.rest, "");
  s = SplitPourIn("#tail");
  EXPECT_EQ(s.phrase, "");
  EXPECT_EQ(s.rest, "tail");
  s = SplitPourIn("");
  EXPECT_EQ(s.phrase, "");
  EXPECT_EQ(s.rest, "");
}

TEST(PourIn, PhraseLosesLineBreaksWhileTheRestKeepsThem) {
  // "あ#\r\nい#\r\n": the second phrase starts with the line break.
  PourInSplit s = SplitPourIn("\r\n\x82\xa2#\r\n\x82\xa4#");
  EXPECT_EQ(s.phrase, "\x82\xa2");
  EXPECT_EQ(s.rest, "\r\n\x82\xa4#");
  s = SplitPourIn("a\nb\rc#x");
  EXPECT_EQ(s.phrase, "abc");
  EXPECT_EQ(s.rest, "x");
}

TEST(PourIn, FullWidthNumberSignAndTrailBytesAreNoSeparator) {
  // "＃" is 0x81 0x94; no Shift-JIS trail byte is 0x23.
  PourInSplit s = SplitPourIn("\x81\x94\x95\x5c#z");
  EXPECT_EQ(s.phrase, "\x81\x94\x95\x5c");
  EXPECT_EQ(s.rest, "z");
}

TEST(PourIn, TextWithoutAnyMarkMovesWholeIntoThePhraseBox) {
  PourInSplit s = SplitPourIn("last line\r\nno mark");
  EXPECT_EQ(s.phrase, "last lineno mark");
  EXPECT_EQ(s.rest, "");
}

}  // namespace
}  // namespace velomar
