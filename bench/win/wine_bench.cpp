// Figures of the Windows program under Wine, each printed with the base it
// is measured against in the same run: the CPU time of a minute of playback
// with lyrics on, with the desktop lyrics filling and at 50% speed, the regularity of the clock's ticks, the
// KashiList load of a 3001-record lyric file and the Kashi form's save of 3000 entries against the
// bare core load and save, start-up, memory and size against a bare one-window program, and the
// first open dialog and song open against the same with the late-loaded DLLs loaded at start.
//
//   velomar_wine_bench.exe [SECONDS [playback]]
// SECONDS is the playback length (default 60); "playback" prints only the
// playback rows, to measure a change to them without the rest.
// Rows: "name<TAB>measured<TAB>baseline<TAB>ratio".
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/win/startup_bench.h"
#include "lyrics/lyric_file.h"
#include "lyrics/lyric_text.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/owned.h"

using namespace velomar;
using namespace velomar::test;

namespace {

double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

void Row(const char* name, double measured, double baseline) {
  std::printf("%s\t%.3f\t%.3f\t%.2f\n", name, measured, baseline,
              baseline > 0 ? measured / baseline : 0.0);
}

// A lyric file of everyday Japanese phrases, one per tick.
std::string LyricBytes() {
  const char* words[] = {"\x82\xa0\x82\xc8\x82\xbd",
                         "\x82\xcc",
                         "\x89\xcc",
                         "\x82\xf0",
                         "\x8b\xf3",
                         "\x82\xc9",
                         "\x95\x97",
                         "\x82\xaa",
                         "\x90\xc2\x82\xa2",
                         "\x96\xe9",
                         "\x82\xe0",
                         "\x96\xbe\x93\xfa"};
  std::string bytes;
  for (int i = 0; i < 3001; ++i) {
    std::string phrase;
    for (int k = 0; k < 3 + i % 9; ++k) phrase += words[(i * 7 + k * 5) % 12];
    bytes += std::to_string(i * 3) + "," + phrase + "\r\n";
  }
  return bytes;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Runs `exe` with command line `line` and waits up to `ms` for its end;
// returns its exit code, or -1 when it did not start or end in time.
long RunToEnd(const std::string& exe, std::string line, DWORD ms) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return -1;
  }
  DWORD code = 0;
  const bool ended = WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ended ? static_cast<long>(code) : -1;
}

// The CPU time the bare program spends playing `song` through MCI for `ms`
// (it measures it itself and ends with it as its exit code).
double BareCpuMs(const std::string& song, int ms) {
  const std::string exe = WindowsPath(VELOMAR_BARE_PATH);
  const long code = RunToEnd(exe, "\"" + exe + "\" play \"" + song + "\" " + std::to_string(ms),
                             static_cast<DWORD>(ms) + 30000);
  return code < 0 ? 0.0 : static_cast<double>(code);
}

// The DLLs velomar.exe imported before they were loaded at first use.
const char* const kLateDlls[] = {"comdlg32.dll", "winmm.dll", "comctl32.dll", "shell32.dll"};

// "firstuse OUT [before]": a fresh program's first open dialog and first song
// open, written to OUT as "dialog-ms open-ms dlls-ms". With "before", the
// DLLs are loaded at start first, as the import table loaded them before,
// and dlls-ms is the time that took.
int FirstUseChild(const std::string& out, bool before) {
  const double d0 = NowMs();
  if (before) {
    for (const char* dll : kLateDlls) LoadLibraryA(dll);
  }
  const double dlls = NowMs() - d0;
  Program program;
  HWND main = program.main();
  const std::string song = MakeWave("first.wav", 2000);
  const double t0 = NowMs();
  PostMessageA(GetDlgItem(main, 1003), BM_CLICK, 0, 0);
  WaitUntil([&] { return FindTopLevel(program.thread(), "#32770") != nullptr; }, 30000);
  const double dialog = NowMs() - t0;
  AnswerOpenDialog(program, song);
  WaitUntil([&] { return Text(main, 1005).find("first.wav") == 0; }, 30000);
  const double open = NowMs() - t0;
  if (FILE* f = std::fopen(out.c_str(), "w")) {
    std::fprintf(f, "%.3f %.3f %.3f\n", dialog, open, dlls);
    std::fclose(f);
  }
  return program.CloseAndWait() == 0 ? 0 : 1;
}

