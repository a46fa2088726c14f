// The clock and the lyric line tick by tick, and what each MCI notice does,
// with ticks and notices posted so that every step is exact. The song is a
// MIDI file: it opens and plays here but never ends by itself.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

class Clock : public ::testing::Test {
 protected:
  Program program;
  HWND main = program.main();

  void SetUp() override {
    program.BlockRealTicks(true);
    Click(program, main, main_ids::kBrowseButton);
    AnswerOpenDialog(program, MakeMidi("clock.mid"));
    ASSERT_TRUE(Enabled(main, main_ids::kPlayButton));
  }
  void Play() {
    Click(program, main, main_ids::kPlayButton);
    ASSERT_EQ(Playback.State, PlayState::Playing);
  }
  void Entry(int i, int time, const char* phrase) {
    EditLyrics([&](LyricTable& table) {
      table.time[i] = time;
      table.phrase[i] = phrase;
    });
  }
  std::string Line() { return Text(main, main_ids::kLyricLine); }
  std::string Status() { return Text(main, main_ids::kStatusLabel); }
  void ExpectPlayingButtons() {
    EXPECT_FALSE(Enabled(main, main_ids::kPlayButton));
    EXPECT_TRUE(Enabled(main, main_ids::kStopButton));
    EXPECT_FALSE(Enabled(main, main_ids::kBrowseButton));
  }
  void ExpectStoppedButtons() {
    EXPECT_TRUE(Enabled(main, main_ids::kPlayButton));
    EXPECT_FALSE(Enabled(main, main_ids::kStopButton));
    EXPECT_TRUE(Enabled(main, main_ids::kBrowseButton));
  }
  // True when real ticks still reach the window within a few periods.
  bool ClockRuns() {
    program.BlockRealTicks(false);
    const std::string before = Status();
    const bool runs = WaitUntil([&] { return Status() != before; }, 1500);
    program.BlockRealTicks(true);
    return runs;
  }
};

TEST_F(Clock, PhrasesAppearAtTheTickAfterTheirTime) {
  Entry(0, 0, "\x82\xa0");  // あ
  Entry(1, 3, "\x95\x5c");  // 表: a 0x5C trail byte
  Entry(2, 4, "");
  Click(program, main, main_ids::kLyricsToggle);
  Play();
  EXPECT_EQ(Status(), "0");
  program.Tick();
  EXPECT_EQ(Status(), "1");
  EXPECT_EQ(Line(), "\x82\xa0");
  program.Tick(2);
  EXPECT_EQ(Status(), "3");
  EXPECT_EQ(Line(), "\x82\xa0");
  program.Tick();
  EXPECT_EQ(Status(), "4");
  EXPECT_EQ(Line(), "\x95\x5c");
  program.Tick();
  EXPECT_EQ(Line(), "") << "an empty phrase empties the line";
  EXPECT_EQ(Playback.LyricCursor, 3);
  program.Tick(7);
  EXPECT_EQ(Status(), "12");
}

TEST_F(Clock, WithLyricsOffTheClockCountsAndTheLineKeepsItsText) {
  Entry(0, 0, "a");
  Entry(1, 1, "b");
  Click(program, main, main_ids::kLyricsToggle);
  Play();
  program.Tick();
  EXPECT_EQ(Line(), "a");
  Click(program, main, main_ids::kLyricsToggle);  // off
  program.Tick(3);
  EXPECT_EQ(Status(), "4");
  EXPECT_EQ(Line(), "a");
  Click(program, main, main_ids::kLyricsToggle);  // on again: the line catches up at the next tick
  program.Tick();
  EXPECT_EQ(Line(), "b");
  EXPECT_EQ(Playback.LyricCursor, 2);
}

TEST_F(Clock, LyricsTurnedOnMidSongShowWhatTheyWouldHaveShownFromPlay) {
  for (int i = 0; i < 40; ++i) Entry(i, 5 * (i + 1), ("t" + std::to_string(5 * (i + 1))).c_str());
  Play();
  program.Tick(33);
  EXPECT_EQ(Line(), "");
  Click(program, main, main_ids::kLyricsToggle);
  program.Tick();
  EXPECT_EQ(Line(), "t30");
  program.Tick();
  EXPECT_EQ(Line(), "t30");
  program.Tick();
  EXPECT_EQ(Line(), "t35");
  EXPECT_EQ(Status(), "36");
}

