// The base for the start-up and memory figures: the least a Win32 program
// with one window does, built with the same compiler, flags and runtime as
// velomar.exe. Started as `velomar_bare_window play SONG MS` it is also the
// base of the playback figure: it plays SONG through MCI for MS
// milliseconds and ends (winmm is loaded only then, so that the plain start
// stays bare).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

using MciString = DWORD(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
MciString mci = nullptr;

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    mci("close song", nullptr, 0, nullptr);
    DestroyWindow(window);
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
  if (__argc < 4 || std::string(__argv[1]) != "play") return;
  HMODULE winmm = LoadLibraryA("winmm.dll");
  mci = reinterpret_cast<MciString>(
      reinterpret_cast<void (*)()>(GetProcAddress(winmm, "mciSendStringA")));
  if (mci == nullptr) return;
  const std::string open = std::string("open \"") + __argv[2] + "\" alias song";
  mci(open.c_str(), nullptr, 0, nullptr);
  mci("play song", nullptr, 0, nullptr);
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
  return 0;
}