// The first open dialog and the first song open of a fresh program, with the
// DLLs loaded at their first use against loaded at start as before: medians
// of nine fresh processes each, taken in turn (a single one moves by half).
void FirstUseFigures(const char* self) {
  // A full path: each program runs in a scratch folder of its own.
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string out =
      std::string(temp) + "velomar-firstuse-" + std::to_string(GetCurrentProcessId()) + ".txt";
  std::vector<double> dialog[2], open[2], dlls;
  for (int round = 0; round < 18; ++round) {
    const bool before = round % 2 == 1;
    DeleteFileA(out.c_str());
    RunToEnd(self, std::string("\"") + self + "\" firstuse " + out + (before ? " before" : ""),
             60000);
    double d = 0, o = 0, l = 0;
    FILE* f = std::fopen(out.c_str(), "r");
    if (f == nullptr) continue;
    if (std::fscanf(f, "%lf %lf %lf", &d, &o, &l) == 3) {
      dialog[before].push_back(d);
      open[before].push_back(o);
      if (before) dlls.push_back(l);
    }
    std::fclose(f);
  }
  DeleteFileA(out.c_str());
  if (dialog[0].empty() || dialog[1].empty()) return;
  Row("first open dialog / DLLs loaded at start, until shown ms", Median(dialog[0]),
      Median(dialog[1]));
  Row("first song open / DLLs loaded at start, browse to its title ms", Median(open[0]),
      Median(open[1]));
  std::printf("# loading %s, %s, %s and %s took %.1f ms (median) where they load at start\n",
              kLateDlls[0], kLateDlls[1], kLateDlls[2], kLateDlls[3], Median(dlls));
}

// The program's CPU ms per minute playing its song from the start for
// `seconds`, with the test's hook off its messages meanwhile, as a user's
// program runs.
double UnwatchedCpuMs(Program& program, int seconds) {
  Click(program, program.main(), 1000);
  program.Watch(false);
  const double cpu0 = CpuMs();
  const double wall0 = NowMs();
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double cpu = CpuMs() - cpu0;
  const double wall = NowMs() - wall0;
  program.Watch(true);
  Click(program, program.main(), 1001);
  return cpu * 60000.0 / wall;
}

