// Taking presses back and the lyric editor's changes: what lands in the
// table and its counters, and that every change can be taken back exactly.
#include "lyrics/lyric_edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velomar {
namespace {

struct Line {
  std::int32_t time;
  std::string phrase;
  bool operator==(const Line& o) const { return time == o.time && phrase == o.phrase; }
};

std::vector<Line> Lines(const LyricTable& table, int count) {
  std::vector<Line> lines;
  for (int i = 0; i < count; ++i) lines.push_back({table.time[i], table.phrase[i]});
  return lines;
}

std::unique_ptr<LyricTable> TableOf(const std::vector<Line>& lines) {
  auto table = std::make_unique<LyricTable>();
  for (size_t i = 0; i < lines.size(); ++i) {
    table->time[i] = lines[i].time;
    table->phrase[i] = lines[i].phrase;
  }
  return table;
}

TEST(TakeBack, RestoresEachPressDownToTheFirstOfTheSession) {
  auto table = TableOf({{4, "old0"}, {9, "old1"}, {12, "old2"}});
  BeginAdding(*table);
  PressLog log;
  ASSERT_TRUE(AddPhraseLogged(*table, log, "a", 10, false));
  ASSERT_TRUE(AddPhraseLogged(*table, log, "b", 20, true));
  ASSERT_TRUE(AddPhraseLogged(*table, log, "c", 30, false));
  EXPECT_EQ(Lines(*table, 4), (std::vector<Line>{{10, "a"}, {20, "b"}, {30, "c"}, {0, ""}}));

  struct Step {
    std::string phrase;
    bool pouredIn;
    std::vector<Line> lines;
    int addIndex, remaining;
  };
  const Step steps[] = {
      {"c", false, {{10, "a"}, {20, "b"}, {12, "old2"}}, 2, 2998},
      {"b", true, {{10, "a"}, {9, "old1"}, {12, "old2"}}, 1, 2999},
      {"a", false, {{4, "old0"}, {9, "old1"}, {12, "old2"}}, 0, 3000},
  };
  for (const Step& step : steps) {
    TakenBack taken;
    ASSERT_TRUE(TakeBackPress(*table, log, taken)) << step.phrase;
    EXPECT_EQ(taken.phrase, step.phrase);
    EXPECT_EQ(taken.pouredIn, step.pouredIn);
    EXPECT_EQ(Lines(*table, 3), step.lines) << step.phrase;
    EXPECT_EQ(table->AddIndex, step.addIndex);
    EXPECT_EQ(table->RemainingLines, step.remaining);
    EXPECT_EQ(table->AddedCount, step.addIndex);
  }
  TakenBack none;
  EXPECT_FALSE(TakeBackPress(*table, log, none)) << "nothing before the session";
  EXPECT_EQ(table->AddIndex, 0);

  // A press taken back and pressed again lands where it was.
  ASSERT_TRUE(AddPhraseLogged(*table, log, "a", 11, false));
  EXPECT_EQ(Lines(*table, 1), (std::vector<Line>{{11, "a"}}));
  EXPECT_EQ(log.size(), 1u);
}

TEST(LyricEditor, ChangesMoveTheCountersWithTheirEntriesAndUndoExactly) {
  const std::vector<Line> start{{5, "a"}, {10, "b"}, {15, "c"}, {20, "d"}};
  struct Row {
    const char* what;
    bool (*change)(LyricEdits&, LyricTable&);
    bool accepted;
    std::vector<Line> lines;
    int addIndex, remaining, added;
  };
  // The session added a, b and c; d came from an earlier load.
  const Row rows[] = {
      {"one tick later",
       [](LyricEdits& e, LyricTable& t) { return e.SetTime(t, 1, 11); },
       true,
       {{5, "a"}, {11, "b"}, {15, "c"}, {20, "d"}},
       3,
       2997,
       3},
      {"a new phrase",
       [](LyricEdits& e, LyricTable& t) { return e.SetPhrase(t, 3, "D"); },
       true,
       {{5, "a"}, {10, "b"}, {15, "c"}, {20, "D"}},
       3,
       2997,
       3},
      {"insert inside the added lines",
       [](LyricEdits& e, LyricTable& t) { return e.InsertAfter(t, 0); },
       true,
       {{5, "a"}, {6, ""}, {10, "b"}, {15, "c"}, {20, "d"}},
       4,
       2996,
       4},
      {"insert right after the last added",
       [](LyricEdits& e, LyricTable& t) { return e.InsertAfter(t, 2); },
       true,
       {{5, "a"}, {10, "b"}, {15, "c"}, {16, ""}, {20, "d"}},
       4,
       2996,
       4},
      {"insert after the loaded line",
       [](LyricEdits& e, LyricTable& t) { return e.InsertAfter(t, 3); },
       true,
       {{5, "a"}, {10, "b"}, {15, "c"}, {20, "d"}, {21, ""}},
       3,
       2997,
       3},
      {"delete an added line",
       [](LyricEdits& e, LyricTable& t) { return e.Delete(t, 1); },
       true,
       {{5, "a"}, {15, "c"}, {20, "d"}, {0, ""}},
       2,
       2998,
       2},
      {"delete the loaded line",
       [](LyricEdits& e, LyricTable& t) { return e.Delete(t, 3); },
       true,
       {{5, "a"}, {10, "b"}, {15, "c"}, {0, ""}},
       3,
       2997,
       3},
      {"no entry -1",
       [](LyricEdits& e, LyricTable& t) { return e.SetTime(t, -1, 1); },
       false,
       {{5, "a"}, {10, "b"}, {15, "c"}, {20, "d"}},
       3,
       2997,
       3},
      {"nothing after the last entry",
       [](LyricEdits& e, LyricTable& t) { return e.InsertAfter(t, 3000); },
       false,
       {{5, "a"}, {10, "b"}, {15, "c"}, {20, "d"}},
       3,
       2997,
       3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto table = TableOf(start);
    BeginAdding(*table);
    for (int i = 0; i < 3; ++i) AddPhrase(*table, start[i].phrase, start[i].time);
    const std::uint32_t revision = table->Revision;
    LyricEdits edits;
    EXPECT_EQ(row.change(edits, *table), row.accepted);
    EXPECT_EQ(Lines(*table, static_cast<int>(row.lines.size())), row.lines);
    EXPECT_EQ(table->AddIndex, row.addIndex);
    EXPECT_EQ(table->RemainingLines, row.remaining);
    EXPECT_EQ(table->AddedCount, row.added);
    EXPECT_EQ(table->Revision != revision, row.accepted) << "the display catches up with a change";
    EXPECT_EQ(edits.Undo(*table), row.accepted);
    EXPECT_EQ(Lines(*table, 6),
              (std::vector<Line>{{5, "a"}, {10, "b"}, {15, "c"}, {20, "d"}, {0, ""}, {0, ""}}));
    EXPECT_EQ(table->AddIndex, 3);
    EXPECT_EQ(table->RemainingLines, 2997);
    EXPECT_EQ(table->AddedCount, 3);
  }
}

TEST(LyricEditor, UndoesAChainOfChangesNewestFirstAndRefusesAFullTableInsert) {
  auto table = TableOf({{5, "a"}, {10, "b"}});
  LyricEdits edits;
  ASSERT_TRUE(edits.Delete(*table, 0));
  ASSERT_TRUE(edits.InsertAfter(*table, 0));
  ASSERT_TRUE(edits.SetTime(*table, 1, 30));
  ASSERT_TRUE(edits.SetPhrase(*table, 1, "x"));
  EXPECT_EQ(Lines(*table, 2), (std::vector<Line>{{10, "b"}, {30, "x"}}));
  while (edits.CanUndo()) edits.Undo(*table);
  EXPECT_EQ(Lines(*table, 3), (std::vector<Line>{{5, "a"}, {10, "b"}, {0, ""}}));
  EXPECT_FALSE(edits.Undo(*table));

  table->phrase[3000] = "last";
  EXPECT_FALSE(edits.InsertAfter(*table, 0)) << "entry 3000 would fall off";
  EXPECT_EQ(table->phrase[3000], "last");
}

TEST(LyricEditor, LinesMarksAndTimes) {
  auto table = TableOf({{0, "intro"}, {10, "a"}, {10, "b"}, {5, "c"}, {-3, "d"}, {40, ""}});
  EXPECT_EQ(LyricLineCount(*table), 6);
  const Unreachable marks[] = {Unreachable::None,           Unreachable::None,
                               Unreachable::SameAsPrevious, Unreachable::BeforePrevious,
                               Unreachable::Negative,       Unreachable::None};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(WhyUnreachable(*table, i), marks[i]) << i;
  table->time[5] = 0;
  EXPECT_EQ(LyricLineCount(*table), 5) << "an unwritten entry is no line";
  EXPECT_EQ(LyricLineCount(LyricTable{}), 0);

  struct Time {
    std::int32_t ticks;
    const char* text;
  };
  const Time times[] = {{0, "0:00.0"},    {7, "0:00.7"},   {123, "0:12.3"},
                        {1234, "2:03.4"}, {-5, "-0:00.5"}, {36000, "60:00.0"}};
  for (const Time& t : times) EXPECT_EQ(MinutesText(t.ticks), t.text);
}

}  // namespace
}  // namespace velomar
