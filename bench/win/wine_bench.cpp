// Figures of the Windows program under Wine, each printed with the base it
// is measured against in the same run: start-up, memory and size against a
// bare one-window program, the first open dialog and song open against the
// same with the late-loaded DLLs loaded at start, the KashiList load of a
// 3001-record lyric file and the Kashi form's save of 3000 entries against
// the bare core load and save, the playback figures (playback_bench.cpp) and
// the press stamps' (press_bench.cpp).
//
//   velomar_wine_bench.exe [SECONDS [playback|presses]]
// SECONDS is the playback each playback figure gets in all (default 60),
// and the mp3 clock's play; "playback" or "presses" prints only those rows,
// to measure a change to them without the rest.
// Rows: "name<TAB>measured<TAB>baseline<TAB>ratio".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/win/editor_bench.h"
#include "bench/win/figures.h"
#include "bench/win/playback_bench.h"
#include "bench/win/press_bench.h"
#include "bench/win/startup_bench.h"
#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "lyrics/lyric_file.h"
#include "lyrics/lyric_text.h"
#include "system/platform_files.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

using namespace velomar;
using namespace velomar::test;

namespace {

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
  PostMessageA(GetDlgItem(main, main_ids::kBrowseButton), BM_CLICK, 0, 0);
  WaitUntil([&] { return FindTopLevel(program.thread(), "#32770") != nullptr; }, 30000);
  const double dialog = NowMs() - t0;
  AnswerOpenDialog(program, song);
  WaitUntil([&] { return Text(main, main_ids::kFileNameLabel).find("first.wav") == 0; }, 30000);
  const double open = NowMs() - t0;
  if (FILE* f = std::fopen(out.c_str(), "w")) {
    std::fprintf(f, "%.3f %.3f %.3f\n", dialog, open, dlls);
    std::fclose(f);
  }
  return program.CloseAndWait() == 0 ? 0 : 1;
}

// Runs one fresh "firstuse" child; false when it gave no figures.
bool FirstUseOnce(const char* self, const std::string& out, bool before, double (&figures)[3]) {
  DeleteFileA(out.c_str());
  RunToEnd(self, std::string("\"") + self + "\" firstuse " + out + (before ? " before" : ""),
           60000);
  FILE* f = std::fopen(out.c_str(), "r");
  if (f == nullptr) return false;
  const bool read = std::fscanf(f, "%lf %lf %lf", &figures[0], &figures[1], &figures[2]) == 3;
  std::fclose(f);
  return read;
}

// The first open dialog and the first song open of a fresh program, with the
// DLLs loaded at their first use against loaded at start as before: nine
// pairs of fresh processes, one of each in turn (a single one moves by half).
void FirstUseFigures(const char* self) {
  // A full path: each program runs in a scratch folder of its own.
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string out =
      std::string(temp) + "velomar-firstuse-" + std::to_string(GetCurrentProcessId()) + ".txt";
  Pairs dialog, open;
  std::vector<double> dlls;
  for (int pair = 0; pair < 9; ++pair) {
    double late[3], early[3];
    if (!FirstUseOnce(self, out, false, late) || !FirstUseOnce(self, out, true, early)) continue;
    dialog.Add(late[0], early[0]);
    open.Add(late[1], early[1]);
    dlls.push_back(early[2]);
  }
  DeleteFileA(out.c_str());
  if (dlls.empty()) return;
  dialog.Print("first open dialog / DLLs loaded at start, until shown ms");
  open.Print("first song open / DLLs loaded at start, browse to its title ms");
  std::printf("# loading %s, %s, %s and %s took %.1f ms (median) where they load at start\n",
              kLateDlls[0], kLateDlls[1], kLateDlls[2], kLateDlls[3], Median(dlls));
}