// Returns the bare program's CPU ms per minute, the base of every playback row.
double PlaybackFigures(Program& program, int seconds) {
  HWND main = program.main();
  EditLyrics([](LyricTable& table) {
    for (int i = 0; i < 3001; ++i) {
      table.time[i] = i;
      table.phrase[i] = "\x89\xcc\x8e\x8c";
    }
  });
  const std::string song = MakeWave("minute.wav", (seconds + 5) * 1000);
  Click(program, main, 1003);
  AnswerOpenDialog(program, song);
  Click(program, main, 1010);
  const double cpu = UnwatchedCpuMs(program, seconds);
  // The same song played by the bare program for the same time.
  const double bare = BareCpuMs(song, seconds * 1000) * 60.0 / seconds;
  Row("playback CPU ms per minute, lyrics on / bare MCI playback", cpu, bare);

  // Played again for the clock, every tick seen.
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
  Click(program, main, 1000);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  program.OnRealTick(nullptr);
  program.Flush();
  const double wall = NowMs() - wall0;
  const double shown = std::atof(WindowText(GetDlgItem(main, 1007)).c_str());
  Click(program, main, 1001);
  Row("clock error ticks, 2 s blocked in playback", std::abs(shown - wall / 100.0), 0.0);
  if (ticks.size() >= 2) {
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
  return bare;
}

// The same song with the desktop lyrics shown and every line sung word by
// word, so that the fill redraws about 30 times a second throughout.
void OverlayFigures(Program& program, int seconds, double bare) {
  HWND main = program.main();
  EditLyrics([](LyricTable& table) {
    for (int i = 0; i < 3001; ++i) {
      table.time[i] = 20 * i;
      table.phrase[i] = "\x89\xcc\x8e\x8c\x82\xf0\x89\xcc\x82\xa4";  // 歌詞を歌う
      // In the UTF-8 the lyrics hold: 歌詞, を, 歌, う, and the end.
      table.detail[i].words = {{0, 0}, {6, 50}, {9, 100}, {12, 150}, {15, 190}};
    }
  });
  Command(program, main, 1024);  // 設定 → デスクトップ歌詞
  const double cpu = UnwatchedCpuMs(program, seconds);
  Command(program, main, 1024);
  Row("playback CPU ms per minute, desktop lyrics filling / bare MCI playback", cpu, bare);
}

// The same song at 50% through the program's own path (read, stretched and
// played by the program itself), lyrics on, against the bare program's MCI
// playback at 100%.
void SlowFigures(Program& program, int seconds, double bare) {
  Command(program, program.main(), 1029);  // 設定 → 再生速度 → 50%
  const double cpu = UnwatchedCpuMs(program, seconds);
  Command(program, program.main(), 1027);
  Row("playback CPU ms per minute, lyrics on at 50% speed / bare MCI playback", cpu, bare);
}

// What Wine itself spends on the least a fill can do: a layered window of
// 64 x 72 pixels with nothing in it, handed over 30 times a second on its
// timer as the fill does, for as long as the songs play.
void LayeredFloorFigures(int seconds, double bare) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "VelomarBenchLayered";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(
      WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
      wc.lpszClassName, "", WS_POPUP, 0, 0, 64, 72, nullptr, nullptr, nullptr, nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), 64, -72, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  // Declared after the bitmap, so that it goes first and lets it go.
  MemoryDcOwner dc(CreateCompatibleDC(nullptr));
  SelectObject(dc.get(), bitmap.get());
  POINT from{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UPDATELAYEREDWINDOWINFO update{};
  update.cbSize = sizeof update;
  update.hdcSrc = dc.get();
  update.pptSrc = &from;
  update.pblend = &blend;
  update.dwFlags = ULW_ALPHA;
  SIZE size{64, 72};
  update.psize = &size;
  UpdateLayeredWindowIndirect(window, &update);
  update.psize = nullptr;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  const UINT_PTR timer = SetTimer(nullptr, 0, 33, nullptr);
  const double cpu0 = CpuMs();
  const double wall0 = NowMs();
  MSG msg;
  while (NowMs() - wall0 < seconds * 1000.0 && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) UpdateLayeredWindowIndirect(window, &update);
    DispatchMessageA(&msg);
  }
  const double cpu = CpuMs() - cpu0;
  const double wall = NowMs() - wall0;
  KillTimer(nullptr, timer);
  DestroyWindow(window);
  Row("CPU ms per minute, an empty 64x72 layered window handed over 30 times a second / bare "
      "MCI playback",
      cpu * 60000.0 / wall, bare);
}

void LoadFigures(Program& program) {
  const std::string path = ScratchDir() + "\\bench.tolvenkari";
  WriteBytes(path, LyricBytes());
  std::vector<double> form, core;
  for (int round = 0; round < 3; ++round) {
    Command(program, program.main(), 1018);
    WaitUntil([&] { return KashiListWindow() != nullptr && IsWindowVisible(KashiListWindow()); });
    HWND list = KashiListWindow();
    Click(program, list, 1000);
    AnswerOpenDialog(program, path);
    const double t0 = NowMs();
    PostMessageA(GetDlgItem(list, 1001), BM_CLICK, 0, 0);
    WaitUntil([&] { return !IsWindow(list); }, 120000);
    form.push_back(NowMs() - t0);
    program.Flush();

    auto table = std::make_unique<LyricTable>();
    const double c0 = NowMs();
    LoadLyricFile(*table, path, [](int) {});
    core.push_back(NowMs() - c0);
  }
  Row("KashiList load of 3001 records ms", Median(form), Median(core));

  // The editor opening on the table just loaded, until it has been drawn.
  std::vector<double> editor;
  for (int round = 0; round < 3; ++round) {
    const double t0 = NowMs();
    Command(program, program.main(), 1023);
    WaitUntil([&] { return KashiEditWindow() != nullptr && IsWindowVisible(KashiEditWindow()); });
    UpdateWindow(KashiEditWindow());
    program.Flush();
    editor.push_back(NowMs() - t0);
    PostMessageA(KashiEditWindow(), WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(KashiEditWindow()); });
  }
  Row("lyric editor opening, 3001 lines / KashiList load ms", Median(editor), Median(form));
}

