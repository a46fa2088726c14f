// The lyric editor: every line of the table with its time, marked where the
// display will never reach it, and one line at a time corrected (nudged,
// re-timed against the running clock, retyped, inserted, deleted, and every
// change taken back), played from just before it and saved.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "forms/forms.h"
#include "forms/kashi_edit_form.h"
#include "forms/kashi_edit_list.h"
#include "forms/kashi_edit_strip.h"
#include "forms/lyric_save.h"
#include "lyrics/lyric_edit.h"
#include "lyrics/number_text.h"
#include "lyrics/word_edit.h"
#include "playback/playback.h"
#include "playback/press_time.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"
#include "ui/window_state.h"

namespace velomar {

using namespace kashi_edit_ids;
namespace {

// "Play from here" starts this many ticks before the line.
constexpr double kLeadIn = 30.0;

constexpr DWORD kStatic = WS_EX_STATICEDGE;
constexpr DWORD kClient = WS_EX_CLIENTEDGE;
constexpr DWORD kShown = WS_VISIBLE;

const ControlSpec kControls[] = {
    {kLineList, WC_LISTVIEWA, "", kClient,
     kShown | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 8, 8, 528, 250, true},
    {kEarlierButton, "BUTTON", "-0.1秒 (-)", kStatic, kShown, 8, 336, 72, 24},
    {kLaterButton, "BUTTON", "+0.1秒 (+)", kStatic, kShown, 84, 336, 72, 24},
    {kClockButton, "BUTTON", "今の時間 (Space)", kStatic, kShown, 160, 336, 104, 24},
    {kInsertButton, "BUTTON", "後に挿入 (Ins)", kStatic, kShown, 268, 336, 88, 24},
    {kDeleteButton, "BUTTON", "削除 (Del)", kStatic, kShown, 360, 336, 72, 24},
    {kUndoButton, "BUTTON", "元に戻す (Ctrl+Z)", kStatic, kShown, 436, 336, 100, 24},
    {kPhraseBox, "EDIT", "", kClient, kShown | ES_AUTOHSCROLL, 8, 368, 420, 21, true},
    {kPhraseButton, "BUTTON", "歌詞を変更 (Enter)", kStatic, kShown, 432, 366, 104, 24},
    {kPlayHereButton, "BUTTON", "ここから再生 (F9)", kStatic, kShown, 8, 426, 110, 24},
    {kUnreachableLabel, "STATIC", "", 0, kShown, 128, 431, 168, 14},
    {kRedoButton, "BUTTON", "やり直し (Ctrl+Y)", kStatic, kShown, 436, 426, 100, 24},
    {kNameCaption, "STATIC", "↓歌詞を保存する場合のファイル名", 0, kShown, 8, 458, 200, 12},
    {kNameBox, "EDIT", "", kClient, kShown | ES_AUTOHSCROLL, 8, 474, 276, 21, true},
    {kSaveButton, "BUTTON", "歌詞の保存", kStatic, kShown, 292, 472, 118, 25},
    {kLrcButton, "BUTTON", "LRC で保存", kStatic, kShown, 418, 472, 118, 25},
    {kShiftEarlierButton, "BUTTON", "以降 -0.1", kStatic, kShown, 300, 426, 64, 24},
    {kShiftLaterButton, "BUTTON", "以降 +0.1", kStatic, kShown, 368, 426, 64, 24},
    {kRowBox, "EDIT", "", kClient, kShown | ES_AUTOHSCROLL, 8, 396, 420, 21, true},
    {kRowButton, "BUTTON", "訳を変更 (Enter)", kStatic, kShown, 432, 394, 104, 24},
    {kExportButton, "BUTTON", "書き出し", kStatic, kShown, 418, 504, 118, 25},
    {kClearWordsButton, "BUTTON", "単語の時間を消す", kStatic, kShown, 8, 504, 130, 25},
};

HWND List() { return GetDlgItem(KashiEditWindow(), kLineList); }

int LineCount() { return LyricLineCount(Lyrics.Table()); }

int Selected() {
  return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

struct EditState {
  // Worked out once a change, not once a row the list asks for.
  LineMarks marks;
  // True while a command of this window runs: its own changes always move
  // the selection and the phrase box with them.
  bool acting = false;
  // F5's presses over the selected line's words, until the user picks a line.
  Retiming retiming;
  std::unique_ptr<EditorStrip> strip;
};

// Only reached while the editor is open.
EditState& State() { return *WindowState<EditState>(KashiEditWindow()); }

void Select(int index) {
  const int count = LineCount();
  if (count == 0) return;
  index = std::max(0, std::min(index, count - 1));
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  SendMessageA(List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

// The list follows the table: its count, its texts, the marks and their sum.
void Refresh() {
  const int count = LineCount();
  SendMessageA(List(), LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
  InvalidateRect(List(), nullptr, FALSE);
  State().marks = MarkLines(Lyrics.Table());
  SetControlText(KashiEditWindow(), kUnreachableLabel,
                 "表示されない行：" + NumberText(State().marks.Count()) + " 行");
}

struct ActingHere {
  ActingHere() { State().acting = true; }
  ~ActingHere() { State().acting = false; }
  ActingHere(const ActingHere&) = delete;
  ActingHere& operator=(const ActingHere&) = delete;
};

HWND PhraseBox() { return GetDlgItem(KashiEditWindow(), kPhraseBox); }
HWND RowBox() { return GetDlgItem(KashiEditWindow(), kRowBox); }

bool Typed(HWND box) { return SendMessageA(box, EM_GETMODIFY, 0, 0) != 0; }

// The boxes show the selected line's phrase and translation as they stand.
void ShowSelectedPhrase() {
  const int line = Selected();
  if (line < 0) return;
  SetControlTextUtf8(KashiEditWindow(), kPhraseBox, Lyrics.Table().phrase[line]);
  SetControlTextUtf8(KashiEditWindow(), kRowBox, FirstRow(Lyrics.Table(), line));
  SendMessageA(PhraseBox(), EM_SETMODIFY, FALSE, 0);
  SendMessageA(RowBox(), EM_SETMODIFY, FALSE, 0);
}

// Every change of the lyrics, wherever it came from, shows here with the
// line it changed selected and its phrase in the box; but a phrase typed
// and not yet applied is not thrown away by a change made elsewhere (a
// press, F6): its line stays selected until the user applies or leaves it.
void FollowChange() {
  if (!OnScreen(KashiEditWindow())) return;
  Refresh();
  if (!State().acting && (Typed(PhraseBox()) || Typed(RowBox()))) return;
  if (Lyrics.ChangedEntry() >= 0) Select(Lyrics.ChangedEntry());
  ShowSelectedPhrase();
  if (State().strip) State().strip->ShowLines(Selected());
}

void AfterChange(bool changed, int select) {
  if (!changed) {
    MessageBeep(MB_OK);
    return;
  }
  Select(select);
}

void Nudge(std::int32_t ticks) {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(Lyrics.Nudge(line, ticks), line);
}

// Alt+- and Alt++: a hundredth of a second, for a press that landed a
// little off.
void NudgeHundredth(std::int32_t hundredths) {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(Lyrics.NudgeHundredths(line, hundredths), line);
}

// The selected line and every line after it, as one step.
void ShiftFromHere(std::int32_t ticks) {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(Lyrics.Shift(line, ticks), line);
}

// While the song plays the next line is selected, so that lines are re-timed
// one after the other as they are heard.
void TakeClock() {
  const int line = Selected();
  if (line < 0) return;
  const bool changed = Lyrics.SetTime(line, StampThisPress());
  AfterChange(changed, Playback.ClockRunning ? line + 1 : line);
}

void ApplyPhrase() {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(Lyrics.SetPhrase(line, ControlTextUtf8(KashiEditWindow(), kPhraseBox)), line);
  SendMessageA(PhraseBox(), EM_SETMODIFY, FALSE, 0);
}

void ApplyRow() {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(Lyrics.SetTranslation(line, ControlTextUtf8(KashiEditWindow(), kRowBox)), line);
  SendMessageA(RowBox(), EM_SETMODIFY, FALSE, 0);
}

// On an empty list the first line is added.
void InsertLine() {
  const int line = LineCount() == 0 ? -1 : Selected();
  if (line < 0 && LineCount() != 0) return;
  AfterChange(Lyrics.InsertAfter(line), line + 1);
}

void DeleteLine() {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(Lyrics.Delete(line), line);
}

// Whatever made the latest step: a press, a reset or a change made here.
void UndoChange() {
  if (!Lyrics.Undo()) MessageBeep(MB_OK);
}

void RedoChange() {
  if (!Lyrics.Redo()) MessageBeep(MB_OK);
}

// Without a song, or from past its end, there is nothing to play.
void PlayHere() {
  const int line = Selected();
  if (line < 0 || !PlayFromLine(line, kLeadIn)) MessageBeep(MB_OK);
}

// Lyric files are named in the ANSI code page, LRC files by any name.
std::wstring TypedName() { return Utf8ToWide(ControlTextUtf8(KashiEditWindow(), kNameBox)); }

void SaveLines() {
  AskAndSaveLyrics(KashiEditWindow(), ShownPath(TypedName()), SavedLines::All, 0);
}

void SaveLrc() { AskAndSaveLrc(KashiEditWindow(), TypedName()); }

void ExportSubtitles() { AskAndExportSubtitles(KashiEditWindow(), TypedName()); }

void ClearWords() {
  const int line = Selected();
  if (line < 0) return;
  AfterChange(!Lyrics.Table().detail[line].words.empty() && Lyrics.SetWords(line, {}), line);
}

// F5: the selected line's next word at the moment of the key (word_edit.h).
void PressWord() {
  const int line = Selected();
  if (line < 0) return;
  const PressStamp stamp = StampThisPress();
  const RetimeStep step =
      RetimePress(State().retiming, Lyrics.Table(), LineCount(), line, stamp.ms / 10);
  if (step.line < 0) {
    MessageBeep(MB_OK);
    return;
  }
  const bool changed = step.setsTime ? Lyrics.SetTime(step.line, stamp, step.words)
                                     : Lyrics.SetWords(step.line, step.words);
  AfterChange(changed, step.line);
}

void OnSelectionChanged() {
  if (!State().acting) State().retiming = Retiming{};
  ShowSelectedPhrase();
  if (State().strip) State().strip->ShowLines(Selected());
}

void OnInitDialog(HWND window) {
  MakeWindowState<EditState>(window);
  FollowLyrics(FollowChange);
  UseCommonControls();
  CreateControls(window, kControls, Shell().KashiFont.get());
  SendMessageA(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddEditorColumns(List());
  State().strip = std::make_unique<EditorStrip>(window, 8, 264, 528, 64);
  SetWindowTextA(window, "歌詞の編集");
  Refresh();
  Select(0);
}

void OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  const ActingHere acting;
  // clang-format off
  switch (id) {
    case kEarlierButton: Nudge(-1); break;
    case kLaterButton: Nudge(1); break;
    case kShiftEarlierButton: ShiftFromHere(-1); break;
    case kShiftLaterButton: ShiftFromHere(1); break;
    case kClockButton: TakeClock(); break;
    case kInsertButton: InsertLine(); break;
    case kDeleteButton: DeleteLine(); break;
    case kUndoButton: UndoChange(); break;
    case kRedoButton: RedoChange(); break;
    case kPhraseButton: ApplyPhrase(); break;
    case kRowButton: ApplyRow(); break;
    case kPlayHereButton: PlayHere(); break;
    case kSaveButton: SaveLines(); break;
    case kLrcButton: SaveLrc(); break;
    case kExportButton: ExportSubtitles(); break;
    case kClearWordsButton: ClearWords(); break;
    default: break;
  }
  // clang-format on
}

LRESULT OnNotify(NMHDR& header) {
  if (header.idFrom == kWaveStrip) return State().strip->OnNotice(header, Select);
  if (header.idFrom != kLineList) return 0;
  if (header.code == LVN_GETDISPINFOW) {
    ShowEditorCell(reinterpret_cast<NMLVDISPINFOW&>(header), State().marks);
  }
  if (header.code == LVN_ITEMCHANGED) OnSelectionChanged();
  return 0;
}

// Like the Kashi form, the editor outlives the main window; closing the
// last of them ends the program, so unsaved lyrics are asked about then.
void OnClose(HWND window) {
  if (MayClose(window)) CloseForm(window, 0);
}

void OnDestroy(HWND window) {
  UnfollowLyrics(FollowChange);
  DropWindowState<EditState>(window);
}

// The list's keys for the selected line, and Enter in the phrase and
// translation boxes.
bool ListKey(WPARAM key) {
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  // clang-format off
  switch (key) {
    case VK_SUBTRACT: case VK_OEM_MINUS: shift ? ShiftFromHere(-1) : Nudge(-1); return true;
    case VK_ADD: case VK_OEM_PLUS: shift ? ShiftFromHere(1) : Nudge(1); return true;
    case VK_SPACE: TakeClock(); return true;
    case VK_INSERT: InsertLine(); return true;
    case VK_DELETE: DeleteLine(); return true;
    case VK_F2: SetFocus(PhraseBox()); return true;
    case VK_F9: PlayHere(); return true;
    case 'Z': if (control) UndoChange(); return control;
    case 'Y': if (control) RedoChange(); return control;
    default: return false;
  }
  // clang-format on
}

// With Alt held, a key comes as WM_SYSKEYDOWN.
bool AltListKey(WPARAM key) {
  // clang-format off
  switch (key) {
    case VK_SUBTRACT: case VK_OEM_MINUS: NudgeHundredth(-1); return true;
    case VK_ADD: case VK_OEM_PLUS: NudgeHundredth(1); return true;
    default: return false;
  }
  // clang-format on
}

}  // namespace

bool KashiEditKeys(const MSG& message) {
  if (OnScreen(KashiEditWindow()) && State().strip->WheelKey(message)) return true;
  const bool alt = message.message == WM_SYSKEYDOWN;
  if ((message.message != WM_KEYDOWN && !alt) || !OnScreen(KashiEditWindow())) return false;
  if (!IsWindowEnabled(KashiEditWindow())) return false;
  const ActingHere acting;
  if (alt) return message.hwnd == List() && AltListKey(message.wParam);
  if (message.hwnd == List()) return ListKey(message.wParam);
  if (message.wParam != VK_RETURN) return false;
  if (message.hwnd == PhraseBox()) ApplyPhrase();
  if (message.hwnd == RowBox()) ApplyRow();
  return message.hwnd == PhraseBox() || message.hwnd == RowBox();
}

bool KashiEditWordKey(Form, const MSG& message) {
  if (!OnScreen(KashiEditWindow()) || !IsWindowEnabled(KashiEditWindow())) return false;
  // A held key stamps once: auto-repeat sets bit 30, the key was already down.
  if ((message.lParam & (1 << 30)) != 0) return true;
  const ActingHere acting;
  PressWord();
  return true;
}

LRESULT CALLBACK KashiEditFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case kStripSoundMessage: State().strip->OnSound(); return 0;
    case WM_NOTIFYFORMAT: return NFR_UNICODE;  // the list asks for phrases as they are
    case WM_CLOSE: OnClose(window); return 0;
    case WM_QUERYENDSESSION: return AnswerEndSession(window);
    case WM_ENABLE: KeepHeldWindowDisabled(window, wParam != 0); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
