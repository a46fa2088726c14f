// Start-up, peak memory and size of velomar.exe against a bare one-window
// program built the same way, each started as a user starts it.
#include "bench/win/startup_bench.h"

#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double FileKb(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

}  // namespace

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void StartupFigures(const std::string& velomar, const std::string& bare, const RowWriter& row) {
  std::vector<double> startV, startB, peakV, peakB;
  StartOnce(velomar);  // the first start also loads Wine's own DLLs
  StartOnce(bare);
  for (int i = 0; i < 5; ++i) {
    const Run v = StartOnce(velomar);
    const Run b = StartOnce(bare);
    if (v.startMs >= 0) startV.push_back(v.startMs);
    if (b.startMs >= 0) startB.push_back(b.startMs);
    peakV.push_back(v.peakKb);
    peakB.push_back(b.peakKb);
  }
  row("start-up to painted window ms", Median(startV), Median(startB));
  row("peak working set KB", Median(peakV), Median(peakB));
  // Started again with the desktop lyrics open, as they were left.
  char folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, folder);
  const std::string appData = std::string(folder) + "velomar-bench-appdata";
  CreateDirectoryA(appData.c_str(), nullptr);
  CreateDirectoryA((appData + "\\Velomar").c_str(), nullptr);
  if (FILE* f = std::fopen((appData + "\\Velomar\\overlay.ini").c_str(), "wb")) {
    std::fputs("[overlay]\r\nleft=100\r\ntop=600\r\nwidth=900\r\nheight=140\r\nopen=1\r\n", f);
    std::fclose(f);
  }
  char before[MAX_PATH] = "";
  const DWORD had = GetEnvironmentVariableA("APPDATA", before, MAX_PATH);
  SetEnvironmentVariableA("APPDATA", appData.c_str());
  std::vector<double> peakO;
  for (int i = 0; i < 5; ++i) peakO.push_back(StartOnce(velomar).peakKb);
  SetEnvironmentVariableA("APPDATA", had > 0 && had < MAX_PATH ? before : nullptr);
  row("peak working set KB, desktop lyrics shown", Median(peakO), Median(peakB));
  row("executable size KB", FileKb(velomar), FileKb(bare));
}