// The Kashi form's save of 3000 entries (Yes pressed to the save done,
// showing every line as it goes) against the core's save of the same table.
void SaveFigures(Program& program) {
  std::vector<double> form, core;
  const std::string name = "bench-save-" + std::to_string(GetCurrentProcessId());
  for (int round = 0; round < 3; ++round) {
    Command(program, program.main(), 1019);
    WaitUntil([&] { return KashiWindow() != nullptr && IsWindowVisible(KashiWindow()); });
    HWND kashi = KashiWindow();
    program.Flush();
    // 3000 presses of this opening, then the entries the figures use.
    program.RunOnUiThread([] {
      PressedBefore(3000);
      // Exactly the 3000 lines saved: the last line the load left goes, or
      // the save, writing fewer lines than the lyrics hold, would say so.
      EditLyrics([](LyricTable& table) {
        table = LyricTable{};
        for (int i = 0; i < 3000; ++i) {
          table.time[i] = i * 3;
          table.phrase[i] = "\x89\xcc\x8e\x8c\x82\xcc\x83t\x83\x8c\x81[\x83Y";
        }
      });
    });
    TypeText(kashi, 1013, name);
    PostMessageA(GetDlgItem(kashi, 1001), BM_CLICK, 0, 0);
    MessageBoxSeen ask = WaitForMessageBox(program);
    const double t0 = NowMs();
    Answer(ask, IDYES);
    form.push_back(NowMs() - t0);
    PostMessageA(kashi, WM_CLOSE, 0, 0);
    WaitGone(kashi);
    program.Flush();

    const double c0 = NowMs();
    auto file = std::make_unique<LyricTable>();  // as the form saves it, in Shift-JIS
    ToFileTable(Lyrics.Table(), 3000, *file);
    SaveLyricFile(*file, name, [](const std::string&) {});
    core.push_back(NowMs() - c0);
  }
  DeleteFileA(LyricFileName(PlatformFileSystem().ExecutablePath(), name).c_str());
  Row("Kashi save of 3000 entries ms", Median(form), Median(core));
}

// Why the form's load costs so much more than the core's: every label change
// of a visible static control is painted there and then (not at the next
// WM_PAINT), and under Wine each paint is a trip to the X server. The same
// 3 x 3001 changes on a hidden label show the difference.
void LabelFigures() {
  HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 40, nullptr,
                               nullptr, nullptr, nullptr);
  HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 4, 4, 290, 14, frame,
                               nullptr, nullptr, nullptr);
  auto changes = [&] {
    const double t0 = NowMs();
    for (int i = 0; i < 3 * 3001; ++i) SetWindowTextA(label, std::to_string(i).c_str());
    return NowMs() - t0;
  };
  const double shown = changes();
  ShowWindow(frame, SW_HIDE);
  const double hidden = changes();
  DestroyWindow(frame);
  Row("9003 label changes, shown vs hidden ms", shown, hidden);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "firstuse") {
    return FirstUseChild(argv[2], argc > 3 && std::string(argv[3]) == "before");
  }
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  const bool playbackOnly = argc > 2 && std::string(argv[2]) == "playback";
  if (!playbackOnly) {
    StartupFigures(WindowsPath(VELOMAR_EXE_PATH), WindowsPath(VELOMAR_BARE_PATH), Row);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    FirstUseFigures(self);
  }
  Program program;
  if (!playbackOnly) {
    LoadFigures(program);
    SaveFigures(program);
    LabelFigures();
  }
  const double bare = PlaybackFigures(program, seconds);
  OverlayFigures(program, seconds, bare);
  SlowFigures(program, seconds, bare);
  LayeredFloorFigures(seconds, bare);
  std::fflush(stdout);
  return program.CloseAndWait() == 0 ? 0 : 1;
}
