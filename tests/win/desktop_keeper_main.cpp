// velomar_desktop READY-FILE: makes Wine start its desktop process, writes
// READY-FILE once the desktop is there, and then waits until it is killed.
// Wine starts the desktop process from the first program that needs one,
// and that process inherits the program's output pipes: started from here,
// with no pipes, it holds none of a test's, and it stays up while this runs.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: velomar_desktop READY-FILE\n", stderr);
    return 2;
  }
  if (GetDesktopWindow() == nullptr) return 1;
  HWND window = CreateWindowExA(0, "STATIC", "velomar_desktop", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 1;
  HANDLE ready = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(ready);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
