// Walks the program through its windows and saves a picture of each, as a
// user would see it, for the README and for a look by eye.
//
//   velomar_screenshots.exe OUTDIR
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "forms/overlay.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

using namespace velomar;
using namespace velomar::test;

namespace {

std::string outDir;

// True when no other window covers any corner or the centre of `window`.
bool Uncovered(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const POINT points[] = {{r.left + 2, r.top + 2},
                          {r.right - 3, r.top + 2},
                          {r.left + 2, r.bottom - 3},
                          {r.right - 3, r.bottom - 3},
                          {(r.left + r.right) / 2, (r.top + r.bottom) / 2}};
  for (const POINT& p : points) {
    if (GetAncestor(WindowFromPoint(p), GA_ROOT) != window) return false;
  }
  return true;
}

// Saves the window as the screen shows it, with the topmost window `over`
// it and what lies between, once it is on top and the X server has caught
// up: two grabs 100 ms apart that agree.
void Save(HWND window, const char* name, HWND over = nullptr) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Wine stacks a layered window under one raised after it, topmost or not:
  // it is put back on top, as Windows shows it.
  for (HWND after : {HWND_NOTOPMOST, HWND_TOPMOST}) {
    if (over == nullptr) break;
    SetWindowPos(over, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r{}, o{};
  GetWindowRect(window, &r);
  if (over != nullptr && GetWindowRect(over, &o)) UnionRect(&r, &r, &o);
  BITMAPINFOHEADER info{};
  std::string pixels = ScreenPixels(r, info);
  bool settled = false;
  for (int tries = 0; tries < 50 && !settled; ++tries) {
    Sleep(100);
    std::string again = ScreenPixels(r, info);
    settled = again == pixels && Uncovered(window);
    pixels.swap(again);
  }
  if (!settled) std::fprintf(stderr, "velomar_screenshots: %s did not settle\n", name);
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

HWND OpenForm(Program& program, int command, HWND (*handle)()) {
  Command(program, program.main(), command);
  WaitUntil([&] { return handle() != nullptr && IsWindowVisible(handle()); });
  program.Flush();
  return handle();
}

void Close(Program& program, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  WaitGone(window);
  program.Flush();
}

// The phrases of the sample lyric file, read the way its lines are written.
std::vector<std::string> SamplePhrases() {
  std::vector<std::string> phrases;
  const std::string bytes =
      ReadBytes(WindowsPath(std::string(VELOMAR_SAMPLES) + "/kaze.tolvenkari"));
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const size_t comma = bytes.find(',', start);
    phrases.push_back(bytes.substr(comma + 1, end - comma - 1));
  }
  return phrases;
}

std::string Sample(const char* name) {
  return WindowsPath(std::string(VELOMAR_SAMPLES) + "/" + name);
}

// The sample song with its lyric file loaded, the second phrase showing.
void ShootSampleSong(Program& program, HWND main) {
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, Sample("kaze.wav"));
  HWND list = OpenForm(program, main_ids::kMenuKashiList, &KashiListWindow);
  Click(program, list, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, Sample("kaze.tolvenkari"));
  Save(list, "kashilist-form");
  Click(program, list, kashi_list_ids::kLoadButton);
  WaitGone(list);
  program.Flush();
  Click(program, main, main_ids::kLyricsToggle);
  Click(program, main, main_ids::kPlayButton);
  program.Tick(61);
  Save(main, "main-window");
  Click(program, main, main_ids::kStopButton);
}

// Timing the lyrics: the first phrase typed, the rest poured in, two
// phrases registered so far.
void ShootTiming(Program& program, HWND main, const std::vector<std::string>& phrases) {
  HWND kashi = OpenForm(program, main_ids::kMenuKashi, &KashiWindow);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  TypeText(kashi, kashi_ids::kPhraseBox, phrases[0]);
  std::string rest;
  for (size_t i = 1; i < phrases.size(); ++i) rest += phrases[i] + "#\r\n";
  TypeText(kashi, kashi_ids::kPourInBox, rest);
  TypeText(kashi, kashi_ids::kFileNameBox, "kaze");
  Click(program, main, main_ids::kPlayButton);
  program.Tick(20);
  Click(program, kashi, kashi_ids::kAddButton);
  program.Tick(40);
  Click(program, kashi, kashi_ids::kAddButton);
  program.Tick(12);
  Save(kashi, "kashi-form");
  Close(program, kashi);
}

// The lyric editor on the sample's lines, the fourth selected; then the
// compact view while the song plays on.
void ShootEditorAndMini(Program& program, HWND main) {
  HWND editor = OpenForm(program, main_ids::kMenuKashiEdit, &KashiEditWindow);
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(GetDlgItem(editor, kashi_edit_ids::kLineList), LVM_SETITEMSTATE, 3,
               reinterpret_cast<LPARAM>(&item));
  program.Flush();
  Sleep(1500);  // the waveform is read behind the editor
  program.Flush();
  Save(editor, "kashi-edit-form");
  Close(program, editor);

  HWND mini = OpenForm(program, main_ids::kMenuMini, &MiniWindow);
  program.Tick(109);  // to tick 181: the fifth phrase
  Save(mini, "mini-form");
  Close(program, mini);
  Click(program, main, main_ids::kStopButton);
}

// The first three lines' words pressed again with F5 while the song plays
// from F9 on the first line, each press a little later than the one before.
void ShootEditorWords(Program& program, HWND main) {
  HWND editor = OpenForm(program, main_ids::kMenuKashiEdit, &KashiEditWindow);
  HWND list = GetDlgItem(editor, kashi_edit_ids::kLineList);
  const auto key = [&](WPARAM pressed) {
    PostMessageA(list, WM_KEYDOWN, pressed, 1);
    PostMessageA(list, WM_KEYUP, pressed, 0xC0000001);
    program.Flush();
  };
  key(VK_F9);
  const int lines[] = {20, 60, 100};
  const int words[] = {8, 10, 8};
  int now = 0;
  for (int line = 0; line < 3; ++line) {
    for (int word = 0; word < words[line]; ++word) {
      const int at = lines[line] + word * 3 + word % 2;
      program.Tick(at - now);
      now = at;
      key(VK_F5);
    }
  }
  Save(editor, "kashi-edit-words");
  Click(program, main, main_ids::kStopButton);
  Close(program, editor);
}

// A line in Korean, Chinese and Japanese, as an LRC of another player brings it.
void ShootAnyLanguage(Program& program, HWND main) {
  Lyrics.Load([](LyricTable& table) {
    table.time[0] = 10;
    table.phrase[0] =  // 안녕하세요 / 你好 / こんにちは
        "\xec\x95\x88\xeb\x85\x95\xed\x95\x98\xec\x84\xb8\xec\x9a\x94 / \xe4\xbd\xa0\xe5\xa5\xbd / "
        "\xe3\x81\x93\xe3\x82\x93\xe3\x81\xab\xe3\x81\xa1\xe3\x81\xaf";
    return true;
  });
  Click(program, main, main_ids::kPlayButton);
  program.Tick(11);
  Save(main, "main-window-any-language");
  Click(program, main, main_ids::kStopButton);
}

// Timing word by word: the first phrase pressed and its first word sung,
// the label showing the word the next press stamps.
void ShootWordTiming(Program& program, HWND main) {
  HWND kashi = OpenForm(program, main_ids::kMenuKashi, &KashiWindow);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  Click(program, kashi, kashi_ids::kWordSwitch);
  SetWindowTextW(GetDlgItem(kashi, kashi_ids::kPhraseBox), L"風が|吹く　|丘の|上で");
  SetWindowTextW(GetDlgItem(kashi, kashi_ids::kPourInBox),
                 L"君の|歌が　|聞こえて|くる#\r\n星が|光る　|夜の|空に#\r\n");
  Click(program, main, main_ids::kPlayButton);
  program.Tick(20);
  Click(program, kashi, kashi_ids::kAddButton);
  program.Tick(7);
  Click(program, kashi, kashi_ids::kAddButton);
  program.Tick(3);
  Save(kashi, "kashi-form-words");
  Close(program, kashi);
  Click(program, main, main_ids::kStopButton);
}

// The desktop lyrics, locked, over the main window: a line with its
// translation, sung into its second word. Loaded on the program's thread,
// where the main window makes the translation's label.
void ShootOverlay(Program& program, HWND main) {
  program.RunOnUiThread([] {
    Lyrics.Load([](LyricTable& table) {
      table.time[0] = 20;
      table.phrase[0] =  // 風が吹く　丘の上で
          "\xe9\xa2\xa8\xe3\x81\x8c\xe5\x90\xb9\xe3\x81\x8f\xe3\x80\x80"
          "\xe4\xb8\x98\xe3\x81\xae\xe4\xb8\x8a\xe3\x81\xa7";
      table.detail[0].rows = {"The wind blows on the hill"};
      table.detail[0].words = {{0, 0}, {15, 150}};
      table.time[1] = 60;
      return true;
    });
  });
  HWND overlay = OpenForm(program, main_ids::kMenuOverlay, &OverlayWindow);
  // Reaching out on both sides of the main window, over its lyric line.
  SetWindowPos(main, nullptr, 100, 40, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  // Moved as a user moves it: unlocked, then locked again.
  Command(program, main, main_ids::kMenuOverlayUnlock);
  SetWindowPos(overlay, nullptr, 10, 150, 560, 140, SWP_NOZORDER | SWP_NOACTIVATE);
  Command(program, main, main_ids::kMenuOverlayUnlock);
  Click(program, main, main_ids::kPlayButton);
  program.Tick(45);  // 4.5 s: the second word, sung from 3.5 s to 6 s, two fifths in
  Save(main, "overlay", overlay);
  Click(program, main, main_ids::kStopButton);
  Command(program, main, main_ids::kMenuOverlay);
}

// The about box, and the reset's first question.
void ShootVersionAndReset(Program& program, HWND main) {
  HWND version = OpenForm(program, main_ids::kMenuVersion, &VersionWindow);
  Save(version, "version-form");
  Close(program, version);

  Command(program, main, main_ids::kMenuReset);
  MessageBoxSeen box = WaitForMessageBox(program);
  if (box.window != nullptr) {
    Save(box.window, "reset-box");
    Answer(box, IDOK);
    box = WaitForMessageBox(program);
    if (box.window != nullptr) Answer(box, IDOK);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: velomar_screenshots OUTDIR\n");
    return 2;
  }
  outDir = argv[1];
  const std::vector<std::string> phrases = SamplePhrases();
  if (phrases.size() < 6) {
    std::fprintf(stderr, "velomar_screenshots: the sample lyric file is missing\n");
    return 1;
  }
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  Save(main, "main-start");
  ShootSampleSong(program, main);
  ShootTiming(program, main, phrases);
  ShootEditorAndMini(program, main);
  ShootEditorWords(program, main);
  ShootAnyLanguage(program, main);
  ShootOverlay(program, main);
  ShootWordTiming(program, main);
  ShootVersionAndReset(program, main);
  return program.CloseAndWait() == 0 ? 0 : 1;
}