TEST_F(Clock, EqualTimesShowTheFirstAndNothingAfter) {
  Entry(0, 1, "first");
  Entry(1, 1, "second");
  Entry(2, 2, "third");
  Click(program, main, main_ids::kLyricsToggle);
  Play();
  program.Tick(5);
  EXPECT_EQ(Line(), "first");
  EXPECT_EQ(Playback.LyricCursor, 1);
}

TEST_F(Clock, AnEmptyTableEmptiesTheLineAtTheFirstTick) {
  Click(program, main, main_ids::kLyricsToggle);
  Play();
  SetWindowTextA(Item(main, main_ids::kLyricLine), "leftover");
  program.Tick();
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(Playback.LyricCursor, 1);
}

TEST_F(Clock, TheCursorStopsAfterTheLastEntry) {
  EditLyrics([](LyricTable& table) {
    for (int i = 0; i < 3001; ++i) table.time[i] = i;
    table.phrase[3000] = "end";
  });
  Click(program, main, main_ids::kLyricsToggle);
  Play();
  program.Tick(3001);
  EXPECT_EQ(Line(), "end");
  EXPECT_EQ(Playback.LyricCursor, 3001);
  program.Tick(5);
  EXPECT_EQ(Status(), "3006");
  EXPECT_EQ(Playback.LyricCursor, 3001);
}

TEST_F(Clock, PlayStopPlayStartsAgainFromOne) {
  Entry(0, 0, "x");
  Click(program, main, main_ids::kLyricsToggle);
  Play();
  program.Tick(4);
  Click(program, main, main_ids::kStopButton);
  ExpectStoppedButtons();
  EXPECT_EQ(Status(), "4") << "stop keeps the last count";
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(Playback.LyricCursor, 0);
  Play();
  ExpectPlayingButtons();
  program.Tick();
  EXPECT_EQ(Status(), "1");
  EXPECT_EQ(Line(), "x");
}

TEST_F(Clock, PauseKeepsTheClockRunningAndPlayRestartsIt) {
  Play();
  program.Tick(3);
  Command(program, main, main_ids::kPauseButton);
  EXPECT_EQ(Playback.State, PlayState::Paused);
  EXPECT_TRUE(Enabled(main, main_ids::kPlayButton));
  EXPECT_TRUE(Enabled(main, main_ids::kStopButton));
  EXPECT_TRUE(Enabled(main, main_ids::kBrowseButton));
  EXPECT_FALSE(Enabled(main, main_ids::kPauseButton));
  program.Tick(2);
  EXPECT_EQ(Status(), "5");
  EXPECT_TRUE(ClockRuns());
  Play();
  program.Tick();
  EXPECT_EQ(Status(), "1");
  EXPECT_TRUE(ClockRuns()) << "still one timer";
}

TEST_F(Clock, WithLoopOffAnEndNoticeStopsEverything) {
  Play();
  program.Tick(3);
  program.Notify(1);
  ExpectStoppedButtons();
  EXPECT_TRUE(Enabled(main, main_ids::kPauseButton)) << "the pause button is left as it was";
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_EQ(Status(), "3");
  EXPECT_FALSE(ClockRuns());
}

TEST_F(Clock, WithLoopOffANoticeOfAnInterruptedPlayChangesNothing) {
  Play();
  Click(program, main, main_ids::kPlayButton);  // disabled: nothing happens
  for (UINT code : {4u, 2u}) {
    program.Notify(code);
    ExpectPlayingButtons();
    EXPECT_EQ(Playback.State, PlayState::Playing);
  }
  EXPECT_TRUE(ClockRuns());
  program.Notify(8);
  ExpectStoppedButtons();
  EXPECT_FALSE(ClockRuns());
}

TEST_F(Clock, WithLoopOnTheEndRestartsAndFailuresAreReported) {
  Entry(0, 0, "again");
  Click(program, main, main_ids::kLyricsToggle);
  Click(program, main, main_ids::kLoopToggle);
  Play();
  program.Tick(6);
  SetWindowTextA(Item(main, main_ids::kLyricLine), "stale");
  program.Notify(1);
  EXPECT_EQ(Line(), "") << "the restart empties the line";
  EXPECT_EQ(Status(), "6");
  program.Tick();
  EXPECT_EQ(Status(), "1");
  EXPECT_EQ(Line(), "again");
  for (UINT code : {2u, 4u}) {
    program.Notify(code);
    ExpectPlayingButtons();
  }
  program.Notify(8);
  MessageBoxSeen box = WaitForMessageBox(program);
  EXPECT_EQ(box.caption, "ERROR");
  EXPECT_EQ(box.text, kLoopFailure);
  EXPECT_EQ(box.owner, main);
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  Answer(box, IDOK);
  ExpectPlayingButtons();
  EXPECT_EQ(Playback.State, PlayState::Playing);
  EXPECT_TRUE(ClockRuns());
}

