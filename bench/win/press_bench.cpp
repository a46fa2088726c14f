// Keys posted at known moments while a wave song really plays, through the
// timing window's F5 as the keyboard sends it, each entry's stamp against
// the clock at the moment of its key; then an mp3 played for long, its
// device's own position read every second beside the clock.
#include "bench/win/press_bench.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/win/figures.h"
#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "lyrics/lyric_table.h"
#include "playback/playback.h"
#include "system/late_dll.h"
#include "tests/win/media.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

using namespace velomar;
using namespace velomar::test;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLateMs = 300;

// A press: the phrase it registers and the clock, in ms, at its key.
struct Press {
  std::string phrase;
  double atKey;
};

// Where the program's clock counts from in the play under way.
std::int64_t ClockStart(Program& program) {
  std::int64_t start = 0;
  program.RunOnUiThread([&] { start = Playback.ClockStart; });
  return start;
}

// Types the phrase and sends F5 to the phrase box as the keyboard does;
// the clock at that moment as the program reads it between its ticks, from
// the same monotonic clock.
double KeyNow(HWND phraseBox, const std::string& phrase, std::int64_t clockStart) {
  SetWindowTextA(phraseBox, phrase.c_str());
  const double at = static_cast<double>(MonotonicMicroseconds() - clockStart) / 1000.0;
  PostMessageA(phraseBox, WM_KEYDOWN, VK_F5, 1);
  return at;
}

// Twenty keys from this thread, 250 to 540 ms apart, so that they fall
// anywhere within the clock's ticks and the program may be busy with one.
std::vector<Press> KeysAtKnownMoments(HWND phraseBox, std::int64_t clockStart) {
  std::vector<Press> presses;
  const Clock::time_point start = Clock::now() + std::chrono::milliseconds(600);
  long at = 0;
  for (int i = 0; i < 20; ++i) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(at));
    const std::string phrase = "key" + std::to_string(i);
    presses.push_back({phrase, KeyNow(phraseBox, phrase, clockStart)});
    at += 250 + (i * 173) % 290;
  }
  return presses;
}

// Keys posted on the program's own thread, which is then held for 300 ms
// before it may take them, as a long load or a slow disk would hold it.
// Each comes well after the key before it: a press in the same tick as the
// one before would be moved to the next tick on purpose.
std::vector<Press> KeysHandledLate(Program& program, HWND phraseBox, std::int64_t clockStart) {
  std::vector<Press> presses;
  for (int i = 0; i < 8; ++i) {
    Sleep(static_cast<DWORD>(200 + (i * 71) % 150));
    const std::string phrase = "late" + std::to_string(i);
    program.RunOnUiThread([&] {
      presses.push_back({phrase, KeyNow(phraseBox, phrase, clockStart)});
      Sleep(kLateMs);
    });
  }
  return presses;
}

// Stamp minus the clock at the key, in ms, of each press that landed in
// entry `first` on (the stamp as the line keeps it, in hundredths).
std::vector<double> Errors(Program& program, const std::vector<Press>& presses, size_t first) {
  std::vector<double> errors;
  program.RunOnUiThread([&] {
    const LyricTable& table = Lyrics.Table();
    for (size_t i = 0; i < presses.size(); ++i) {
      const size_t entry = first + i;
      if (table.phrase[entry] != presses[i].phrase) continue;
      const double stamp =
          static_cast<double>(LineHundredths(table.time[entry], table.detail[entry])) * 10.0;
      errors.push_back(stamp - presses[i].atKey);
    }
  });
  return errors;
}

double MeanAbs(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += std::abs(x);
  return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
}

double WorstAbs(const std::vector<double>& v) {
  double worst = 0;
  for (double x : v) worst = std::max(worst, std::abs(x));
  return worst;
}

void NoteErrors(const char* what, const std::vector<double>& errors, size_t pressed) {
  std::printf("#   %s: %zu of %zu presses landed, stamp - key from %.1f to %.1f ms\n", what,
              errors.size(), pressed,
              errors.empty() ? 0.0 : *std::min_element(errors.begin(), errors.end()),
              errors.empty() ? 0.0 : *std::max_element(errors.begin(), errors.end()));
}

void PrintStampRows(const std::vector<double>& atOnce, size_t pressed,
                    const std::vector<double>& late, size_t pressedLate) {
  Row("press stamp mean |error| / 5 ms bound, keys at known moments ms", MeanAbs(atOnce), 5.0);
  Row("press stamp worst |error| / one hundredth, keys at known moments ms", WorstAbs(atOnce),
      10.0);
  NoteErrors("keys at known moments", atOnce, pressed);
  std::printf(
      "#   a line keeps hundredths, cut down: that alone puts a stamp 0 to 9.99 ms early\n");
  Row("press stamp worst |error| / 10 ms bound, keys handled 300 ms late ms", WorstAbs(late), 10.0);
  NoteErrors("keys handled 300 ms late", late, pressedLate);
}

