// Start-up, peak memory and size of velomar.exe against a bare one-window
// program built the same way, each started as a user starts it.
#include "bench/win/startup_bench.h"

#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench/win/figures.h"

namespace {

struct Found {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindShown(HWND window, LPARAM lParam) {
  auto* found = reinterpret_cast<Found*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != found->process || !IsWindowVisible(window)) return TRUE;
  if (GetWindow(window, GW_OWNER) != nullptr) return TRUE;
  // The desktop lyrics are no main window: closing them leaves the program.
  if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return TRUE;
  found->window = window;
  return FALSE;
}

struct Run {
  double startMs = -1;
  double peakKb = 0;
};

// Time from CreateProcess to a visible top-level window with nothing left to
// paint, then the process's peak working set; the window is closed after.
Run StartOnce(const std::string& exe) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = "\"" + exe + "\"";
  const double t0 = NowMs();
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return {};
  }
  Run run;
  Found found{info.dwProcessId, nullptr};
  while (NowMs() - t0 < 30000) {
    found.window = nullptr;
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    if (found.window != nullptr && !GetUpdateRect(found.window, nullptr, FALSE)) {
      run.startMs = NowMs() - t0;
      break;
    }
    Sleep(1);
  }
  WaitForInputIdle(info.hProcess, 5000);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory)) {
    run.peakKb = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
  }
  if (found.window != nullptr) PostMessageA(found.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return run;
}

double FileKb(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

// Points the program's settings at a folder of the bench's own where the
// desktop lyrics were left open; restored when it goes.
class OverlayLeftOpen {
 public:
  OverlayLeftOpen() {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    const std::string appData = std::string(folder) + "velomar-bench-appdata";
    CreateDirectoryA(appData.c_str(), nullptr);
    CreateDirectoryA((appData + "\\Velomar").c_str(), nullptr);
    if (FILE* f = std::fopen((appData + "\\Velomar\\overlay.ini").c_str(), "wb")) {
      std::fputs("[overlay]\r\nleft=100\r\ntop=600\r\nwidth=900\r\nheight=140\r\nopen=1\r\n", f);
      std::fclose(f);
    }
    had_ = GetEnvironmentVariableA("APPDATA", before_, MAX_PATH);
    SetEnvironmentVariableA("APPDATA", appData.c_str());
  }
  ~OverlayLeftOpen() {
    SetEnvironmentVariableA("APPDATA", had_ > 0 && had_ < MAX_PATH ? before_ : nullptr);
  }
  OverlayLeftOpen(const OverlayLeftOpen&) = delete;
  OverlayLeftOpen& operator=(const OverlayLeftOpen&) = delete;

 private:
  char before_[MAX_PATH] = "";
  DWORD had_ = 0;
};

}  // namespace

void StartupFigures(const std::string& velomar, const std::string& bare) {
  StartOnce(velomar);  // the first start also loads Wine's own DLLs
  StartOnce(bare);
  // Each bare start is the base of the two starts of velomar.exe beside it,
  // the second started again with the desktop lyrics open, as they were left.
  Pairs start, peak, peakOverlay;
  for (int i = 0; i < 5; ++i) {
    const Run v = StartOnce(velomar);
    const Run b = StartOnce(bare);
    Run o;
    {
      OverlayLeftOpen left;
      o = StartOnce(velomar);
    }
    if (v.startMs >= 0 && b.startMs >= 0) start.Add(v.startMs, b.startMs);
    peak.Add(v.peakKb, b.peakKb);
    peakOverlay.Add(o.peakKb, b.peakKb);
  }
  start.Print("start-up to painted window ms");
  peak.Print("peak working set KB");
  peakOverlay.Print("peak working set KB, desktop lyrics shown");
  Row("executable size KB", FileKb(velomar), FileKb(bare));
}
