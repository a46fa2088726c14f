// Walks the program through its windows and saves a picture of each, as a
// user would see it, for the README and for a look by eye.
//
//   velomar_screenshots.exe OUTDIR
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/form_host.h"
#include "app/lyric_store.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"

using namespace velomar;
using namespace velomar::test;

namespace {

std::string outDir;

// Copies the window's screen pixels into a 24-bit BMP file.
void Save(HWND window, const char* name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);  // let the X server catch up before reading its pixels
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int stride = (w * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * h, '\0');
  GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes += pixels;
  WriteBytes(outDir + "\\" + name + ".bmp", bytes);
  std::printf("%s\n", name);
}

HWND OpenForm(Program& program, int command, HWND* handle) {
  *handle = nullptr;
  Command(program, program.main(), command);
  WaitUntil([&] { return *handle != nullptr && IsWindowVisible(*handle); });
  program.Flush();
  return *handle;
}

void Close(Program& program, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  WaitGone(window);
  program.Flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: velomar_screenshots OUTDIR\n");
    return 2;
  }
  outDir = argv[1];
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  Save(main, "main-start");

  // A song with three timed phrases, shown as they come.
  const char* phrases[] = {"\x82\xb1\x82\xea\x82\xcd", "\x83" "e\x83X\x83g\x82\xcc",
                           "\x89\xcc\x8e\x8c\x82\xc5\x82\xb7"};  // これは テストの 歌詞です
  for (int i = 0; i < 3; ++i) {
    Lyrics.time[i] = i * 5;
    Lyrics.phrase[i] = phrases[i];
  }
  Click(program, main, 1003);
  AnswerOpenDialog(program, MakeMidi("sample song.mid"));
  Click(program, main, 1010);
  Click(program, main, 1000);
  program.Tick(6);
  Save(main, "main-window");

  HWND kashi = OpenForm(program, 1019, &KashiWindow);
  Save(kashi, "kashi-form");
  Close(program, kashi);
  HWND list = OpenForm(program, 1018, &KashiListWindow);
  Save(list, "kashilist-form");
  Close(program, list);
  HWND mini = OpenForm(program, 1021, &MiniWindow);
  program.Tick(5);
  Save(mini, "mini-form");
  Close(program, mini);
  HWND version = OpenForm(program, 1022, &VersionWindow);
  Save(version, "version-form");
  Close(program, version);

  Command(program, main, 1020);
  MessageBoxSeen box = WaitForMessageBox(program);
  if (box.window != nullptr) {
    Save(box.window, "reset-box");
    Answer(box, IDOK);
    box = WaitForMessageBox(program);
    if (box.window != nullptr) Answer(box, IDOK);
  }
  Click(program, main, 1001);
  return program.CloseAndWait() == 0 ? 0 : 1;
}
