// A wave song at 50% through the program's own sound path: the clock, the
// presses and the end are in the song's time, and the end leaves the window
// as an MCI song's does.
#include <gtest/gtest.h>

#include <chrono>

#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

using namespace main_ids;

struct Reading {
  double realMs, songMs;
};

// The real time and the song time read together, between two messages.
Reading ReadClocks(Program& program) {
  Reading reading{};
  program.RunOnUiThread([&] {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    reading.realMs = std::chrono::duration<double, std::milli>(now).count();
    reading.songMs = ClockMilliseconds();
  });
  return reading;
}

UINT MenuState(Program& program, int id) {
  return GetMenuState(GetMenu(program.main()), id, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
}

int Status(HWND main) { return std::stoi("0" + Text(main, kStatusLabel)); }

TEST(SlowPlay, AtHalfSpeedTheClockAndThePressesKeepTheSongsTimeToItsEnd) {
  Program program;
  HWND main = program.main();
  Click(program, main, kBrowseButton);
  AnswerOpenDialog(program, MakeWave("slow.wav", 2000));
  Command(program, main, kMenuSpeedHalf);
  EXPECT_EQ(MenuState(program, kMenuSpeedHalf), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(MenuState(program, kMenuSpeedFull), 0u);
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, main, kPlayButton);
  ASSERT_FALSE(MessageBoxOpen(program)) << "the song plays slowed";

  ASSERT_TRUE(WaitUntil([&] { return Status(main) >= 4; }, 5000));
  const Reading first = ReadClocks(program);
  TypeText(kashi, kashi_ids::kPhraseBox, "half");
  Click(program, kashi, kashi_ids::kAddButton);
  const Reading pressed = ReadClocks(program);
  ASSERT_TRUE(WaitUntil([&] { return Status(main) >= 14; }, 5000));
  const Reading later = ReadClocks(program);
  const double rate = (later.songMs - first.songMs) / (later.realMs - first.realMs);
  // The song time follows the sound, which a loaded machine may break up:
  // never faster than half the real time, and not much slower.
  EXPECT_LT(rate, 0.6) << "the song time runs at half the real time";
  EXPECT_GT(rate, 0.3);
  const LyricTable& table = Lyrics.Table();
  const double stamp = table.time[0] * 100.0 + table.detail[0].hundredths * 10.0;
  // Less the hundredths cut off and the tick count's own steps.
  EXPECT_GE(stamp, first.songMs - 30) << "stamped in song time";
  EXPECT_LE(stamp, pressed.songMs);

  ASSERT_TRUE(WaitUntil([&] { return Enabled(main, kPlayButton); }, 10000)) << "no end";
  program.Flush();
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_FALSE(Enabled(main, kStopButton));
  EXPECT_TRUE(Enabled(main, kBrowseButton));
  EXPECT_TRUE(Enabled(main, kPauseButton)) << "the end leaves pause alone";
  EXPECT_GE(Status(main), 18);
  EXPECT_LE(Status(main), 20) << "the clock ends at the song's own length";

  // A MIDI song plays at 100% only.
  Click(program, main, kBrowseButton);
  AnswerOpenDialog(program, MakeMidi("full.mid"));
  EXPECT_EQ(MenuState(program, kMenuSpeedFull), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(MenuState(program, kMenuSpeedHalf), static_cast<UINT>(MF_GRAYED));
}

}  // namespace
}  // namespace velomar::test
