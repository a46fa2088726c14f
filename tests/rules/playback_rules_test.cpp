// The player's decisions, row by row: buttons after each command, what each
// MCI notice does, what each clock tick shows, which lines it never shows
// and where "play from line i" starts.
#include "playback/playback_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/lyric_edit.h"

namespace velomar {
namespace {

constexpr Switch K = Switch::Keep, I = Switch::On, O = Switch::Off;

void ExpectButtons(ButtonEvent event, ButtonStates want) {
  const ButtonStates got = ButtonsAfter(event);
  EXPECT_EQ(got.play, want.play) << "play";
  EXPECT_EQ(got.stop, want.stop) << "stop";
  EXPECT_EQ(got.browse, want.browse) << "browse";
  EXPECT_EQ(got.pause, want.pause) << "pause";
  EXPECT_EQ(got.miniStop, want.miniStop) << "mini stop";
  EXPECT_EQ(got.miniPlay, want.miniPlay) << "mini play";
}

TEST(Buttons, FollowEveryCommand) {
  {
    SCOPED_TRACE("start");
    ExpectButtons(ButtonEvent::Start, {O, O, I, O, K, K});
  }
  {
    SCOPED_TRACE("successful open enables play only");
    ExpectButtons(ButtonEvent::Opened, {I, K, K, K, K, K});
  }
  {
    SCOPED_TRACE("play");
    ExpectButtons(ButtonEvent::Play, {O, I, O, I, I, O});
  }
  {
    SCOPED_TRACE("stop");
    ExpectButtons(ButtonEvent::Stop, {I, O, I, O, O, I});
  }
  {
    SCOPED_TRACE("pause leaves the Mini buttons alone");
    ExpectButtons(ButtonEvent::Pause, {I, I, I, O, K, K});
  }
  {
    SCOPED_TRACE("end of an unlooped song leaves pause alone");
    ExpectButtons(ButtonEvent::SongEnded, {I, O, I, K, O, I});
  }
}

TEST(Buttons, FailedPlaysNeverLeaveTheMainWindowStuck) {
  {
    SCOPED_TRACE("a failed play is as after stop");
    ExpectButtons(ButtonEvent::PlayFailed, ButtonsAfter(ButtonEvent::Stop));
  }
  {
    SCOPED_TRACE("a failed loop restart is as after an unlooped end");
    ExpectButtons(ButtonEvent::LoopRestartFailed, ButtonsAfter(ButtonEvent::SongEnded));
  }
  for (ButtonEvent e : {ButtonEvent::PlayFailed, ButtonEvent::LoopRestartFailed}) {
    const ButtonStates b = ButtonsAfter(e);
    EXPECT_TRUE(b.play == I || b.browse == I) << "something to press";
  }
}

TEST(Notices, WithLoopOffEndTheSongUnlessAPlayWasCutShort) {
  const PlayState states[] = {PlayState::Idle, PlayState::Playing, PlayState::Stopped,
                              PlayState::Paused};
  for (PlayState s : states) {
    SCOPED_TRACE(static_cast<int>(s));
    EXPECT_EQ(DecideNotice(kNotifySuccessful, false, s), NoticeAction::EndSong);
    EXPECT_EQ(DecideNotice(kNotifyFailure, false, s), NoticeAction::EndSong);
    const NoticeAction cutShort =
        s == PlayState::Playing ? NoticeAction::Ignore : NoticeAction::EndSong;
    EXPECT_EQ(DecideNotice(kNotifyAborted, false, s), cutShort);
    EXPECT_EQ(DecideNotice(kNotifySuperseded, false, s), cutShort);
  }
}

TEST(Notices, WithLoopOnRestartOnSuccessReportFailuresIgnoreTheRest) {
  for (PlayState s : {PlayState::Playing, PlayState::Stopped, PlayState::Paused}) {
    EXPECT_EQ(DecideNotice(kNotifySuccessful, true, s), NoticeAction::RestartSong);
    EXPECT_EQ(DecideNotice(kNotifyFailure, true, s), NoticeAction::ReportFailure);
    EXPECT_EQ(DecideNotice(kNotifyAborted, true, s), NoticeAction::Ignore);
    EXPECT_EQ(DecideNotice(kNotifySuperseded, true, s), NoticeAction::Ignore);
  }
}

class Ticks : public ::testing::Test {
 protected:
  std::unique_ptr<LyricTable> table = std::make_unique<LyricTable>();
  double ticks = 0.0;
  std::int32_t cursor = 0;
  int Step(bool lyricsOn = true) {
    return StepTicks(*table, lyricsOn, false, 0, ticks, cursor, ticks + 1.0);
  }
};

TEST_F(Ticks, APhraseTimedTAppearsAtTheTPlusFirstTick) {
  table->time[0] = 0;
  table->time[1] = 3;
  EXPECT_EQ(Step(), 0) << "time 0 shows at the first tick";
  EXPECT_EQ(ticks, 1.0);
  EXPECT_EQ(Step(), -1);
  EXPECT_EQ(Step(), -1);
  EXPECT_EQ(ticks, 3.0);
  EXPECT_EQ(Step(), 1) << "shown when the label goes from 3 to 4";
  EXPECT_EQ(ticks, 4.0);
  EXPECT_EQ(cursor, 2);
}

TEST_F(Ticks, AtMostOneEntryPerTickAndEqualTimesBlockTheRest) {
  table->time[0] = 2;
  table->time[1] = 2;
  table->time[2] = 5;
  ticks = 2.0;
  EXPECT_EQ(Step(), 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Step(), -1);
  EXPECT_EQ(cursor, 1) << "the second equal time is never shown, nor anything after it";
}

TEST_F(Ticks, NegativeOrPassedTimesAreNeverShown) {
  table->time[0] = -1;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Step(), -1);
  EXPECT_EQ(cursor, 0);
}

TEST_F(Ticks, WithLyricsOffTheClockRunsAndTheCursorWaits) {
  table->time[0] = 0;
  EXPECT_EQ(Step(false), -1);
  EXPECT_EQ(ticks, 1.0);
  EXPECT_EQ(cursor, 0);
  EXPECT_EQ(Step(true), -1) << "time 0 has passed while lyrics were off";
}

TEST_F(Ticks, CursorStopsAfterTheLastEntry) {
  for (int i = 0; i < kLyricEntries; ++i) table->time[i] = i;
  for (int i = 0; i < kLyricEntries; ++i) ASSERT_EQ(Step(), i);
  EXPECT_EQ(cursor, 3001);
  EXPECT_EQ(Step(), -1);
  EXPECT_EQ(cursor, 3001);
  EXPECT_EQ(ticks, 3002.0);
}

TEST(Clock, MakesUpLateTicksAndCountsEarlyOnesAsOne) {
  struct Row {
    double before;
    std::int64_t elapsed;
    double advanced, now;
  };
  const Row rows[] = {
      {0, 0, 1, 0},     // a posted tick before real time moved on
      {5, 3, 6, 5},     // ticks posted faster than real time
      {5, 6, 6, 6},     // on time
      {5, 17, 17, 17},  // 12 periods passed during a blocked thread
      {0, -4, 1, 0},    // a clock read before Play's own reading
  };
  for (const Row& r : rows) {
    EXPECT_EQ(AdvanceClock(r.before, r.elapsed), r.advanced) << r.before << " " << r.elapsed;
    EXPECT_EQ(ClockNow(r.before, r.elapsed), r.now) << r.before << " " << r.elapsed;
  }
}

TEST(Clock, StepsEveryTickValueMadeUpAndCatchesUp) {
  auto table = std::make_unique<LyricTable>();
  // 5, 10, ..., 200 in entries 0..39; entry 40 is an unwritten end marker.
  for (int i = 0; i < 40; ++i) table->time[i] = 5 * (i + 1);
  struct Row {
    const char* what;
    bool lyricsOn, catchUp;
    double start, from;
    std::int32_t cursor;
    double to;
    int shown;
    std::int32_t cursorAfter;
  };
  const Row rows[] = {
      {"a jump of 12 ticks over 3 entries", true, false, 0, 4, 0, 16, 2, 3},
      {"a jump that reaches no entry", true, false, 0, 6, 1, 10, -1, 1},
      {"a jump whose last value is an entry's time", true, false, 0, 6, 1, 11, 1, 2},
      {"a jump across the end marker", true, false, 0, 190, 37, 260, 39, 40},
      {"past the end marker nothing more", true, false, 0, 260, 40, 300, -1, 40},
      {"lyrics off: the cursor waits", false, false, 0, 0, 0, 33, -1, 0},
      {"turned on 33 ticks after Play", true, true, 0, 33, 0, 34, 5, 6},
      {"the third tick after that", true, false, 0, 35, 6, 36, 6, 7},
      {"a table loaded mid-song", true, true, 0, 100, 2, 101, 19, 20},
      {"catch-up with lyrics off does nothing", false, true, 0, 33, 2, 34, -1, 2},
      {"catch-up after a play from tick 52", true, true, 52, 60, 39, 61, 11, 12},
      {"a play from tick 52 does not show the line before it", true, true, 52, 52, 39, 53, -1, 10},
  };
  for (const Row& r : rows) {
    double ticks = r.from;
    std::int32_t cursor = r.cursor;
    EXPECT_EQ(StepTicks(*table, r.lyricsOn, r.catchUp, r.start, ticks, cursor, r.to), r.shown)
        << r.what;
    EXPECT_EQ(cursor, r.cursorAfter) << r.what;
    EXPECT_EQ(ticks, r.to) << r.what;
  }
  EXPECT_EQ(FirstLineDue(*table, 0), 0) << "from the beginning, as Play always was";
  EXPECT_EQ(FirstLineDue(*table, 10), 1);
  EXPECT_EQ(FirstLineDue(*table, 11), 2);
  EXPECT_EQ(FirstLineDue(*table, 201), kLyricEntries);
}

// Entries 0.. at these times, each with a phrase.
std::unique_ptr<LyricTable> TableOf(const std::vector<std::int32_t>& times) {
  auto table = std::make_unique<LyricTable>();
  std::copy(times.begin(), times.end(), table->time.begin());
  std::fill_n(table->phrase.begin(), times.size(), "p");
  return table;
}

TEST(Marks, TheFirstLineTheDisplayNeverReachesAndEveryLineAfterIt) {
  // . shown, N negative, S same as the line before, B before it, x stopped earlier
  const std::pair<std::vector<std::int32_t>, std::string> rows[] = {
      {{10, 5, 30, 40}, ".Bxx"}, {{0, 10, 10, 20}, "..Sx"}, {{0, 0}, ".S"}, {{-1, 5}, "Nx"},
      {{5, -3, 8}, ".Nx"},       {{0, 1, 2}, "..."},        {{}, ""},
  };
  for (const auto& [times, want] : rows) {
    auto table = TableOf(times);
    const LineMarks marks = MarkLines(*table);
    std::string got;
    for (int i = 0; i <= marks.lines; ++i) got += ".NSBx"[static_cast<int>(marks.Of(i))];
    EXPECT_EQ(got, want + ".") << want;
    double ticks = 0;
    std::int32_t cursor = 0;  // where playing from tick 0 stops
    StepTicks(*table, true, false, 0, ticks, cursor, 1000);
    EXPECT_EQ(std::min<int>(cursor, marks.lines), marks.first) << want << ": the stepping";
  }
}

TEST(PlayFrom, StandsWherePlayingFromTheStartWouldAndRefusesTheSongsEnd) {
  auto table = TableOf({10, 50, 80, 90, 90, 130});  // the display stops at line 4
  // Line and song length: from the beginning, line 1 due at the start, a line
  // never shown, a start past where the display stops, the song's end.
  const std::pair<std::pair<int, double>, PlayFrom> rows[] = {
      {{0, 200}, {false, 0, 0, -1}},  {{2, 200}, {false, 50, 1, 0}},
      {{4, 200}, {false, 60, 2, 1}},  {{5, 200}, {false, 100, kLyricEntries, 3}},
      {{5, 100}, {true, 100, 0, -1}}, {{-1, 200}, {true, 0, 0, -1}},
  };
  for (const auto& [from, want] : rows) {
    const PlayFrom got = DecidePlayFrom(*table, from.first, 30, from.second);
    double ticks = 0;  // the last entry that playing from tick 0 shows before the start
    std::int32_t cursor = 0;
    const int stepped =
        got.refused ? -1 : StepTicks(*table, true, false, 0, ticks, cursor, got.start);
    EXPECT_EQ(std::make_tuple(got.refused, got.start, got.cursor, got.shown, stepped),
              std::make_tuple(want.refused, want.start, want.cursor, want.shown, want.shown))
        << from.first;
  }
}

}  // namespace
}  // namespace velomar
