// The CPU time of playback with lyrics on, with the desktop lyrics filling,
// at 50% speed through the program's own path and of an empty layered window, each against the bare
// program playing the same song in the same round; then the clock of one long playback.
#include "bench/win/playback_bench.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win/figures.h"
#include "forms/main_window.h"
#include "lyrics/lyric_table.h"
#include "tests/win/media.h"
#include "ui/controls.h"
#include "ui/owned.h"

using namespace velomar;
using namespace velomar::test;

namespace {

// The CPU time the bare program spends playing `song` through MCI for `ms`
// (it measures it itself and ends with it as its exit code), per minute.
double BareCpuPerMinute(const std::string& song, int ms) {
  const std::string exe = WindowsPath(VELOMAR_BARE_PATH);
  const long code = RunToEnd(exe, "\"" + exe + "\" play \"" + song + "\" " + std::to_string(ms),
                             static_cast<DWORD>(ms) + 30000);
  return code < 0 ? 0.0 : static_cast<double>(code) * 60000.0 / ms;
}

// The program's CPU ms per minute playing its song from the start for `ms`,
// with the test's hook off its messages meanwhile, as a user's program runs.
double UnwatchedCpuPerMinute(Program& program, int ms) {
  Click(program, program.main(), main_ids::kPlayButton);
  program.Watch(false);
  const double cpu0 = CpuMs();
  const double wall0 = NowMs();
  Sleep(static_cast<DWORD>(ms));
  const double cpu = CpuMs() - cpu0;
  const double wall = NowMs() - wall0;
  program.Watch(true);
  Click(program, program.main(), main_ids::kStopButton);
  return cpu * 60000.0 / wall;
}

// One phrase a tick, so that every tick changes the lyric line.
void PhraseEveryTick(Program& program) {
  program.RunOnUiThread([] {
    EditLyrics([](LyricTable& table) {
      for (int i = 0; i < kLyricEntries; ++i) {
        table.time[i] = i;
        table.phrase[i] = "\x89\xcc\x8e\x8c";
      }
    });
  });
}

// Every line sung word by word, so that the desktop lyrics' fill redraws
// about 30 times a second throughout.
void WordsFilling(Program& program) {
  program.RunOnUiThread([] {
    EditLyrics([](LyricTable& table) {
      for (int i = 0; i < kLyricEntries; ++i) {
        table.time[i] = 20 * i;
        table.phrase[i] = "\x89\xcc\x8e\x8c\x82\xf0\x89\xcc\x82\xa4";  // 歌詞を歌う
        // In the UTF-8 the lyrics hold: 歌詞, を, 歌, う, and the end.
        table.detail[i].words = {{0, 0}, {6, 50}, {9, 100}, {12, 150}, {15, 190}};
      }
    });
  });
}

// A layered window of 64 x 72 pixels with nothing in it, shown.
class EmptyLayeredWindow {
 public:
  EmptyLayeredWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "VelomarBenchLayered";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(
        WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
        wc.lpszClassName, "", WS_POPUP, 0, 0, 64, 72, nullptr, nullptr, nullptr, nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), 64, -72, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = BitmapOwner(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_ = MemoryDcOwner(CreateCompatibleDC(nullptr));
    SelectObject(dc_.get(), bitmap_.get());
    update_.cbSize = sizeof update_;
    update_.hdcSrc = dc_.get();
    update_.pptSrc = &from_;
    update_.pblend = &blend_;
    update_.dwFlags = ULW_ALPHA;
    update_.psize = &size_;
    UpdateLayeredWindowIndirect(window_, &update_);
    update_.psize = nullptr;
    ShowWindow(window_, SW_SHOWNOACTIVATE);
  }
  ~EmptyLayeredWindow() { DestroyWindow(window_); }
  EmptyLayeredWindow(const EmptyLayeredWindow&) = delete;
  EmptyLayeredWindow& operator=(const EmptyLayeredWindow&) = delete;

  // Hands the window over on each tick of a timer for `ms`; CPU ms per minute.
  double CpuPerMinute(int ms) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 33, nullptr);
    const double cpu0 = CpuMs();
    const double wall0 = NowMs();
    MSG msg;
    while (NowMs() - wall0 < ms && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER) UpdateLayeredWindowIndirect(window_, &update_);
      DispatchMessageA(&msg);
    }
    const double cpu = CpuMs() - cpu0;
    const double wall = NowMs() - wall0;
    KillTimer(nullptr, timer);
    return cpu * 60000.0 / wall;
  }

 private:
  HWND window_ = nullptr;
  // Declared before the device context, so that the context goes first and
  // lets the bitmap go.
  BitmapOwner bitmap_;
  MemoryDcOwner dc_;
  POINT from_{0, 0};
  SIZE size_{64, 72};
  BLENDFUNCTION blend_{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UPDATELAYEREDWINDOWINFO update_{};
};

