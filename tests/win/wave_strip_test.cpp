// The editor's waveform strip: the song's sound drawn under the lines'
// markers, a dragged marker moving its line, and a MIDI song's note.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "forms/kashi_edit_form.h"
#include "forms/main_window.h"
#include "lyrics/lyric_table.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

constexpr COLORREF kWave = RGB(96, 176, 224);

// How many pixels of column `x` of the strip, as it stands on the screen,
// show the sound.
int WavePixels(HWND strip, int x) {
  HDC dc = GetDC(strip);
  RECT r{};
  GetClientRect(strip, &r);
  int count = 0;
  for (int y = 0; y < r.bottom; ++y) count += GetPixel(dc, x, y) == kWave ? 1 : 0;
  ReleaseDC(strip, dc);
  return count;
}

void Drag(Program& program, HWND strip, int from, int to, int y) {
  PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, y));
  PostMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from + to) / 2, y));
  PostMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, y));
  PostMessageW(strip, WM_LBUTTONUP, 0, MAKELPARAM(to, y));
  program.Flush();
}

TEST(WaveStrip, ShowsTheSoundAndADraggedMarkerMovesItsLine) {
  Program program;
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeWave("strip.wav", 4000));
  EditLyrics([](LyricTable& table) {
    for (int i = 0; i < 3; ++i) {
      table.time[i] = 10 * (i + 1);  // 1 s, 2 s, 3 s
      table.phrase[i] = "la";
    }
  });
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  HWND strip = GetDlgItem(editor, kashi_edit_ids::kWaveStrip);
  ASSERT_NE(strip, nullptr);
  RECT r{};
  GetClientRect(strip, &r);
  EXPECT_GE(r.bottom, 60);
  // A song shorter than the strip's 10 s shows whole, from 0.
  const auto xAt = [&](double ms) { return static_cast<int>(std::lround(ms * r.right / 10000)); };
  // The tone fills the strip up to the song's end, and only that far.
  ASSERT_TRUE(WaitUntil([&] { return WavePixels(strip, xAt(3500)) > 0; }, 10000));
  EXPECT_GT(WavePixels(strip, xAt(500)), 0);
  EXPECT_EQ(WavePixels(strip, xAt(4300)), 0);

  // Line 1's marker, dragged from 2 s to about 2.5 s: one step, undone as one.
  const int to = xAt(2500);
  Drag(program, strip, xAt(2000), to, r.bottom / 2);
  const double ms = 10000.0 * to / r.right;
  const LyricTable& table = Lyrics.Table();
  EXPECT_EQ(table.time[1], static_cast<int>(ms / 100));
  EXPECT_EQ(LineHundredths(table.time[1], table.detail[1]), static_cast<long>(ms / 10));
  EXPECT_EQ(table.time[0], 10);
  EXPECT_EQ(table.time[2], 30);
  Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(table.time[1], 20);
  EXPECT_EQ(LineHundredths(table.time[1], table.detail[1]), 200);

  // A click away from every marker chooses the nearest line.
  PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xAt(2900), 5));
  PostMessageW(strip, WM_LBUTTONUP, 0, MAKELPARAM(xAt(2900), 5));
  program.Flush();
  EXPECT_EQ(SendMessageW(GetDlgItem(editor, kashi_edit_ids::kLineList), LVM_GETNEXTITEM,
                         static_cast<WPARAM>(-1), LVNI_SELECTED),
            2);

  // A MIDI song has no waveform, and says so.
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeMidi("strip.mid"));
  program.Flush();
  wchar_t text[64] = {};
  GetWindowTextW(strip, text, 64);
  EXPECT_STREQ(text, L"\x6ce2\x5f62\x306f\x3042\x308a\x307e\x305b\x3093 (MIDI)");
}

}  // namespace
}  // namespace velomar::test
