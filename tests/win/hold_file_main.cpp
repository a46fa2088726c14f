// velomar_holdfile PATH: opens PATH for reading with no sharing, says
// "held" (or "failed N") on stdout, and keeps it open until its stdin ends.
// The Wine tests use it as "another program" that has a lyric file open.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: velomar_holdfile PATH\n", stderr);
    return 2;
  }
  HANDLE file =
      CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("failed %lu\n", GetLastError());
    std::fflush(stdout);
    return 1;
  }
  std::fputs("held\n", stdout);
  std::fflush(stdout);
  char buffer[256];
  DWORD got = 0;
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  while (ReadFile(in, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
  }
  CloseHandle(file);
  return 0;
}
