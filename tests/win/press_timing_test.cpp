// Presses are stamped at the moment of their key, to the hundredth, and the
// press offset the user keeps moves every later press; word by word, each
// press stamps a word, and the desktop lyrics fill the words at those stamps.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "forms/overlay.h"
#include "forms/press_offset_form.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

using Clock = std::chrono::steady_clock;

// The times of an LRC's lines (or, with '<', of its words), in hundredths.
std::vector<long> LrcTimes(const std::string& lrc, char open = '[') {
  std::vector<long> times;
  for (std::size_t at = lrc.find(open); at != std::string::npos; at = lrc.find(open, at + 1)) {
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

// The desktop lyrics' line on screen: the last column with a letter pixel
// in the fill's colour, the first with one still white (none: INT_MAX; the
// unlocked backdrop darkens whatever lies beneath), and each letter's columns.
struct Fill {
  int edge = -1, white = INT_MAX;
  std::vector<std::pair<int, int>> letters;
};
Fill ReadFill(HWND overlay) {
  RECT r{};
  GetWindowRect(overlay, &r);
  BITMAPINFOHEADER info{};
  const std::string pixels = ScreenPixels(r, info);
  const int w = info.biWidth, stride = (w * 3 + 3) & ~3;
  std::vector<int> columns(w, 0);
  for (int i = 0; i < w * info.biHeight; ++i) {
    const auto* p = reinterpret_cast<const unsigned char*>(&pixels[i / w * stride + i % w * 3]);
    columns[i % w] |= (p[0] > 230 && p[1] > 170 && p[2] < 130) | (p[0] > 230 && p[2] > 230) << 1;
  }
  Fill fill;
  for (int x = 0; x < w; ++x) {
    if (columns[x] & 1) fill.edge = x;
    if (columns[x] & 2) fill.white = std::min(fill.white, x);
    if (columns[x] == 0) continue;
    if (fill.letters.empty() || x > fill.letters.back().second + 1) fill.letters.push_back({x, x});
    fill.letters.back().second = x;
  }
  return fill;
}

TEST(PressTiming, WordByWordTheLrcKeepsEachPressAndTheDesktopLyricsFillEachWord) {
  const std::string song = MakeWave("words.wav", 8000);
  LyricFileBeside lrc("words", ".lrc");
  Program program;
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  Click(program, kashi, kashi_ids::kWordSwitch);
  TypeText(kashi, kashi_ids::kPourInBox, "W |M |H#");
  Click(program, kashi, kashi_ids::kAddButton);  // an empty line, and the phrase comes up
  EXPECT_EQ(Text(kashi, kashi_ids::kWordLabel), "\x81\x75W\x81\x76 M H");  // 「W」 M H
  Click(program, main, main_ids::kPlayButton);
  // Three words, the third pressed again after F6, then F4 ends it.
  const std::pair<long, WPARAM> keys[] = {{0, VK_F5},    {500, VK_F5},  {1000, VK_F5},
                                          {1250, VK_F6}, {1500, VK_F5}, {2000, VK_F4}};
  const Clock::time_point start = Clock::now() + std::chrono::milliseconds(600);
  for (const auto& [at, key] : keys) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(at));
    PostMessageA(GetDlgItem(kashi, kashi_ids::kPhraseBox), WM_KEYDOWN, key, 1);
  }
  program.Flush();
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Click(program, editor, kashi_edit_ids::kLrcButton);
  AnswerOpenDialog(program, lrc.path, 5000, editor);
  const std::string saved = ReadBytes(lrc.path);
  const std::vector<long> words = LrcTimes(saved, '<');
  ASSERT_EQ(words.size(), 4u) << saved;
  EXPECT_NE(saved.find(">W <"), std::string::npos) << saved;
  const long pressed[] = {0, 500, 1500, 2000};
  for (int i = 1; i < 4; ++i) EXPECT_NEAR((words[i] - words[0]) * 10, pressed[i], 20) << i;

  // Played again on posted ticks: once the end is stamped every letter is
  // sung, and halfway through each word the fill's edge lies in its letter.
  Click(program, main, main_ids::kStopButton);
  HWND overlay = OpenByMenu(program, main_ids::kMenuOverlay, &OverlayWindow);
  Command(program, main, main_ids::kMenuOverlayUnlock);
  Click(program, main, main_ids::kLyricsToggle);
  program.BlockRealTicks(true);
  const long line =
      static_cast<long>(LineHundredths(Lyrics.Table().time[1], Lyrics.Table().detail[1]));
  const std::vector<WordStamp> at = Lyrics.Table().detail[1].words;
  Fill fill, sung;
  for (int i = 3; i >= 0; --i) {
    Click(program, main, main_ids::kStopButton);
    Click(program, main, main_ids::kPlayButton);
    program.Tick(i == 3 ? (line + at[3].after) / 10 + 1
                        : (2 * line + at[i].after + at[i + 1].after + 10) / 20);
    const auto in = [&](int x) { return x > sung.letters[i].first && x < sung.letters[i].second; };
    EXPECT_TRUE(WaitUntil([&] {
      fill = ReadFill(overlay);
      return i == 3 ? fill.edge >= 0 && fill.white == INT_MAX : in(fill.edge) && in(fill.white);
    })) << "word "
        << i << ": sung to " << fill.edge << ", white from " << fill.white;
    if (i == 3) sung = fill;
    ASSERT_EQ(sung.letters.size(), 3u);
  }
  Command(program, main, main_ids::kMenuOverlay);
}

}  // namespace
}  // namespace velomar::test
