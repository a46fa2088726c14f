// The KashiList form: the user picks a lyric file and loads it into the
// lyric table; the form closes itself when the load is done.
#include "forms/kashi_list_form.h"

#include <string>

#include "forms/forms.h"
#include "lyrics/lyric_file.h"
#include "lyrics/number_text.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_open.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar {

using namespace kashi_list_ids;

LyricFileChoice LyricFilePath;

namespace {

constexpr DWORD kShown = WS_VISIBLE;

// Created in this order; the order is what a user's tools see.
const ControlSpec kControls[] = {
    {kBrowseButton, "BUTTON", "歌詞ファイルを探す", WS_EX_STATICEDGE, kShown, 373, 28, 113, 24},
    {kPathBox, "EDIT", "", WS_EX_CLIENTEDGE, kShown, 5, 6, 479, 21},
    {kLoadButton, "BUTTON", "OK", WS_EX_STATICEDGE, kShown, 202, 84, 88, 26},
    {kRemainingCaption, "STATIC", "残り：", 0, kShown | SS_CENTER, 9, 40, 32, 12},
    {kRemainingLabel, "STATIC", "ｎ", 0, kShown, 46, 40, 50, 12},
    {kPhraseCaption, "STATIC", "読み込み中のフレーズ", 0, kShown, 9, 56, 121, 12},
    {kTimeLabel, "STATIC", "ｎ", 0, kShown | SS_CENTER, 135, 56, 42, 12},
    {kPhraseLabel, "STATIC", "text", 0, kShown, 187, 56, 301, 12},
};

void KashiListFormInit() { SetWindowTextA(KashiListWindow(), "歌詞ファイルの参照"); }

void KashiListBrowse() {
  static const char kFilter[] = "歌詞 ファイル\0*.tolvenkari;*.lrc\0";
  std::wstring path;
  // Its own dialog, so that the form waits while it is open.
  if (!AskOpenFileName(KashiListWindow(), kFilter, "tolvenkariファイルを開く", path)) return;
  SetControlText(KashiListWindow(), kPathBox, ShownPath(path));
  LyricFilePath = {ShownPath(path), path};
}

// The real path behind the one shown; an ANSI path set without a browse
// stands for itself.
std::wstring ChosenLyricFile() {
  const LyricFileChoice& chosen = LyricFilePath;
  return ShownPath(chosen.wide) == chosen.shown ? chosen.wide : WidePath(chosen.shown);
}

void ShowLoaded(const LyricTable& table, int index) {
  SetControlText(KashiListWindow(), kRemainingLabel, NumberText(3000 - index));
  SetControlText(KashiListWindow(), kTimeLabel, NumberText(table.time[index]));
  SetControlTextUtf8(KashiListWindow(), kPhraseLabel, table.phrase[index]);
}

// Runs inside the click without returning to the loop, so no tick ever sees
// a half-loaded table; the caption asks the user to wait meanwhile.
void KashiListLoad() {
  if (!MayReplaceUnsavedAdds(KashiListWindow())) return;
  SetWindowTextA(KashiListWindow(),
                 "歌詞ファイルの参照：処理中（フリーズしてもそのままでお待ちください）");
  ProgressPace pace;
  int unshown = 0;
  const bool loaded =
      LoadLyricPath(KashiListWindow(), ChosenLyricFile(), [&](const LyricTable& table, int index) {
        if (pace.Due()) {
          ShowLoaded(table, index);
        } else {
          unshown = index;
        }
      });
  if (!loaded) {
    // Refused before any entry changed: the user may choose another file.
    SetWindowTextA(KashiListWindow(), "歌詞ファイルの参照");
    return;
  }
  if (pace.Late()) ShowLoaded(Lyrics.Table(), unshown);
  SendMessageA(KashiListWindow(), WM_CLOSE, 0, 0);
}

void OnInitDialog(HWND window) {
  CreateControls(window, kControls, Shell().KashiListFont.get());
  KashiListFormInit();
}

void OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  // clang-format off
  switch (id) {
    case kBrowseButton: KashiListBrowse(); break;
    case kLoadButton: KashiListLoad(); break;
    default: break;
  }
  // clang-format on
}

}  // namespace

LRESULT CALLBACK KashiListFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE: CloseForm(window, 0); return 0;
    case WM_ENABLE: KeepHeldWindowDisabled(window, wParam != 0); return 0;
    case WM_DESTROY: return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
