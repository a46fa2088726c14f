// The sample song a newcomer starts with: its wave plays with its lyric file
// and every phrase comes up at its tick; the MIDI version opens and plays.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <string>

#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/form_host.h"

namespace velomar::test {
namespace {

std::string Sample(const char* name) {
  return WindowsPath(std::string(VELOMAR_SAMPLES) + "/" + name);
}

struct Phrase {
  int tick;
  const char* text;
};

// The six phrases of samples/kaze.tolvenkari, as the program must show them.
const Phrase kPhrases[] = {
    {20, "\x95\x97\x82\xaa\x90\x81\x82\xad\x81\x40\x8b\x75\x82\xcc\x8f\xe3\x82\xc5"},
    {60,
     "\x8c\x4e\x82\xcc\x89\xcc\x82\xaa\x81\x40\x95\xb7\x82\xb1\x82\xa6\x82\xc4\x82\xad\x82\xe9"},
    {100, "\x90\xaf\x82\xaa\x8c\xf5\x82\xe9\x81\x40\x96\xe9\x82\xcc\x8b\xf3\x82\xc9"},
    {140, "\x8f\xac\x82\xb3\x82\xc8\x90\xba\x81\x40\x8f\x64\x82\xcb\x82\xe6\x82\xa4"},
    {180, "\x83\x89\x83\x89\x83\x89\x81\x40\x96\xbe\x93\xfa\x82\xd6"},
    {220, "\x83\x89\x83\x89\x83\x89\x81\x40\x89\xcc\x82\xa8\x82\xa4"},
};

void OpenSongFile(Program& program, const std::string& path) {
  Click(program, program.main(), main_ids::kBrowseButton);
  AnswerOpenDialog(program, path);
}

TEST(Samples, TheSampleSongPlaysWithEveryPhraseAtItsTick) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, Sample("kaze.wav"));
  ASSERT_EQ(Text(main, main_ids::kFileNameLabel), "kaze.wav");

  HWND list = OpenKashiList(program);
  ASSERT_NE(list, nullptr);
  Click(program, list, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, Sample("kaze.tolvenkari"));
  Click(program, list, kashi_list_ids::kLoadButton);
  ASSERT_TRUE(WaitGone(list));
  program.Flush();

  Click(program, main, main_ids::kLyricsToggle);  // show lyrics
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kPlayButton);
  ASSERT_EQ(Playback.State, PlayState::Playing);
  ASSERT_FALSE(MessageBoxOpen(program));
  int now = 0;
  std::string shown;
  for (const Phrase& phrase : kPhrases) {
    program.Tick(phrase.tick - now);
    EXPECT_EQ(Text(main, main_ids::kLyricLine), shown) << "not yet at tick " << phrase.tick;
    program.Tick();
    now = phrase.tick + 1;
    shown = phrase.text;
    EXPECT_EQ(Text(main, main_ids::kLyricLine), shown) << "at tick " << now;
  }
  program.Tick(30);
  EXPECT_EQ(Text(main, main_ids::kLyricLine), shown) << "the last phrase stays";
  Click(program, main, main_ids::kStopButton);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

TEST(Samples, TheWaveIsLongerThanItsLyricsAndTheMidiPlays) {
  Program program;
  HWND main = program.main();
  OpenSongFile(program, Sample("kaze.wav"));
  // Measured by MCI itself, on a device of the test's own.
  const std::string open = "open \"" + Sample("kaze.wav") + "\" type waveaudio alias sample";
  ASSERT_EQ(mciSendStringA(open.c_str(), nullptr, 0, nullptr), 0u);
  char length[32] = {};
  EXPECT_EQ(mciSendStringA("set sample time format milliseconds", nullptr, 0, nullptr), 0u);
  EXPECT_EQ(mciSendStringA("status sample length", length, sizeof length, nullptr), 0u);
  mciSendStringA("close sample", nullptr, 0, nullptr);
  EXPECT_EQ(std::string(length), "27000") << "the last phrase at 22 s has time to be sung";

  OpenSongFile(program, Sample("kaze.mid"));
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), "kaze.mid");
  Click(program, main, main_ids::kPlayButton);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(Playback.State, PlayState::Playing);
  Click(program, main, main_ids::kStopButton);
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

}  // namespace
}  // namespace velomar::test