// Presses in the timing window while a wave song plays, taken at once and
// taken late.
void StampFigures(Program& program) {
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeWave("presses.wav", 30000));
  Command(program, main, main_ids::kMenuKashi);
  WaitUntil([&] { return KashiWindow() != nullptr && IsWindowVisible(KashiWindow()); });
  HWND kashi = KashiWindow();
  HWND box = GetDlgItem(kashi, kashi_ids::kPhraseBox);
  Click(program, main, main_ids::kPlayButton);
  const std::int64_t clockStart = ClockStart(program);
  const std::vector<Press> atOnce = KeysAtKnownMoments(box, clockStart);
  const std::vector<Press> late = KeysHandledLate(program, box, clockStart);
  const std::vector<double> atOnceErrors = Errors(program, atOnce, 0);
  const std::vector<double> lateErrors = Errors(program, late, atOnce.size());
  Click(program, main, main_ids::kStopButton);
  PostMessageA(kashi, WM_CLOSE, 0, 0);
  WaitGone(kashi);
  // The presses are not to be saved: the program closes without asking.
  program.RunOnUiThread([] { EditLyrics([](LyricTable&) {}); });
  PrintStampRows(atOnceErrors, atOnce.size(), lateErrors, late.size());
}

// The program's clock and its device's position, both in ms, read together
// on its thread (the clock halfway through the device's answer).
struct Reading {
  double clock = 0;
  double device = 0;
};

bool ReadDevice(Program& program, Reading& reading) {
  bool read = false;
  program.RunOnUiThread([&] {
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    const double before = ClockMilliseconds();
    read = late::mciSendCommandA(Playback.DeviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                                 reinterpret_cast<DWORD_PTR>(&status)) == 0;
    reading.clock = (before + ClockMilliseconds()) / 2;
    reading.device = static_cast<double>(status.dwReturn);
  });
  return read;
}

// The slope of clock - device over the clock, in ms per minute.
double DriftPerMinute(const std::vector<Reading>& readings) {
  double meanX = 0, meanY = 0;
  for (const Reading& r : readings) {
    meanX += r.clock;
    meanY += r.clock - r.device;
  }
  meanX /= static_cast<double>(readings.size());
  meanY /= static_cast<double>(readings.size());
  double xy = 0, xx = 0;
  for (const Reading& r : readings) {
    xy += (r.clock - meanX) * (r.clock - r.device - meanY);
    xx += (r.clock - meanX) * (r.clock - meanX);
  }
  return xx > 0 ? xy / xx * 60000.0 : 0.0;
}

// Readings once a second of `seconds` of the open song's play.
std::vector<Reading> PlayAndRead(Program& program, int seconds) {
  HWND main = program.main();
  std::vector<Reading> readings;
  Click(program, main, main_ids::kPlayButton);
  const Clock::time_point start = Clock::now();
  for (int s = 1; s <= seconds; ++s) {
    std::this_thread::sleep_until(start + std::chrono::seconds(s));
    Reading reading;
    if (ReadDevice(program, reading)) readings.push_back(reading);
  }
  Click(program, main, main_ids::kStopButton);
  return readings;
}

// Under Wine the wave device tells what it has written, in steps of about
// a third of a second; the mp3 device tells its own position in ms.
void Mp3ClockFigures(Program& program, int seconds, const std::string& song) {
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  if (MessageBoxOpen(program)) {
    Answer(WaitForMessageBox(program), IDOK);
    std::printf("# the mp3 song did not open: the clock against its device is left out\n");
    return;
  }
  const std::vector<Reading> readings = PlayAndRead(program, seconds);
  if (readings.size() < 2) {
    std::printf("# the mp3 device told no position: the clock against it is left out\n");
    return;
  }
  Row("mp3 clock - device position at 1 s ms (no bound)",
      readings.front().clock - readings.front().device, 0.0);
  Row("mp3 clock - device drift ms per minute (no bound)", DriftPerMinute(readings), 0.0);
  double low = readings.front().clock - readings.front().device, high = low;
  for (const Reading& r : readings) {
    low = std::min(low, r.clock - r.device);
    high = std::max(high, r.clock - r.device);
  }
  std::printf("#   %zu readings a second apart over %.0f s, clock - device from %.1f to %.1f ms\n",
              readings.size(), (readings.back().clock - readings.front().clock) / 1000.0, low,
              high);
}

}  // namespace

void PressFigures(Program& program, int seconds, const std::string& song) {
  StampFigures(program);
  if (song.empty()) {
    std::printf("# no mp3 song given: the clock against an mp3 device is left out\n");
    return;
  }
  Mp3ClockFigures(program, seconds, song);
}
