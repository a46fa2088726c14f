// The Kashi form: phrases are registered against the playback clock, one
// press of the large button each, and saved as a lyric file.
#include <string>

#include "app/controls.h"
#include "app/form_host.h"
#include "app/lyric_store.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "forms/forms.h"
#include "forms/pour_in.h"
#include "lyrics/lyric_file.h"
#include "lyrics/number_text.h"
#include "playback/playback.h"

namespace velomar {
namespace {

enum KashiControl : int {
  kAddButton = 1000,
  kSaveButton = 1001,
  kPhraseBox = 1002,
  kRemainingCaption = 1004,
  kRemainingLabel = 1005,
  kFileNameCaption = 1006,
  kLastCaption = 1007,
  kPourInSwitch = 1008,
  kLastTimeLabel = 1009,
  kPourInBox = 1011,
  kFileNameBox = 1013,
  kSaveFrame = 1014,
  kLastPhraseLabel = 1015,
  kSavingCaption = 1016,
  kSavingLabel = 1017,
};

constexpr DWORD kStatic = WS_EX_STATICEDGE;
constexpr DWORD kClient = WS_EX_CLIENTEDGE;
constexpr DWORD kShown = WS_VISIBLE;

// Created in this order; the order is what a user's tools see.
const ControlSpec kControls[] = {
    {kPhraseBox, "EDIT", "", kStatic, kShown | ES_AUTOHSCROLL, 24, 8, 353, 19},
    {kAddButton, "BUTTON", "このタイミングで追加", kStatic, kShown, 47, 37, 307, 60},
    {kRemainingCaption, "STATIC", "登録できる残り行数：", 0, kShown, 22, 247, 111, 12},
    {kRemainingLabel, "STATIC", "n", kStatic, kShown | SS_CENTER, 133, 245, 42, 14},
    {kPourInBox, "EDIT", "", kClient,
     kShown | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL, 13, 102, 380, 125},
    {kPourInSwitch, "BUTTON", "流し込み機能を使う", 0, kShown | BS_AUTOCHECKBOX, 22, 265, 120, 15},
    {kFileNameBox, "EDIT", "", kClient, kShown | ES_AUTOHSCROLL, 20, 323, 228, 21},
    {kFileNameCaption, "STATIC", "↓歌詞を保存する場合のファイル名", 0, kShown, 22, 304, 186, 12},
    {kSaveButton, "BUTTON", "歌詞の保存", kStatic, kShown, 259, 320, 114, 25},
    {kSaveFrame, "BUTTON", "入力し終えた歌詞を次回から読み込めるように保存する", 0,
     kShown | BS_GROUPBOX, 13, 286, 370, 93},
    {kLastCaption, "STATIC", "最後に登録した歌詞", 0, kShown, 188, 247, 108, 12},
    {kLastTimeLabel, "STATIC", "時間", 0, kShown | SS_CENTER, 188, 266, 36, 11},
    {kLastPhraseLabel, "STATIC", "フレーズ", 0, kShown, 231, 266, 172, 12},
    {kSavingCaption, "STATIC", "保存中：", 0, kShown, 48, 354, 42, 12},
    {kSavingLabel, "STATIC", "", 0, kShown, 92, 354, 280, 12},
};

void KashiFormInit() {
  BeginAdding(Lyrics);
  SetWindowTextA(KashiWindow, "歌詞追加");
  SetControlText(KashiWindow, kRemainingLabel, NumberText(Lyrics.RemainingLines));
  PlaceBeside(KashiWindow, MainWindow, 3, 0, true);
}

// Moves the next "#"-ended phrase of the pour-in box into the phrase box.
void PourInNext() {
  const PourInSplit split = SplitPourIn(ControlText(KashiWindow, kPourInBox));
  SetControlText(KashiWindow, kPhraseBox, split.phrase);
  SetControlText(KashiWindow, kPourInBox, split.rest);
}

void KashiAddPhrase() {
  const std::string text = ControlText(KashiWindow, kPhraseBox);
  const double ticks = TicksForAdd(Lyrics, ClockNow(), Playback.ClockRunning);
  if (!AddPhrase(Lyrics, text, ticks)) {
    // The form can outlive the main window; a box with a dead owner never shows.
    HWND owner = OnScreen(MainWindow) ? MainWindow : KashiWindow;
    ShowMessageBox(owner, "これ以上は登録できません", "Error", MB_OK | MB_ICONERROR);
    return;
  }
  SetControlText(KashiWindow, kRemainingLabel, NumberText(Lyrics.RemainingLines));
  SetControlText(KashiWindow, kPhraseBox, "");
  int focus = kPhraseBox;
  if (IsChecked(KashiWindow, kPourInSwitch)) {
    PourInNext();
    focus = kPourInBox;
  }
  const int written = Lyrics.AddIndex - 1;
  SetControlText(KashiWindow, kLastTimeLabel, NumberText(Lyrics.time[written]));
  SetControlText(KashiWindow, kLastPhraseLabel, Lyrics.phrase[written]);
  SetFocus(GetDlgItem(KashiWindow, focus));
}

void KashiSaveLyrics() {
  const int answer = ShowMessageBox(KashiWindow,
                                    "歌詞ファイルを保存します。\r\n"
                                    "保存中は、歌詞の入力が出来ませんが、よろしいですか?\r\n\r\n"
                                    "(同じファイル名があれば、上書きされます)",
                                    "新規歌詞保存の確認", MB_YESNO | MB_ICONINFORMATION);
  if (answer != IDYES) return;
  const std::string name = ControlText(KashiWindow, kFileNameBox);
  ProgressPace pace;
  std::string unshown;
  const bool saved = SaveLyricFile(Lyrics, name, [&](const std::string& line) {
    if (pace.Due()) {
      SetControlText(KashiWindow, kSavingLabel, line);
    } else {
      unshown = line;
    }
  });
  if (pace.Late()) SetControlText(KashiWindow, kSavingLabel, unshown);
  if (saved) MarkAddsSaved(Lyrics);
  // A silent failure would let the user believe the work is kept.
  if (!saved) {
    const std::string path = LyricFileName(PlatformFileSystem().ExecutablePath(), name);
    const std::string text = "歌詞ファイルを保存できませんでした\r\n" + path;
    ShowMessageBox(KashiWindow, text.c_str(), "Error", MB_OK | MB_ICONERROR);
  }
}

void OnInitDialog(HWND window) {
  KashiWindow = window;
  CreateControls(window, kControls, Shell().KashiFont.get());
  KashiFormInit();
}

// Once the main window has gone, closing the form ends the program.
void OnClose(HWND window) {
  if (IsHeld(window)) return;
  if (!OnScreen(MainWindow) && !MayLoseUnsavedAdds(window)) return;
  CloseForm(window, 0);
}

void OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  // clang-format off
  switch (id) {
    case kAddButton: KashiAddPhrase(); break;
    case kSaveButton: KashiSaveLyrics(); break;
    default: break;
  }
  // clang-format on
}

}  // namespace

LRESULT CALLBACK KashiFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_ENABLE: KeepHeldWindowDisabled(window, wParam != 0); return 0;
    case WM_DESTROY: return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
