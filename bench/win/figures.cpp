#include "bench/win/figures.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

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

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t half = v.size() / 2;
  return v.size() % 2 == 1 ? v[half] : (v[half - 1] + v[half]) / 2;
}

void Row(const char* name, double measured, double baseline) {
  std::printf("%s\t%.3f\t%.3f\t%.2f\n", name, measured, baseline,
              baseline > 0 ? measured / baseline : 0.0);
}

long RunToEnd(const std::string& exe, std::string line, unsigned long ms) {
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

void Pairs::Add(double measured, double baseline) {
  if (baseline <= 0) return;  // a base that failed says nothing of the pair
  measured_.push_back(measured);
  baseline_.push_back(baseline);
  ratios_.push_back(measured / baseline);
}

void Pairs::Print(const char* name) const {
  if (empty()) return;
  std::printf("%s\t%.3f\t%.3f\t%.2f\n", name, Median(measured_), Median(baseline_),
              Median(ratios_));
  std::printf("#   ratio: median of %zu pairs measured in turn, from %.2f to %.2f\n",
              ratios_.size(), *std::min_element(ratios_.begin(), ratios_.end()),
              *std::max_element(ratios_.begin(), ratios_.end()));
}
