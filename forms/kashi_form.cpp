// The Kashi form: phrases are registered against the playback clock, one
// press of the large button each, and saved as a lyric file.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>

#include "forms/forms.h"
#include "forms/kashi_form.h"
#include "forms/lyric_save.h"
#include "forms/pour_in.h"
#include "lyrics/lyric_edit.h"
#include "lyrics/lyric_file.h"
#include "lyrics/number_text.h"
#include "lyrics/word_press.h"
#include "playback/playback.h"
#include "playback/press_time.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar {

using namespace kashi_ids;
namespace {

constexpr DWORD kStatic = WS_EX_STATICEDGE;
constexpr DWORD kClient = WS_EX_CLIENTEDGE;
constexpr DWORD kShown = WS_VISIBLE;

// Created in this order; the order is what a user's tools see.
const ControlSpec kControls[] = {
    {kPhraseBox, "EDIT", "", kStatic, kShown | ES_AUTOHSCROLL, 24, 8, 353, 19, true},
    {kAddButton, "BUTTON", "このタイミングで追加", kStatic, kShown, 47, 37, 307, 60},
    {kRemainingCaption, "STATIC", "登録できる残り行数：", 0, kShown, 22, 247, 111, 12},
    {kRemainingLabel, "STATIC", "n", kStatic, kShown | SS_CENTER, 133, 245, 42, 14},
    {kPourInBox, "EDIT", "", kClient,
     kShown | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL, 13, 102, 380, 125, true},
    {kPourInSwitch, "BUTTON", "流し込み機能を使う", 0, kShown | BS_AUTOCHECKBOX, 22, 265, 120, 15},
    {kFileNameBox, "EDIT", "", kClient, kShown | ES_AUTOHSCROLL, 20, 323, 228, 21},
    {kFileNameCaption, "STATIC", "↓歌詞を保存する場合のファイル名", 0, kShown, 22, 304, 186, 12},
    {kSaveButton, "BUTTON", "歌詞の保存", kStatic, kShown, 259, 320, 114, 25},
    {kSaveFrame, "BUTTON", "入力し終えた歌詞を次回から読み込めるように保存する", 0,
     kShown | BS_GROUPBOX, 13, 286, 370, 93},
    {kLastCaption, "STATIC", "最後に登録した歌詞", 0, kShown, 188, 247, 108, 12},
    {kLastTimeLabel, "STATIC", "時間", 0, kShown | SS_CENTER, 188, 266, 36, 11, true},
    {kLastPhraseLabel, "STATIC", "フレーズ", 0, kShown, 231, 266, 172, 12, true},
    {kSavingCaption, "STATIC", "保存中：", 0, kShown, 48, 354, 42, 12},
    {kSavingLabel, "STATIC", "", 0, kShown, 92, 354, 280, 12},
    {kWordSwitch, "BUTTON", "単語ごとに打つ", 0, kShown | BS_AUTOCHECKBOX, 22, 388, 120, 15},
    // Shown in word mode only; "&" in a phrase is a letter, not a mnemonic.
    {kWordLabel, "STATIC", "", 0, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 22, 408, 371, 14, true},
};

void FollowChange();

void KashiFormInit() {
  // The lyrics stay as they are: only adding starts again from entry 0.
  Lyrics.BeginAdding();
  FollowLyrics(FollowChange);
  SetWindowTextA(KashiWindow(), "歌詞追加");
  SetControlText(KashiWindow(), kRemainingLabel, NumberText(Lyrics.Table().RemainingLines));
}

// Moves the next "#"-ended phrase of the pour-in box into the phrase box.
void PourInNext() {
  const PourInSplit split = SplitPourIn(ControlTextUtf8(KashiWindow(), kPourInBox));
  SetControlTextUtf8(KashiWindow(), kPhraseBox, split.phrase);
  SetControlTextUtf8(KashiWindow(), kPourInBox, split.rest);
}

// The labels show the entry written last in this opening, or their first
// texts; they follow every change, also the editor's undo of a press.
void ShowCounters() {
  if (!OnScreen(KashiWindow())) return;
  const LyricTable& table = Lyrics.Table();
  const int written = table.AddIndex - 1;
  const bool any = written >= 0 && written < kLyricEntries && table.AddedCount > 0;
  SetControlText(KashiWindow(), kRemainingLabel, NumberText(table.RemainingLines));
  SetControlText(KashiWindow(), kLastTimeLabel, any ? NumberText(table.time[written]) : "時間");
  if (any) {
    SetControlTextUtf8(KashiWindow(), kLastPhraseLabel, table.phrase[written]);
  } else {
    SetControlText(KashiWindow(), kLastPhraseLabel, "フレーズ");
  }
}

// Word mode: the phrase being pressed with the word the next press stamps
// between 「 and 」; past its last word, the phrase the next press stores.
void ShowWordLabel() {
  HWND window = KashiWindow();
  const bool on = IsChecked(window, kWordSwitch);
  ShowWindow(GetDlgItem(window, kWordLabel), on ? SW_SHOWNA : SW_HIDE);
  if (!on) return;
  const LyricDocument::WordLine line = Lyrics.PressedWords();
  const std::size_t next =
      line.index >= 0 ? NextWord(line.words, Lyrics.Table().detail[line.index].words) : 0;
  const bool pressing = line.index >= 0 && next < line.words.starts.size();
  SetControlTextUtf8(window, kWordLabel,
                     pressing ? WordLabel(line.words, next)
                              : WordLabel(SplitWords(ControlTextUtf8(window, kPhraseBox)), 0));
}

using Pressed = LyricDocument::WordPressed;

// A press: the phrase box as the next line or, in word mode, the next word
// of the line being pressed while it has one.
Pressed PressNow(const std::string& text, bool pourIn) {
  const PressStamp stamp = StampThisPress();
  if (IsChecked(KashiWindow(), kWordSwitch)) {
    return Lyrics.PressByWord(text, stamp, Playback.ClockRunning, Playback.PlayId, pourIn);
  }
  return Lyrics.Press(text, stamp, Playback.ClockRunning, Playback.PlayId, pourIn)
             ? Pressed::Line
             : Pressed::Refused;
}

void KashiAddPhrase() {
  const std::string text = ControlTextUtf8(KashiWindow(), kPhraseBox);
  const bool pourIn = IsChecked(KashiWindow(), kPourInSwitch);
  const Pressed pressed = PressNow(text, pourIn);
  if (pressed == Pressed::Refused) {
    // The form can outlive the main window.
    ShowMessageBox(BoxOwner(KashiWindow()), "これ以上は登録できません", "Error",
                   MB_OK | MB_ICONERROR);
    return;
  }
  // A word stamped leaves the boxes for the line after it.
  if (pressed == Pressed::Word) return;
  SetControlTextUtf8(KashiWindow(), kPhraseBox, "");
  if (pourIn) PourInNext();
  SetFocus(GetDlgItem(KashiWindow(), pourIn ? kPourInBox : kPhraseBox));
}

// An undone press of this opening, by F6 or by the editor's undo, hands
// its phrase back to the phrase box to be registered again, and a poured-in
// one puts the phrase it brought up back in front of the pour-in box.
void HandBack(const TakenBack& taken) {
  if (taken.pouredIn) {
    const std::string next = ControlTextUtf8(KashiWindow(), kPhraseBox);
    SetControlTextUtf8(KashiWindow(), kPourInBox,
                       next + "#" + ControlTextUtf8(KashiWindow(), kPourInBox));
  }
  SetControlTextUtf8(KashiWindow(), kPhraseBox, taken.phrase);
}

// Redone, the press takes its phrase again as it did when it was made.
void TakeAgain(const TakenBack& taken) {
  SetControlTextUtf8(KashiWindow(), kPhraseBox, "");
  if (taken.pouredIn) PourInNext();
}

void FollowChange() {
  if (!OnScreen(KashiWindow())) return;
  ShowCounters();
  // clang-format off
  switch (Lyrics.LastPressChange()) {
    case LyricDocument::PressChange::Undone: HandBack(Lyrics.ChangedPress()); break;
    case LyricDocument::PressChange::Redone: TakeAgain(Lyrics.ChangedPress()); break;
    case LyricDocument::PressChange::None: break;
  }
  // clang-format on
  ShowWordLabel();
}

void KashiTakeBack() {
  TakenBack taken;
  if (!Lyrics.TakeBackPress(taken)) MessageBeep(MB_OK);
}

// F4 in word mode: the word being sung ends here.
void KashiEndWord() {
  if (!Lyrics.EndPressedWord(StampThisPress())) MessageBeep(MB_OK);
}

// The big button tells the keys that do its work without the mouse.
void AddKeyTip(HWND window) {
  UseCommonControls();
  HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, kAddButton));
  tool.lpszText = const_cast<char*>("F5: このタイミングで追加　F6: 最後の追加を取り消す");
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void KashiSaveLyrics() {
  AskAndSaveLyrics(KashiWindow(), ControlText(KashiWindow(), kFileNameBox), SavedLines::Added,
                   kSavingLabel);
}

