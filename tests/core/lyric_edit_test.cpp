// Taking presses back and the lyric editor's changes: what lands in the
// table and its counters, and that every change can be taken back exactly;
// the document's one history, saved mark and loads.
#include "lyrics/lyric_edit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_file.h"
#include "lyrics/memory_stream.h"

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

// Entries 0..count-1 as time and phrase, the counters, and "*" when unsaved.
std::string Shown(const LyricDocument& doc, int count = 5) {
  const LyricTable& t = doc.Table();
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(t.time[i]) + t.phrase[i] + " ";
  return text + std::to_string(t.AddIndex) + " " + std::to_string(t.RemainingLines) + " " +
         std::to_string(t.AddedCount) + (doc.IsUnsaved() ? "*" : "");
}

bool Load(LyricDocument& doc, const std::string& file, bool lrc = false) {
  MemorySource source(file);
  Notes notes;
  return LoadDocument(doc, &source, lrc, nullptr, notes);
}

TEST(LyricDocument, EveryStepUndoesAndRedoesExactlyWithItsCountersAndSavedMark) {
  const std::string start = "5a 10b 15c 20d 0 3 2997 3";
  // The step, what it leaves, and the entry the editor then selects.
  const std::tuple<std::function<bool(LyricDocument&)>, std::string, int> rows[] = {
      {[](auto& d) { return d.Press("e", 30, true, 1, false); }, "5a 10b 15c 30e 0 4 2996 4*", 3},
      {[](auto& d) { return d.Nudge(1, -1); }, "5a 9b 15c 20d 0 3 2997 3*", 1},
      {[](auto& d) { return d.SetTime(2, 40); }, "5a 10b 40c 20d 0 3 2997 3*", 2},
      {[](auto& d) { return d.SetPhrase(3, "D"); }, "5a 10b 15c 20D 0 3 2997 3*", 3},
      {[](auto& d) { return d.InsertAfter(0); }, "5a 6 10b 15c 20d 4 2996 4*", 1},
      {[](auto& d) { return d.InsertAfter(-1); }, "1 5a 10b 15c 20d 4 2996 4*", 0},
      {[](auto& d) { return d.Delete(1); }, "5a 15c 20d 0 0 2 2998 2*", 1},
      {[](auto& d) { return d.Reset(); }, "0 0 0 0 0 3 2997 3*", -1},
      {[](auto& d) { return d.Delete(3001) || d.InsertAfter(-2) || !d.SetTime(0, 5); }, start, 2},
  };
  for (const auto& [step, after, changed] : rows) {
    SCOPED_TRACE(after);
    LyricDocument doc;
    ASSERT_TRUE(Load(doc, "7,x\r\n8,y\r\n9,z\r\n20,d\r\n"));
    doc.BeginAdding();
    for (int i = 0; i < 3; ++i) doc.Press(std::string(1, 'a' + i), 5 * i + 5, true, 1, false);
    doc.MarkSaved(doc.State());
    const std::uint32_t revision = doc.Revision();
    EXPECT_EQ(step(doc), after != start);
    EXPECT_EQ(doc.Revision() != revision, after != start) << "the display catches up";
    EXPECT_EQ(doc.ChangedEntry(), changed);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Shown(doc), after == start ? "5a 10b 9z 20d 0 2 2998 2*" : start);
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(Shown(doc), after);
    ASSERT_TRUE(doc.Undo() && doc.SetPhrase(4, "new"));
    EXPECT_FALSE(doc.CanRedo()) << "a new step clears what could be redone";
  }
}

TEST(LyricDocument, PressesOfOneTickStayInOrderAndF6TakesBackOnlyThisOpening) {
  LyricDocument doc;
  doc.BeginAdding();
  // Three in tick 42, 43 still not after them, a later one, a new Play, the clock stopped.
  const std::tuple<double, bool, int> presses[] = {{42, true, 1}, {42, true, 1}, {42.7, true, 1},
                                                   {43, true, 1}, {50, true, 1}, {3, true, 2},
                                                   {3, false, 2}};
  for (const auto& [t, on, play] : presses) ASSERT_TRUE(doc.Press("p", t, on, play, play == 1));
  EXPECT_EQ(Shown(doc, 7), "42p 43p 44p 45p 50p 3p 3p 7 2993 7*");
  TakenBack taken;
  for (int i = 6; i >= 0; --i) ASSERT_TRUE(doc.TakeBackPress(taken) && taken.pouredIn == (i < 5));
  EXPECT_FALSE(doc.TakeBackPress(taken));
  ASSERT_TRUE(doc.Redo() && doc.Redo() && doc.Redo() && doc.Undo());
  ASSERT_TRUE(doc.Press("q", 42, true, 1, false));
  EXPECT_EQ(Shown(doc, 3), "42p 43p 44q 3 2997 3*") << "after the press still in effect";
  doc.BeginAdding();
  EXPECT_FALSE(doc.TakeBackPress(taken)) << "a press of the earlier opening";
  ASSERT_TRUE(doc.Press("r", 1, false, 3, false) && doc.SetPhrase(0, "edited"));
  EXPECT_FALSE(doc.TakeBackPress(taken)) << "never an editor change";
  ASSERT_TRUE(doc.Undo() && Load(doc, "1,x\r\n"));
  EXPECT_FALSE(doc.TakeBackPress(taken)) << "nothing is taken back into loaded lyrics";
}

TEST(LyricDocument, SavesMarkWhatTheyWroteAndALoadReplacesTheWholeTable) {
  LyricDocument doc;
  doc.BeginAdding();
  ASSERT_TRUE(doc.Press("a", 5, false, 1, false));
  const LyricDocument::StateId written = doc.State();
  ASSERT_TRUE(doc.Press("b", 9, false, 1, false));  // while the save's box was up
  doc.MarkSaved(written);
  EXPECT_TRUE(doc.Table().AddsUnsaved && doc.Undo() && !doc.Table().AddsUnsaved);
  EXPECT_FALSE(doc.SetTime(1, kLatestTime) && doc.Nudge(1, 1)) << "the largest file time";
  Notes notes;
  EXPECT_FALSE(LoadDocument(doc, nullptr, false, nullptr, notes)) << "a file that did not open";
  EXPECT_FALSE(Load(doc, "[ti:no timed line]\n", true)) << "an LRC file refused";
  EXPECT_EQ(Shown(doc), "5a 2147483647 0 0 0 1 2999 1*") << "a failed load changes nothing";
  ASSERT_TRUE(Load(doc, "[00:00.10]x\n", true));
  EXPECT_EQ(Shown(doc), "1x 0 0 0 0 1 2999 1") << "nothing left over; the counters kept";
  EXPECT_FALSE(doc.CanUndo() || doc.CanRedo());
}

}  // namespace
}  // namespace velomar