// What Wine itself spends on the least a fill can do: an empty layered
// window handed over 30 times a second, as the fill does, for `ms`. The
// window lives only as long: a window of a thread that takes no messages
// could hold up whatever sends it one.
double EmptyLayeredCpuPerMinute(int ms) {
  EmptyLayeredWindow window;
  return window.CpuPerMinute(ms);
}

// The song played once more for `seconds` for the clock, every tick seen.
void ClockFigures(Program& program, int seconds) {
  HWND main = program.main();
  std::vector<double> ticks;
  ticks.reserve(static_cast<size_t>(seconds) * 12);
  // A third of the way in, the program's thread is held for two seconds,
  // as a long load or a slow disk would hold it.
  const size_t blockAt = static_cast<size_t>(seconds) * 10 / 3;
  program.OnRealTick([&] {
    ticks.push_back(NowMs());
    if (ticks.size() == blockAt) Sleep(2000);
  });
  const double wall0 = NowMs();
  Click(program, main, main_ids::kPlayButton);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  program.OnRealTick(nullptr);
  program.Flush();
  const double wall = NowMs() - wall0;
  const double shown = std::atof(WindowText(GetDlgItem(main, main_ids::kStatusLabel)).c_str());
  Click(program, main, main_ids::kStopButton);
  Row("clock error ticks, 2 s blocked in playback", std::abs(shown - wall / 100.0), 0.0);
  if (ticks.size() < 2) return;
  // The gap of the blocked thread is not the timer's own.
  double worst = 0, sum = 0;
  size_t gaps = 0;
  for (size_t i = 1; i < ticks.size(); ++i) {
    if (i == blockAt) continue;
    worst = std::max(worst, ticks[i] - ticks[i - 1]);
    sum += ticks[i] - ticks[i - 1];
    ++gaps;
  }
  Row("tick mean period ms", sum / static_cast<double>(gaps), 100.0);
  Row("tick worst gap ms", worst, 100.0);
}

}  // namespace

void PlaybackFigures(Program& program, int seconds) {
  // Rounds of about 5 s each, at least three and at most twelve of them.
  const int rounds = std::clamp(seconds / 5, 3, 12);
  const int runMs = seconds * 1000 / rounds;
  HWND main = program.main();
  const std::string song = MakeWave("minute.wav", (seconds + 5) * 1000);
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  Click(program, main, main_ids::kLyricsToggle);
  // Each round: the bare program, then the three figures, and the bare
  // program again, which the next round begins with; each figure is taken
  // against the mean of the bare runs on either side of it.
  Pairs lyricsOn, filling, slowed, empty;
  double bareBefore = BareCpuPerMinute(song, runMs);
  for (int round = 0; round < rounds; ++round) {
    PhraseEveryTick(program);
    const double on = UnwatchedCpuPerMinute(program, runMs);
    WordsFilling(program);
    Command(program, main, main_ids::kMenuOverlay);  // 設定 → デスクトップ歌詞
    const double fill = UnwatchedCpuPerMinute(program, runMs);
    Command(program, main, main_ids::kMenuOverlay);
    PhraseEveryTick(program);
    Command(program, main, main_ids::kMenuSpeedHalf);  // 設定 → 再生速度 → 50%
    const double slow = UnwatchedCpuPerMinute(program, runMs);
    Command(program, main, main_ids::kMenuSpeedFull);
    const double layered = EmptyLayeredCpuPerMinute(runMs);
    const double bareAfter = BareCpuPerMinute(song, runMs);
    const double bare = bareBefore > 0 && bareAfter > 0 ? (bareBefore + bareAfter) / 2 : 0;
    lyricsOn.Add(on, bare);
    filling.Add(fill, bare);
    slowed.Add(slow, bare);
    empty.Add(layered, bare);
    bareBefore = bareAfter;
  }
  lyricsOn.Print("playback CPU ms per minute, lyrics on / bare MCI playback");
  filling.Print("playback CPU ms per minute, desktop lyrics filling / bare MCI playback");
  slowed.Print("playback CPU ms per minute, lyrics on at 50% speed / bare MCI playback");
  empty.Print(
      "CPU ms per minute, an empty 64x72 layered window handed over 30 times a second / bare "
      "MCI playback");
  PhraseEveryTick(program);
  ClockFigures(program, seconds);
}
