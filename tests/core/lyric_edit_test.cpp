// The lyric editor's lines and marks, and the lyric document: what each
// step leaves in the table and its counters, its one history, saved mark
// and loads.
#include "lyrics/lyric_edit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
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
};

std::unique_ptr<LyricTable> TableOf(const std::vector<Line>& lines) {
  auto table = std::make_unique<LyricTable>();
  for (size_t i = 0; i < lines.size(); ++i) {
    table->time[i] = lines[i].time;
    table->phrase[i] = lines[i].phrase;
  }
  return table;
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
  const std::tuple<std::int32_t, std::int8_t, const char*> hundredths[] = {
      {1234, 5, "2:03.45"}, {20, -5, "0:01.95"}, {-5, 0, "-0:00.50"}, {36000, 9, "60:00.09"}};
  for (const auto& [ticks, h, text] : hundredths) EXPECT_EQ(MinutesText(ticks, h), text);
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
      {[](auto& d) { return d.Shift(1, 1); }, "5a 11b 16c 21d 0 3 2997 3*", -1},
      {[](auto& d) { return d.Shift(0, -10); }, "0a 0b 5c 10d 0 3 2997 3*", -1},
      {[](auto& d) {
         return d.Delete(3001) || d.InsertAfter(-2) || !d.SetTime(0, 5) || d.Shift(4, 1);
       },
       start, 2},
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
  EXPECT_TRUE(doc.IsUnsaved() && doc.Undo() && !doc.IsUnsaved());
  EXPECT_FALSE(doc.SetTime(1, kLatestTime) && doc.Nudge(1, 1)) << "the largest file time";
  Notes notes;
  EXPECT_FALSE(LoadDocument(doc, nullptr, false, nullptr, notes)) << "a file that did not open";
  EXPECT_FALSE(Load(doc, "[ti:no timed line]\n", true)) << "an LRC file refused";
  EXPECT_EQ(Shown(doc), "5a 2147483647 0 0 0 1 2999 1*") << "a failed load changes nothing";
  ASSERT_TRUE(Load(doc, "[00:00.10]x\n", true));
  EXPECT_EQ(Shown(doc), "1x 0 0 0 0 1 2999 1") << "nothing left over; the counters kept";
  EXPECT_FALSE(doc.CanUndo() || doc.CanRedo());
}

TEST(LyricDocument, AHundredthNudgeCarriesIntoTheTickInOneStep) {
  auto stamp = [](const LyricDocument& d) {
    return std::to_string(d.Table().time[0]) + "+" + std::to_string(d.Table().detail[0].hundredths);
  };
  // clang-format off
  const std::tuple<std::int32_t, std::int8_t, int, const char*> rows[] = {
      {20, 3, 1, "20+4"}, {19, 9, 1, "20+0"}, {20, 0, -1, "19+9"}, {20, -5, -1, "19+4"},
      {20, -5, 1, "20+-4"},  // 1.95 s as an LRC gives it: the tick stays on the way up
      {0, 0, -1, "-1+9"}, {kLatestTime, 9, 1, ""}, {kEarliestTime, 0, -1, ""}};
  // clang-format on
  for (const auto& [time, h, by, after] : rows) {
    LyricDocument doc;
    ASSERT_TRUE(doc.SetTime(0, PressStamp{0, time, h}));
    const std::string before = stamp(doc);
    EXPECT_EQ(doc.NudgeHundredths(0, by), *after != 0) << before;
    EXPECT_EQ(stamp(doc), *after ? after : before);
    EXPECT_TRUE(doc.Undo() && stamp(doc) == (*after ? before : "0+0")) << "one step";
  }
  LyricDocument doc;
  doc.BeginAdding();
  ASSERT_TRUE(doc.Press("a", PressStamp{4255, 42, 5}, true, 1, false) &&
              doc.Press("b", PressStamp{4287, 42, 8}, true, 1, false) && doc.Undo());
  EXPECT_EQ(stamp(doc), "42+5");
  ASSERT_TRUE(doc.Redo() && doc.Delete(0));
  EXPECT_EQ(stamp(doc), "43+0") << "moved after the press before it";
}

std::string Counters(const LyricDocument& doc) {
  const LyricTable& t = doc.Table();
  return std::to_string(t.AddIndex) + " " + std::to_string(t.RemainingLines) + " " +
         std::to_string(t.AddedCount);
}

// The counters are the timing window opening's: its steps bring them back,
// an earlier opening's leave them, and no opening passes 3000 adds.
TEST(LyricDocument, CountersBelongToOneOpeningAndNeverPassTheTable) {
  const std::pair<std::function<void(LyricDocument&)>, std::string> rows[] = {
      {[](auto& d) { d.InsertAfter(-1), d.BeginAdding(), d.Undo(), d.Redo(); }, "0 3000 0"},
      {[](auto& d) { d.InsertAfter(kMaxAdds - 2), d.Undo(); }, "2999 1 2999"},
      {[](auto& d) { d.Press("", 0, 0, 1, 0), d.InsertAfter(0); }, "3000 0 3000"},
      {[](auto& d) { d.InsertAfter(0), d.Delete(0), d.Press("", 0, 0, 1, 0); }, "3000 0 3000"},
  };
  for (const auto& [steps, counters] : rows) {
    LyricDocument doc;
    doc.BeginAdding();
    for (int i = 0; i < kMaxAdds - 1; ++i) doc.Press("x", i, false, 1, false);
    steps(doc);
    EXPECT_EQ(Counters(doc), counters);
    doc.Press("over", 1, false, 1, false);
    EXPECT_NE(doc.Table().phrase[kMaxAdds], "over") << "no opening writes entry 3000";
  }
}