void OnInitDialog(HWND window) {
  CreateControls(window, kControls, Shell().KashiFont.get());
  AddKeyTip(window);
  KashiFormInit();
}

// Once the main window has gone, closing the last form ends the program.
void OnClose(HWND window) {
  if (MayClose(window)) CloseForm(window, 0);
}

void OnCommand(int id, int code) {
  // The label follows the phrase box as it is typed in or filled.
  if (id == kPhraseBox && code == EN_CHANGE) ShowWordLabel();
  if (code != BN_CLICKED) return;
  // clang-format off
  switch (id) {
    case kAddButton: KashiAddPhrase(); break;
    case kSaveButton: KashiSaveLyrics(); break;
    case kWordSwitch: ShowWordLabel(); break;
    default: break;
  }
  // clang-format on
}

}  // namespace

// Typing in the form's boxes never needs a function key: F5 presses, F6
// takes the last press back, F4 ends a word in word mode, here and in the
// main window.
bool KashiPressKey(Form, const MSG& message) {
  if (!OnScreen(KashiWindow()) || !IsWindowEnabled(KashiWindow())) return false;
  if (message.wParam == VK_F4 && !IsChecked(KashiWindow(), kWordSwitch)) return false;
  // A held key adds once: auto-repeat sets bit 30, the key was already down.
  if ((message.lParam & (1 << 30)) != 0) return true;
  // clang-format off
  switch (message.wParam) {
    case VK_F5: KashiAddPhrase(); break;
    case VK_F4: KashiEndWord(); break;
    default: KashiTakeBack(); break;
  }
  // clang-format on
  return true;
}

LRESULT CALLBACK KashiFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_QUERYENDSESSION: return AnswerEndSession(window);
    case WM_ENABLE: KeepHeldWindowDisabled(window, wParam != 0); return 0;
    case WM_DESTROY: UnfollowLyrics(FollowChange); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
