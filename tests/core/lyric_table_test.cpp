#include "lyrics/lyric_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace velomar {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(LyricTable, StartsEmptyWithZeroCounters) {
  auto table = std::make_unique<LyricTable>();
  for (int i = 0; i < kLyricEntries; ++i) {
    ASSERT_EQ(table->time[i], 0) << i;
    ASSERT_EQ(table->phrase[i], "") << i;
  }
  EXPECT_EQ(table->AddIndex, 0);
  EXPECT_EQ(table->RemainingLines, 0);
  EXPECT_EQ(table->AddedCount, 0);
  // Before the Kashi form ever opened nothing may be added.
  EXPECT_FALSE(AddPhrase(*table, "x", 5));
  EXPECT_EQ(table->phrase[0], "");
}

TEST(LyricTable, AddStoresCopyAndTruncatedTicks) {
  auto table = std::make_unique<LyricTable>();
  BeginAdding(*table);
  std::string text = "\x83\x65\x83\x58\x83\x67";  // テスト
  ASSERT_TRUE(AddPhrase(*table, text, 23.0));
  text = "changed";
  ASSERT_TRUE(AddPhrase(*table, "", 12.9));
  ASSERT_TRUE(AddPhrase(*table, "neg", -3.5));
  ASSERT_TRUE(AddPhrase(*table, "same tick", -3.0));  // no ordering is checked
  EXPECT_EQ(table->phrase[0], "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(table->time[0], 23);
  EXPECT_EQ(table->phrase[1], "");
  EXPECT_EQ(table->time[1], 12);
  EXPECT_EQ(table->time[2], -3);
  EXPECT_EQ(table->time[3], -3);
  EXPECT_EQ(table->AddIndex, 4);
  EXPECT_EQ(table->AddedCount, 4);
  EXPECT_EQ(table->RemainingLines, 2996);
}

TEST(LyricTable, ThreeThousandAddsThenRefusal) {
  auto table = std::make_unique<LyricTable>();
  table->time[3000] = 99;
  table->phrase[3000] = "last";
  BeginAdding(*table);
  for (int i = 0; i < kMaxAdds; ++i) {
    ASSERT_TRUE(AddPhrase(*table, "p" + std::to_string(i), i * 10.0)) << i;
  }
  EXPECT_EQ(table->RemainingLines, 0);
  EXPECT_EQ(table->AddedCount, 3000);
  EXPECT_EQ(table->AddIndex, 3000);
  EXPECT_EQ(table->phrase[2999], "p2999");
  EXPECT_EQ(table->time[2999], 29990);

  EXPECT_FALSE(AddPhrase(*table, "one too many", 1.0));
  EXPECT_EQ(table->RemainingLines, 0);
  EXPECT_EQ(table->AddedCount, 3000);
  EXPECT_EQ(table->AddIndex, 3000);
  EXPECT_EQ(table->time[3000], 99);
  EXPECT_EQ(table->phrase[3000], "last");
}

TEST(LyricTable, ReopeningOverwritesOnlyTheNewAdds) {
  auto table = std::make_unique<LyricTable>();
  BeginAdding(*table);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(AddPhrase(*table, "first" + std::to_string(i), i));
  BeginAdding(*table);
  EXPECT_EQ(table->AddIndex, 0);
  EXPECT_EQ(table->RemainingLines, 3000);
  EXPECT_EQ(table->AddedCount, 0);
  EXPECT_EQ(table->phrase[0], "first0");  // the entries stay until overwritten
  ASSERT_TRUE(AddPhrase(*table, "a", 100));
  ASSERT_TRUE(AddPhrase(*table, "b", 200));
  EXPECT_EQ(table->phrase[0], "a");
  EXPECT_EQ(table->phrase[1], "b");
  EXPECT_EQ(table->time[1], 200);
  EXPECT_EQ(table->phrase[2], "first2");
  EXPECT_EQ(table->time[4], 4);
  EXPECT_EQ(table->AddedCount, 2);
}

TEST(LyricTable, ResetClearsEntriesAndKeepsCounters) {
  auto table = std::make_unique<LyricTable>();
  BeginAdding(*table);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(AddPhrase(*table, "x", 10 + i));
  table->time[3000] = 5;
  table->phrase[3000] = "end";
  ResetLyrics(*table);
  for (int i = 0; i < kLyricEntries; ++i) {
    ASSERT_EQ(table->time[i], 0) << i;
    ASSERT_EQ(table->phrase[i], "") << i;
  }
  EXPECT_EQ(table->AddIndex, 3);
  EXPECT_EQ(table->AddedCount, 3);
  EXPECT_EQ(table->RemainingLines, 2997);
  // Adding goes on where it was.
  ASSERT_TRUE(AddPhrase(*table, "after", 40));
  EXPECT_EQ(table->phrase[3], "after");
  EXPECT_EQ(table->phrase[2], "");
}

TEST(LyricTable, AddNeverWritesOutsideTheTable) {
  auto table = std::make_unique<LyricTable>();
  table->RemainingLines = 10;
  table->AddIndex = kLyricEntries;
  EXPECT_FALSE(AddPhrase(*table, "x", 1));
  table->AddIndex = -1;
  EXPECT_FALSE(AddPhrase(*table, "x", 1));
  EXPECT_EQ(table->RemainingLines, 10);
  EXPECT_EQ(table->AddedCount, 0);
  table->AddIndex = 3000;  // the last slot itself is fine
  EXPECT_TRUE(AddPhrase(*table, "x", 1));
  EXPECT_EQ(table->phrase[3000], "x");
}

TEST(LyricTable, TicksToTimeTruncatesOrGivesMinimum) {
  EXPECT_EQ(TicksToTime(-0.9), 0);
  EXPECT_EQ(TicksToTime(12.9), 12);
  EXPECT_EQ(TicksToTime(2147483647.9), 2147483647);
  EXPECT_EQ(TicksToTime(-2147483647.0), -2147483647);
  EXPECT_EQ(TicksToTime(2147483648.0), kMin);
  EXPECT_EQ(TicksToTime(-2147483649.0), kMin);
  EXPECT_EQ(TicksToTime(std::nan("")), kMin);
  EXPECT_EQ(TicksToTime(-INFINITY), kMin);
}

}  // namespace
}  // namespace velomar