// Any mix of steps keeps the counters inside one opening's 3000 adds, never
// lets a press write entry 3000, and an undo then a redo restore exactly.
TEST(LyricDocument, ASeededWalkOfStepsKeepsItsInvariants) {
  std::mt19937 random(20261208u);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  LyricDocument doc;
  doc.BeginAdding();
  for (int i = 0; i < 2990; ++i) doc.Press("x", i, false, 1, false);
  for (int step = 0; step < 12000; ++step) {
    const int at = pick(4) == 0 ? 2990 + pick(11) : pick(12) - 1;
    const int addIndex = doc.Table().AddIndex;
    TakenBack taken;
    // clang-format off
    switch (pick(11)) {
      case 0: case 1: EXPECT_TRUE(!doc.Press("p", pick(50), pick(2), pick(3), pick(2)) ||
                                  addIndex < kMaxAdds); break;
      case 2: doc.TakeBackPress(taken); break;
      case 3: pick(2) ? doc.Nudge(at, pick(3) - 1) : doc.Shift(at, pick(3) - 1); break;
      case 4: doc.SetPhrase(at, std::string(1, static_cast<char>('a' + pick(3)))); break;
      case 5: doc.InsertAfter(at); break;
      case 6: doc.Delete(at); break;
      case 7: if (pick(20) == 0) doc.Reset(); break;
      case 8: doc.Undo(); break;
      case 9: doc.Redo(); break;
      default: if (pick(30) == 0) doc.BeginAdding(); break;
    }
    // clang-format on
    const LyricTable& t = doc.Table();
    ASSERT_TRUE(t.AddIndex >= 0 && t.RemainingLines >= 0 && t.AddedCount >= 0 &&
                t.AddIndex + t.RemainingLines <= kMaxAdds && t.AddedCount <= kMaxAdds)
        << step << ": " << Counters(doc);
    if (!doc.CanUndo()) continue;
    const std::string counters = Counters(doc);
    const LyricTable before = t;
    ASSERT_TRUE(doc.Undo() && doc.Redo());
    ASSERT_TRUE(t.time == before.time && t.phrase == before.phrase && Counters(doc) == counters)
        << step;
  }
}

// A save marks the lyrics saved only when the file, loaded back as the
// program loads it, gives every entry back as it stands.
TEST(SavedMark, OnlyAFileThatGivesBackEveryEntryHoldsTheLyrics) {
  auto lrc = [](const std::vector<LyricRecord>& records) {
    std::string text;
    Notes notes;
    RecordsToLrc(records, text, notes);
    return text;
  };
  const std::vector<LyricRecord> abc = {{10, "A"}, {20, "B"}, {25, "C"}},
                                 same = {{10, "A"}, {20, "B"}, {20, "C"}},
                                 zero = {{10, "A"}, {0, "B"}}, blank = {{10, "A "}},
                                 huge = {{10, std::string(9 << 20, 'x')}},
                                 words = {{10, "A"}, {20, "B", {0, {}, {{0, 0}, {1, 5}}}}};
  const std::tuple<std::vector<LyricRecord>, std::string, bool, int> rows[] = {
      {abc, "10,A\r\n20,B\r\n25,C\r\n", false, -1},
      {abc, "10,A\r\n20,B\r\n", false, 2},  // fewer lines
      {abc, "", false, 0},                  // this opening's adds: none
      {{{1, "a,b"}, {2, " c"}}, "1,a,b\r\n2, c\r\n", false, 1},
      {{{5, "a"}, {0, ""}}, "5,a\r\n0,\r\n", false, -1},  // a press of nothing at 0 after them
      {abc, lrc(abc), true, -1},
      {same, lrc(same), true, 1},
      {zero, lrc(zero), true, 0},
      {blank, lrc(blank), true, 0},
      {huge, lrc(huge), true, 0},             // refused on reading
      {words, "10,A\r\n20,B\r\n", false, 1},  // a lyric file holds no word stamps
      {words, lrc(words), true, -1},
  };
  for (const auto& [lines, file, isLrc, first] : rows) {
    auto table = std::make_unique<LyricTable>();
    for (size_t i = 0; i < lines.size(); ++i) table->time[i] = lines[i].time;
    for (size_t i = 0; i < lines.size(); ++i) table->phrase[i] = lines[i].phrase;
    for (size_t i = 0; i < lines.size(); ++i) table->detail[i] = lines[i].detail;
    MemorySource source(file);
    EXPECT_EQ(FirstEntryNotReadBack(*table, &source, isLrc), first) << file.substr(0, 40);
  }
  EXPECT_EQ(FirstEntryNotReadBack(LyricTable{}, nullptr, false), 0) << "a file that did not open";
}

}  // namespace
}  // namespace velomar
