// The base for the start-up and memory figures: the least a Win32 program
// with one window does, built with the same compiler, flags and runtime as
// velomar.exe. Started as `velomar_bare_window play SONG MS` it is also the
// base of the playback figure: it plays SONG through MCI for MS
// milliseconds and ends (winmm is loaded only then, so that the plain start
// stays bare).
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

using MciString = DWORD(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
MciString mci = nullptr;
int cpuAtPlay = 0;

// CPU time of this process so far, in milliseconds.
int CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const unsigned long long k =
      (static_cast<unsigned long long>(kernel.dwHighDateTime) << 32) | kernel.dwLowDateTime;
  const unsigned long long u =
      (static_cast<unsigned long long>(user.dwHighDateTime) << 32) | user.dwLowDateTime;
  return static_cast<int>((k + u) / 10000);
}

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    // The CPU time the playing took is the exit code, for the bench to read.
    const int played = CpuMs() - cpuAtPlay;
    KillTimer(window, 1);
    mci("close song", nullptr, 0, nullptr);
    DestroyWindow(window);
    PostQuitMessage(played);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// "play SONG MS": the song plays, and a timer ends the program after MS.
void Play(HWND window) {
  if (__argc < 4 || std::strcmp(__argv[1], "play") != 0) return;
  HMODULE winmm = LoadLibraryA("winmm.dll");
  mci = reinterpret_cast<MciString>(
      reinterpret_cast<void (*)()>(GetProcAddress(winmm, "mciSendStringA")));
  if (mci == nullptr) return;
  char open[MAX_PATH + 32] = "open \"";
  lstrcpynA(open + 6, __argv[2], MAX_PATH);
  lstrcatA(open, "\" alias song");
  mci(open, nullptr, 0, nullptr);
  mci("play song", nullptr, 0, nullptr);
  // From the play under way, as the bench times the program from after its
  // play command: the start of a play is no part of a minute of playback.
  cpuAtPlay = CpuMs();
  SetTimer(window, 1, static_cast<UINT>(std::atoi(__argv[3])), nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BareProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "BareWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "BareWindow", "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  Play(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
