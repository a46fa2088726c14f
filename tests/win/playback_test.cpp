// Songs through the system's MCI drivers under Wine, the clock, the lyric
// line and every error box of the player.
#include "playback/playback.h"

#include <gtest/gtest.h>

#include "forms/main_window.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

struct Buttons {
  bool play, stop, browse, pause;
};

Buttons Read(HWND main) {
  return {Enabled(main, main_ids::kPlayButton), Enabled(main, main_ids::kStopButton),
          Enabled(main, main_ids::kBrowseButton), Enabled(main, main_ids::kPauseButton)};
}

void ExpectButtons(HWND main, Buttons want) {
  const Buttons got = Read(main);
  EXPECT_EQ(got.play, want.play) << "play";
  EXPECT_EQ(got.stop, want.stop) << "stop";
  EXPECT_EQ(got.browse, want.browse) << "browse";
  EXPECT_EQ(got.pause, want.pause) << "pause";
}

const Buttons kPlaying{false, true, false, true};
const Buttons kStopped{true, false, true, false};

// Chooses a song in the open dialog, as the user does.
void OpenSongFile(Program& program, const std::string& path) {
  Click(program, program.main(), main_ids::kBrowseButton);
  EXPECT_EQ(AnswerOpenDialog(program, path), kSongDialogTitle);
}

void ExpectErrorBox(Program& program, const char* text, const char* caption = "Error") {
  MessageBoxSeen box = WaitForMessageBox(program);
  ASSERT_NE(box.window, nullptr) << "no box";
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, caption);
  EXPECT_EQ(box.owner, program.main());
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  Answer(box, IDOK);
}

int StatusCount(HWND main) { return std::stoi("0" + Text(main, main_ids::kStatusLabel)); }

TEST(Playback, CancellingTheOpenDialogChangesNothing) {
  Program program;
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
  // The one filter the dialog offers.
  HWND types = GetDlgItem(dialog, 1136);
  char filter[256] = {};
  SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
  EXPECT_STREQ(filter, kSongFilter);
  EXPECT_EQ(SendMessageA(types, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(AnswerOpenDialog(program, ""), kSongDialogTitle);
  EXPECT_EQ(Text(main, main_ids::kPathLine), "");
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), kFileNamePlaceholder);
  ExpectButtons(main, {false, false, true, false});
}

TEST(Playback, OpeningASongShowsItsPathAndNameAndEnablesPlay) {
  Program program;
  HWND main = program.main();
  const std::string song = MakeWave("first song.wav", 1000);
  SetWindowTextA(Item(main, main_ids::kLyricLine), "old phrase");
  OpenSongFile(program, song);
  EXPECT_EQ(Text(main, main_ids::kPathLine), song);
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), "first song.wav");
  EXPECT_EQ(Text(main, main_ids::kLyricLine), "");
  ExpectButtons(main, {true, false, true, false});
  EXPECT_EQ(Playback.SongPath, song);
}

TEST(Playback, AFileMciCannotOpenShowsTheOpenErrorAndKeepsTheName) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, MakeWave("good.wav", 1000));
  const std::string broken = MakeBrokenSong("broken.wav");
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, broken);
  ExpectErrorBox(program, kOpenError);
  EXPECT_EQ(Text(main, main_ids::kPathLine), broken);
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), "good.wav");
  EXPECT_EQ(Playback.DeviceOpen, 0);
  // The old device is closed: Play now fails, and the window stays usable.
  Click(program, main, main_ids::kPlayButton);
  ExpectErrorBox(program, kPlayError);
  ExpectButtons(main, kStopped);
  EXPECT_EQ(Playback.State, PlayState::Idle);
}

TEST(Playback, AWaveSongPlaysToItsEndAndTheClockFreezes) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, MakeWave("short.wav", 1500));
  Click(program, main, main_ids::kPlayButton);
  ExpectButtons(main, kPlaying);
  EXPECT_EQ(Playback.State, PlayState::Playing);
  ASSERT_TRUE(WaitUntil([&] { return StatusCount(main) >= 3; }, 5000)) << "the clock counts";
  ASSERT_TRUE(WaitUntil([&] { return Enabled(main, main_ids::kPlayButton); }, 10000))
      << "no end notice";
  program.Flush();
  ExpectButtons(main, {true, false, true, true});  // the end leaves pause alone
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  const std::string frozen = Text(main, main_ids::kStatusLabel);
  Sleep(350);  // three periods of the clock
  program.Flush();
  EXPECT_EQ(Text(main, main_ids::kStatusLabel), frozen);
  EXPECT_GE(StatusCount(main), 13);
}

TEST(Playback, AnMp3SongPlaysToItsEnd) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, Mp3Song());
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), "tone2s.mp3");
  Click(program, main, main_ids::kPlayButton);
  ExpectButtons(main, kPlaying);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(main, main_ids::kPlayButton); }, 10000))
      << "no end notice";
  program.Flush();  // the end notice's handler may still be running
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_GE(StatusCount(main), 15);
}

TEST(Playback, WithLoopOnTheSongStartsAgainAndCountsFromOne) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, MakeWave("loop.wav", 800));
  Click(program, main, main_ids::kLoopToggle);
  Click(program, main, main_ids::kPlayButton);
  int highest = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const int now = StatusCount(main);
        if (now > highest) highest = now;
        return highest >= 6 && now < highest;
      },
      10000))
      << "the clock did not start again";
  ExpectButtons(main, kPlaying);
  Click(program, main, main_ids::kLoopToggle);  // loop off: the next end stops
  ASSERT_TRUE(WaitUntil([&] { return Enabled(main, main_ids::kPlayButton); }, 10000));
  program.Flush();
  EXPECT_EQ(Playback.State, PlayState::Stopped);
}

TEST(Playback, AMidiSongOpensPlaysAndStops) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, MakeMidi("tune.mid"));
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), "tune.mid");
  Click(program, main, main_ids::kPlayButton);
  ExpectButtons(main, kPlaying);
  ASSERT_TRUE(WaitUntil([&] { return StatusCount(main) >= 2; }, 5000));
  Click(program, main, main_ids::kStopButton);
  EXPECT_FALSE(MessageBoxOpen(program));
  ExpectButtons(main, kStopped);
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_EQ(Playback.LyricCursor, 0);
}

TEST(Playback, ClosingTheWindowWhileASongPlaysEndsWithCodeZero) {
  Program program;
  OpenSongFile(program, MakeWave("long.wav", 5000));
  Click(program, program.main(), main_ids::kPlayButton);
  ASSERT_TRUE(WaitUntil([&] { return StatusCount(program.main()) >= 1; }));
  EXPECT_EQ(program.CloseAndWait(), 0);
  EXPECT_FALSE(MessageBoxOpen(program));
}

}  // namespace
}  // namespace velomar::test