void LoadFigures(Program& program) {
  const std::string path = ScratchDir() + "\\bench.tolvenkari";
  WriteBytes(path, LyricBytes());
  std::vector<double> form;
  Pairs formToCore;
  for (int round = 0; round < 3; ++round) {
    Command(program, program.main(), main_ids::kMenuKashiList);
    WaitUntil([&] { return KashiListWindow() != nullptr && IsWindowVisible(KashiListWindow()); });
    HWND list = KashiListWindow();
    Click(program, list, kashi_list_ids::kBrowseButton);
    AnswerOpenDialog(program, path);
    const double t0 = NowMs();
    PostMessageA(GetDlgItem(list, kashi_list_ids::kLoadButton), BM_CLICK, 0, 0);
    WaitUntil([&] { return !IsWindow(list); }, 120000);
    form.push_back(NowMs() - t0);
    program.Flush();

    auto table = std::make_unique<LyricTable>();
    const LoadProgress none = [](int) {};
    const double c0 = NowMs();
    LoadLyricFile(*table, path, none, PlatformFileSystem());
    formToCore.Add(form.back(), NowMs() - c0);
  }
  formToCore.Print("KashiList load of 3001 records ms");

  // The editor opening on the table just loaded, until it has been drawn,
  // each against the load of the same round.
  Pairs editor;
  for (int round = 0; round < 3; ++round) {
    const double t0 = NowMs();
    Command(program, program.main(), main_ids::kMenuKashiEdit);
    WaitUntil([&] { return KashiEditWindow() != nullptr && IsWindowVisible(KashiEditWindow()); });
    UpdateWindow(KashiEditWindow());
    program.Flush();
    editor.Add(NowMs() - t0, form[round]);
    PostMessageA(KashiEditWindow(), WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(KashiEditWindow()); });
  }
  editor.Print("lyric editor opening, 3001 lines / KashiList load ms");
}

// The Kashi form's save of 3000 entries (Yes pressed to the save done,
// showing every line as it goes) against the core's save of the same table.
void SaveFigures(Program& program) {
  Pairs formToCore;
  const std::string name = "bench-save-" + std::to_string(GetCurrentProcessId());
  for (int round = 0; round < 3; ++round) {
    Command(program, program.main(), main_ids::kMenuKashi);
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
    TypeText(kashi, kashi_ids::kFileNameBox, name);
    PostMessageA(GetDlgItem(kashi, kashi_ids::kSaveButton), BM_CLICK, 0, 0);
    MessageBoxSeen ask = WaitForMessageBox(program);
    const double t0 = NowMs();
    Answer(ask, IDYES);
    const double form = NowMs() - t0;
    PostMessageA(kashi, WM_CLOSE, 0, 0);
    WaitGone(kashi);
    program.Flush();

    const SaveProgress none = [](const std::string&) {};
    const double c0 = NowMs();
    auto file = std::make_unique<LyricTable>();  // as the form saves it, in Shift-JIS
    ToFileTable(Lyrics.Table(), 3000, *file);
    SaveLyricFile(*file, name, none, PlatformFileSystem());
    formToCore.Add(form, NowMs() - c0);
  }
  DeleteFileA(LyricFileName(PlatformFileSystem().ExecutablePath(), name).c_str());
  formToCore.Print("Kashi save of 3000 entries ms");
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

// A song bench/wine.sh makes, named by `variable`; "" when none was made.
std::string SongFromEnvironment(const char* variable) {
  const char* song = std::getenv(variable);
  return song != nullptr && *song != '\0' ? WindowsPath(song) : std::string();
}

// The mp3 song for the clock rows, as long as their play.
std::string ClockSong() { return SongFromEnvironment("VELOMAR_BENCH_MP3"); }

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "firstuse") {
    return FirstUseChild(argv[2], argc > 3 && std::string(argv[3]) == "before");
  }
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  const std::string only = argc > 2 ? argv[2] : "";
  if (only.empty()) {
    StartupFigures(WindowsPath(VELOMAR_EXE_PATH), WindowsPath(VELOMAR_BARE_PATH));
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    FirstUseFigures(self);
  }
  Program program;
  if (only.empty()) {
    LoadFigures(program);
    SaveFigures(program);
    LabelFigures();
    EditorWaveFigures(program, SongFromEnvironment("VELOMAR_BENCH_LONG_MP3"));
  }
  if (only != "presses") PlaybackFigures(program, seconds);
  if (only != "playback") PressFigures(program, seconds, ClockSong());
  std::fflush(stdout);
  return program.CloseAndWait() == 0 ? 0 : 1;
}
