// The player's decisions, row by row: buttons after each command, what each
// MCI notice does, and what each clock tick shows.
#include "playback/playback_rules.h"

#include <gtest/gtest.h>

#include <memory>

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
    return StepTicks(*table, lyricsOn, false, ticks, cursor, ticks + 1.0);
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
    double from;
    std::int32_t cursor;
    double to;
    int shown;
    std::int32_t cursorAfter;
  };
  const Row rows[] = {
      {"a jump of 12 ticks over 3 entries", true, false, 4, 0, 16, 2, 3},
      {"a jump that reaches no entry", true, false, 6, 1, 10, -1, 1},
      {"a jump whose last value is an entry's time", true, false, 6, 1, 11, 1, 2},
      {"a jump across the end marker", true, false, 190, 37, 260, 39, 40},
      {"past the end marker nothing more", true, false, 260, 40, 300, -1, 40},
      {"lyrics off: the cursor waits", false, false, 0, 0, 33, -1, 0},
      {"turned on 33 ticks after Play", true, true, 33, 0, 34, 5, 6},
      {"the third tick after that", true, false, 35, 6, 36, 6, 7},
      {"a table loaded mid-song", true, true, 100, 2, 101, 19, 20},
      {"catch-up with lyrics off does nothing", false, true, 33, 2, 34, -1, 2},
  };
  for (const Row& r : rows) {
    double ticks = r.from;
    std::int32_t cursor = r.cursor;
    EXPECT_EQ(StepTicks(*table, r.lyricsOn, r.catchUp, ticks, cursor, r.to), r.shown) << r.what;
    EXPECT_EQ(cursor, r.cursorAfter) << r.what;
    EXPECT_EQ(ticks, r.to) << r.what;
  }
}

TEST(Clock, ADoubleTapWhilePlayingLandsOneTickLater) {
  auto table = std::make_unique<LyricTable>();
  BeginAdding(*table);
  EXPECT_EQ(TicksForAdd(*table, 7, true), 7) << "the first add of a session";
  ASSERT_TRUE(AddPhrase(*table, "a", 7));
  struct Row {
    const char* what;
    double clock;
    bool running;
    double stored;
  };
  const Row rows[] = {
      {"same tick while playing", 7, true, 8},
      {"same tick, clock stopped", 7, false, 7},
      {"a later tick", 9, true, 9},
      {"below, after Play again", 2, true, 2},
      {"same whole tick, part of a tick apart", 7.6, true, 8},
  };
  for (const Row& r : rows) EXPECT_EQ(TicksForAdd(*table, r.clock, r.running), r.stored) << r.what;
}

}  // namespace
}  // namespace velomar
