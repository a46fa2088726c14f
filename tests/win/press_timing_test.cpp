// Presses are stamped at the moment of their key, to the hundredth, and the
// press offset the user keeps moves every later press; word by word, each
// press stamps a word, and the desktop lyrics fill the words at those stamps.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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

// The overlay's letter columns as the screen shows them: 1 where a letter
// pixel has the fill's colour, 2 where one is still white (the unlocked
// backdrop darkens whatever lies beneath).
std::vector<int> FillColumns(HWND overlay) {
  RECT r{};
  GetWindowRect(overlay, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<int> columns(w, 0);
  for (int i = 0; i < w * h; ++i) {
    const auto* p = static_cast<const std::uint8_t*>(bits) + i * 4;  // blue, green, red
    if (p[0] > 230 && p[1] > 170 && p[2] < 130) columns[i % w] |= 1;
    if (p[0] > 230 && p[1] > 230 && p[2] > 230) columns[i % w] |= 2;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return columns;
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
  TypeText(kashi, kashi_ids::kPourInBox, "Kakaka |Zezeze |Fufufu#");
  Click(program, kashi, kashi_ids::kAddButton);  // an empty line, and the phrase comes up
  EXPECT_EQ(Text(kashi, kashi_ids::kWordLabel), "\x81\x75Kakaka\x81\x76 Zezeze Fufufu");
  Click(program, main, main_ids::kPlayButton);
  // Three words, the third pressed again after F6, then F4 ends it.
  const std::pair<long, WPARAM> keys[] = {{0, VK_F5},    {500, VK_F5},  {1000, VK_F5},
                                          {1250, VK_F6}, {1500, VK_F5}, {2000, VK_F4}};
  const Clock::time_point start = Clock::now() + std::chrono::milliseconds(600);
  for (const auto& [at, key] : keys) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(at));
    PostMessageA(GetDlgItem(kashi, kashi_ids::kPhraseBox), WM_KEYDOWN, key, 1);
    if (key != VK_F6) continue;
    program.Flush();
    EXPECT_EQ(Text(kashi, kashi_ids::kWordLabel),
              "Kakaka Zezeze \x81\x75"
              "Fufufu\x81\x76");
  }
  program.Flush();
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Click(program, editor, kashi_edit_ids::kLrcButton);
  AnswerOpenDialog(program, lrc.path, 5000, editor);
  const std::string saved = ReadBytes(lrc.path);
  const std::vector<long> words = LrcTimes(saved, '<');
  ASSERT_EQ(words.size(), 4u) << saved;
  EXPECT_NE(saved.find("Kakaka <"), std::string::npos) << saved;
  const long pressed[] = {0, 500, 1500, 2000};
  for (int i = 1; i < 4; ++i) EXPECT_NEAR((words[i] - words[0]) * 10, pressed[i], 20) << i;

  // Played again on posted ticks: halfway through each word the fill's
  // edge lies in that word, and after the end every letter is sung.
  Click(program, main, main_ids::kStopButton);
  HWND overlay = OpenByMenu(program, main_ids::kMenuOverlay, &OverlayWindow);
  ASSERT_NE(overlay, nullptr);
  Command(program, main, main_ids::kMenuOverlayUnlock);
  Click(program, main, main_ids::kLyricsToggle);
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kPlayButton);
  const LyricTable& table = Lyrics.Table();
  const long line = static_cast<long>(LineHundredths(table.time[1], table.detail[1]));
  const std::vector<WordStamp>& stamps = table.detail[1].words;
  ASSERT_EQ(stamps.size(), 4u);
  program.Tick((line + stamps[3].after) / 10 + 1);
  std::vector<int> sung;
  ASSERT_TRUE(WaitUntil([&] {
    sung = FillColumns(overlay);
    return std::count(sung.begin(), sung.end(), 1) > 0 &&
           std::count(sung.begin(), sung.end(), 2) == 0;
  })) << "all sung";
  // Each word's columns: the runs of letter columns, parted at the two
  // widest gaps (the blanks between the words).
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < static_cast<int>(sung.size()); ++x) {
    if (sung[x] == 0) continue;
    if (runs.empty() || x > runs.back().second + 1) runs.push_back({x, x});
    runs.back().second = x;
  }
  ASSERT_GE(runs.size(), 3u);
  std::vector<std::size_t> parts(runs.size() - 1);
  for (std::size_t i = 0; i < parts.size(); ++i) parts[i] = i;
  std::sort(parts.begin(), parts.end(), [&](std::size_t a, std::size_t b) {
    return runs[a + 1].first - runs[a].second > runs[b + 1].first - runs[b].second;
  });
  std::sort(parts.begin(), parts.begin() + 2);
  const std::pair<int, int> spans[] = {{runs[0].first, runs[parts[0]].second},
                                       {runs[parts[0] + 1].first, runs[parts[1]].second},
                                       {runs[parts[1] + 1].first, runs.back().second}};
  for (int i = 0; i < 3; ++i) {
    Click(program, main, main_ids::kStopButton);
    Click(program, main, main_ids::kPlayButton);
    program.Tick((2 * line + stamps[i].after + stamps[i + 1].after + 10) / 20);
    const auto in = [&](int x) { return x > spans[i].first && x < spans[i].second; };
    int edge = -1, white = -1;
    EXPECT_TRUE(WaitUntil([&] {
      const std::vector<int> c = FillColumns(overlay);
      edge = static_cast<int>(c.rend() -
                              std::find_if(c.rbegin(), c.rend(), [](int v) { return v & 1; })) -
             1;
      white = static_cast<int>(std::find_if(c.begin(), c.end(), [](int v) { return v & 2; }) -
                               c.begin());
      return in(edge) && in(white);
    })) << "word "
        << i << ": sung to " << edge << ", white from " << white;
  }
  Command(program, main, main_ids::kMenuOverlay);
}

}  // namespace
}  // namespace velomar::test