TEST_F(Clock, ADoublePressWhilePlayingLandsOneTickLater) {
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Play();
  program.Tick(4);
  Click(program, kashi, kashi_ids::kAddButton);
  Click(program, kashi, kashi_ids::kAddButton);
  EXPECT_EQ(Lyrics.Table().time[0], 4);
  EXPECT_EQ(Lyrics.Table().time[1], 5) << "both phrases stay on the display";
  EXPECT_EQ(Text(kashi, kashi_ids::kLastTimeLabel), "5");
  CloseByCaption(program, kashi);
}

// Real ticks and real time: a thread held busy for two seconds and a long
// lyric load under a playing song cost the clock nothing.
TEST(RealClock, KeepsRealTimeThroughABlockedThreadAndALyricLoad) {
  using std::chrono::steady_clock;
  Program program;
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeMidi("real.mid"));
  std::string file;
  for (int i = 0; i < 3001; ++i)
    file += std::to_string(i) + ",phrase " + std::to_string(i) + "\r\n";
  const std::string lyrics = ScratchDir() + "\\real.tolvenkari";
  ASSERT_TRUE(WriteBytes(lyrics, file));
  const steady_clock::time_point played = steady_clock::now();
  Click(program, main, main_ids::kPlayButton);
  auto expectTrue = [&](const char* after) {
    program.Flush();
    const long long real =
        std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - played)
            .count() /
        100;
    const long long shown = std::stoll(Text(main, main_ids::kStatusLabel));
    EXPECT_LE(shown, real + 1) << after;
    EXPECT_GE(shown, real - 2) << after;
  };

  std::atomic<bool> held{false};
  program.OnRealTick([&] {
    if (!held.exchange(true)) Sleep(2000);
  });
  ASSERT_TRUE(WaitUntil([&] { return held.load(); }));
  ASSERT_TRUE(
      WaitUntil([&] { return std::stoll(Text(main, main_ids::kStatusLabel)) >= 22; }, 4000));
  program.OnRealTick(nullptr);
  expectTrue("a blocked thread");

  ASSERT_TRUE(WaitGone(LoadInList(program, lyrics)));
  const std::string before = Text(main, main_ids::kStatusLabel);
  ASSERT_TRUE(WaitUntil([&] { return Text(main, main_ids::kStatusLabel) != before; }));
  expectTrue("a load of 3001 records");
  EXPECT_EQ(Phrase(3000), "phrase 3000");
}

// The device goes away under a paused song: the user opens a file that MCI
// cannot open, which closes the old device first.
void LoseTheDevice(Program& program, HWND main) {
  Command(program, main, main_ids::kPauseButton);
  ASSERT_TRUE(Enabled(main, main_ids::kBrowseButton));
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeBrokenSong("gone.wav"));
  MessageBoxSeen box = WaitForMessageBox(program);
  EXPECT_EQ(box.text, kOpenError);
  Answer(box, IDOK);
  ASSERT_EQ(Playback.DeviceOpen, 0);
}

TEST_F(Clock, AFailedLoopRestartLeavesTheWindowAsAfterAnEnd) {
  Click(program, main, main_ids::kLoopToggle);
  Play();
  program.Tick(2);
  LoseTheDevice(program, main);
  program.Notify(1);
  MessageBoxSeen box = WaitForMessageBox(program);
  EXPECT_EQ(box.text, kPlayError);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  Answer(box, IDOK);
  program.Flush();
  ExpectStoppedButtons();
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_FALSE(ClockRuns());
}

TEST_F(Clock, AFailedStopReportsAndLeavesStateAndClock) {
  Play();
  program.Tick(2);
  LoseTheDevice(program, main);
  const PlayState before = Playback.State;
  const bool clockRan = ClockRuns();
  Click(program, main, main_ids::kStopButton);
  MessageBoxSeen box = WaitForMessageBox(program);
  EXPECT_EQ(box.text, kStopError);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  Answer(box, IDOK);
  ExpectStoppedButtons();
  EXPECT_EQ(Playback.State, before);
  EXPECT_EQ(ClockRuns(), clockRan);
}

}  // namespace
}  // namespace velomar::test
