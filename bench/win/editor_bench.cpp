#include "bench/win/editor_bench.h"

#include <windows.h>
// after windows.h
#include <psapi.h>

#include <algorithm>
#include <cstdio>

#include "bench/win/figures.h"
#include "forms/kashi_edit_form.h"
#include "forms/main_window.h"
#include "ui/form_host.h"
#include "ui/wave_strip.h"

using namespace velomar;
using namespace velomar::test;

namespace {

// This process's working set now: the process-wide peak also holds the
// bench's earlier figures, so the growth is sampled as the strip reads.
double WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  return static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

void EditorWaveFigures(Program& program, const std::string& song) {
  if (song.empty()) {
    std::printf("# no five-minute mp3 given: the waveform rows are left out\n");
    return;
  }
  HWND main = program.main();
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  program.Flush();
  const double before = WorkingSetMb();
  double most = before;
  const double t0 = NowMs();
  Command(program, main, main_ids::kMenuKashiEdit);
  WaitUntil([] { return KashiEditWindow() != nullptr && IsWindowVisible(KashiEditWindow()); });
  HWND editor = KashiEditWindow();
  HWND strip = editor != nullptr ? GetDlgItem(editor, kashi_edit_ids::kWaveStrip) : nullptr;
  // Each look at the strip is a message the editor's thread must answer.
  double worstAnswer = 0.0;
  bool complete = false;
  while (strip != nullptr && !complete && NowMs() - t0 < 60000) {
    const double asked = NowMs();
    program.RunOnUiThread([&] { complete = StripSoundComplete(strip); });
    worstAnswer = std::max(worstAnswer, NowMs() - asked);
    most = std::max(most, WorkingSetMb());
    Sleep(20);
  }
  const double ready = NowMs() - t0;
  if (!complete) {
    std::printf("# the waveform of the five-minute mp3 was not read within 60 s\n");
    return;
  }
  Row("waveform of a 5-minute mp3 ready ms / 3000 ms bound", ready, 3000.0);
  Row("editor's slowest answer while the waveform is read ms / 100 ms bound", worstAnswer, 100.0);
  Row("working set growth, editor and 5-minute waveform open MB / 40 MB bound",
      std::max(most, WorkingSetMb()) - before, 40.0);
  PostMessageA(editor, WM_CLOSE, 0, 0);
  WaitGone(editor);
}
