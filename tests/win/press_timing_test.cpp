// Presses are stamped at the moment of their key, to the hundredth, and the
// press offset the user keeps moves every later press.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "forms/press_offset_form.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

using Clock = std::chrono::steady_clock;

// The times of an LRC's lines, in hundredths.
std::vector<long> LrcTimes(const std::string& lrc) {
  std::vector<long> times;
  for (std::size_t at = lrc.find('['); at != std::string::npos; at = lrc.find('[', at + 1)) {
    const long minutes = std::strtol(lrc.c_str() + at + 1, nullptr, 10);
    const long seconds = std::strtol(lrc.c_str() + at + 4, nullptr, 10);
    const long hundredths = std::strtol(lrc.c_str() + at + 7, nullptr, 10);
    times.push_back((minutes * 60 + seconds) * 100 + hundredths);
  }
  return times;
}

HWND OpenOffsetForm(Program& program) {
  return OpenByMenu(program, main_ids::kMenuPressOffset,
                    [] { return FormWindow(Form::PressOffset); });
}

TEST(PressTiming, PressesLandAtTheirKeysInTheLrcAndTheOffsetMovesTheNextOne) {
  const std::string song = MakeWave("presses.wav", 8000);
  LyricFileBeside lrc("presses", ".lrc");
  {
    Program program;
    HWND main = program.main();
    Click(program, main, main_ids::kBrowseButton);
    AnswerOpenDialog(program, song);
    HWND kashi = OpenKashi(program);
    ASSERT_NE(kashi, nullptr);
    Click(program, main, main_ids::kPlayButton);
    // Keys posted at known moments while the song really plays.
    const int gaps[] = {370, 370, 530, 250};
    std::vector<long> pressed;
    const Clock::time_point start = Clock::now() + std::chrono::milliseconds(600);
    long at = 0;
    for (int i = 0; i <= 4; ++i) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(at));
      SetWindowTextA(GetDlgItem(kashi, kashi_ids::kPhraseBox), ("p" + std::to_string(i)).c_str());
      PostMessageA(GetDlgItem(kashi, kashi_ids::kPhraseBox), WM_KEYDOWN, VK_F5, 1);
      pressed.push_back(at);
      if (i < 4) at += gaps[i];
    }
    program.Flush();
    HWND editor = OpenEditor(program);
    ASSERT_NE(editor, nullptr);
    Click(program, editor, kashi_edit_ids::kLrcButton);
    AnswerOpenDialog(program, lrc.path, 5000, editor);
    const std::vector<long> times = LrcTimes(ReadBytes(lrc.path));
    ASSERT_EQ(times.size(), 5u) << ReadBytes(lrc.path);
    for (int i = 1; i < 5; ++i) {
      EXPECT_NEAR((times[i] - times[0]) * 10, pressed[i] - pressed[0], 20) << "press " << i;
    }
  }

  // 250 ms typed into the form: after 20 posted ticks a press is stamped
  // 2.00 s - 0.25 s, and the value is there at the next start.
  {
    Program program;
    HWND form = OpenOffsetForm(program);
    ASSERT_NE(form, nullptr);
    TypeText(form, press_offset_ids::kOffsetBox, "abc");
    Click(program, form, press_offset_ids::kOkButton);
    const MessageBoxSeen bad = WaitForMessageBox(program);
    EXPECT_NE(bad.text.find("-1000"), std::string::npos);
    Answer(bad, IDOK);
    ASSERT_TRUE(IsWindow(form)) << "bad text keeps the form open";
    TypeText(form, press_offset_ids::kOffsetBox, "250");
    Click(program, form, press_offset_ids::kOkButton);
    ASSERT_TRUE(WaitGone(form));

    HWND main = program.main();
    Click(program, main, main_ids::kBrowseButton);
    AnswerOpenDialog(program, song);
    HWND kashi = OpenKashi(program);
    program.BlockRealTicks(true);
    Click(program, main, main_ids::kPlayButton);
    program.Tick(20);
    TypeText(kashi, kashi_ids::kPhraseBox, "late");
    Click(program, kashi, kashi_ids::kAddButton);
    EXPECT_EQ(Lyrics.Table().time[0], 17);
    EXPECT_EQ(Lyrics.Table().detail[0].hundredths, 5);
  }
  Program again;
  HWND form = OpenOffsetForm(again);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form, press_offset_ids::kOffsetBox), "250");
  TypeText(form, press_offset_ids::kOffsetBox, "0");
  Click(again, form, press_offset_ids::kOkButton);
  ASSERT_TRUE(WaitGone(form));
}

}  // namespace
}  // namespace velomar::test
