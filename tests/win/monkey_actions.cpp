// Which actions the user has at a moment, and taking one the way a user's
// input arrives: posted clicks, keys and commands, text set into boxes or
// pasted from the clipboard, answers to message boxes and open dialogs,
// posted ticks and notices.
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "forms/version_form.h"
#include "system/wide_path.h"
#include "tests/win/monkey.h"

namespace velomar::test::monkey {
namespace {

bool Usable(HWND window) {
  return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool ItemEnabled(HWND window, int id) {
  HWND item = GetDlgItem(window, id);
  return item != nullptr && IsWindowEnabled(item);
}

HWND WindowOf(const View& view, Where where) {
  return where == Where::Main ? view.main : view.form(where);
}

// A dialog's push button by id (toolbars of the open dialog share ids).
HWND ButtonOf(HWND dialog, int id) {
  for (HWND child : Children(dialog)) {
    if (GetDlgCtrlID(child) == id && ClassOf(child) == "Button") return child;
  }
  return nullptr;
}

size_t OpenDialogs(Program& program) {
  size_t count = 0;
  for (const Box& box : Look(program).boxes) count += box.fileDialog ? 1 : 0;
  return count;
}

bool Fail(Failure* failure, const char* check, const std::string& detail) {
  failure->check = check;
  failure->detail = detail;
  return false;
}

// Copied by another program, as UTF-16 that the system hands an ANSI box in
// its code page. No window owns the copy, as the walk's thread takes no
// messages. Walks in parallel test processes share the clipboard: each holds
// it until its box has pasted.
bool Paste(HWND box, const std::wstring& text) {
  static const HANDLE turn = CreateMutexA(nullptr, FALSE, "VelomarMonkeyClipboard");
  const DWORD waited = WaitForSingleObject(turn, 10000);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return false;
  bool copied = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000);
  if (copied) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    copied = memory != nullptr && EmptyClipboard();
    if (copied) {
      std::memcpy(GlobalLock(memory), text.c_str(), bytes);
      GlobalUnlock(memory);
      copied = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!copied && memory != nullptr) GlobalFree(memory);
    CloseClipboard();
  }
  DWORD_PTR result = 0;
  if (copied) SendMessageTimeoutW(box, WM_PASTE, 0, 0, SMTO_NORMAL, 5000, &result);
  ReleaseMutex(turn);
  return copied;
}

struct Weighted {
  Where where;
  int id;
  int weight;
};

// How often a user takes each action when it is there; every action stays
// possible, the slow ones (a lyric file load takes most of a second) rarer.
const Weighted kClicks[] = {
    {Where::Main, main_ids::kPlayButton, 24},
    {Where::Main, main_ids::kStopButton, 24},
    {Where::Main, main_ids::kBrowseButton, 16},
    {Where::Main, main_ids::kLoopToggle, 12},
    {Where::Main, main_ids::kLyricsToggle, 12},
    {Where::Main, main_ids::kPauseButton, 12},
    {Where::Kashi, kashi_ids::kAddButton, 32},
    {Where::Kashi, kashi_ids::kSaveButton, 12},
    {Where::Kashi, kashi_ids::kPourInSwitch, 8},
    {Where::KashiList, kashi_list_ids::kBrowseButton, 16},
    {Where::KashiList, kashi_list_ids::kLoadButton, 3},
    {Where::Mini, mini_ids::kMiniStop, 16},
    {Where::Mini, mini_ids::kMiniPlay, 16},
    {Where::Mini, mini_ids::kMiniTopmost, 8},
    {Where::Version, version_ids::kOkButton, 16},
    {Where::KashiEdit, kashi_edit_ids::kEarlierButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kLaterButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kClockButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kInsertButton, 8},
    {Where::KashiEdit, kashi_edit_ids::kDeleteButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kUndoButton, 8},
    {Where::KashiEdit, kashi_edit_ids::kPhraseButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kPlayHereButton, 4},
    {Where::KashiEdit, kashi_edit_ids::kSaveButton, 4},
    {Where::KashiEdit, kashi_edit_ids::kLrcButton, 4},
    {Where::KashiEdit, kashi_edit_ids::kRedoButton, 8},
};
const Weighted kMenus[] = {
    {Where::Main, main_ids::kMenuKashiList, 8}, {Where::Main, main_ids::kMenuKashi, 12},
    {Where::Main, main_ids::kMenuReset, 8},     {Where::Main, main_ids::kMenuMini, 12},
    {Where::Main, main_ids::kMenuVersion, 8},   {Where::Main, main_ids::kMenuKashiEdit, 10}};
const Weighted kBoxes[] = {{Where::Kashi, kashi_ids::kPhraseBox, 16},
                           {Where::Kashi, kashi_ids::kPourInBox, 12},
                           {Where::Kashi, kashi_ids::kFileNameBox, 12},
                           {Where::KashiList, kashi_list_ids::kPathBox, 4},
                           {Where::KashiEdit, kashi_edit_ids::kPhraseBox, 6},
                           {Where::KashiEdit, kashi_edit_ids::kNameBox, 6}};
// The boxes that take lyrics, typed into and pasted into in any script.
const Weighted kLyricBoxes[] = {{Where::Kashi, kashi_ids::kPhraseBox, 8},
                                {Where::Kashi, kashi_ids::kPourInBox, 8},
                                {Where::KashiEdit, kashi_edit_ids::kPhraseBox, 4}};
const Weighted kCloses[] = {{Where::Main, 0, 1},       {Where::Kashi, 0, 8},
                            {Where::KashiList, 0, 12}, {Where::Mini, 0, 12},
                            {Where::Version, 0, 12},   {Where::KashiEdit, 0, 8}};
const Weighted kEscapes[] = {{Where::Kashi, 0, 1},
                             {Where::Kashi, kashi_ids::kPhraseBox, 1},
                             {Where::Kashi, kashi_ids::kPourInBox, 1},
                             {Where::Kashi, kashi_ids::kFileNameBox, 1},
                             {Where::KashiList, 0, 2},
                             {Where::KashiList, kashi_list_ids::kPathBox, 2},
                             {Where::Mini, 0, 2},
                             {Where::Mini, mini_ids::kMiniTopmost, 2},
                             {Where::Version, 0, 2},
                             {Where::Version, version_ids::kOkButton, 2},
                             {Where::KashiEdit, 0, 1}};
// The lyric editor list's keys: undo and redo with Ctrl (n 1), the rest bare.
struct EditorKey {
  int key;
  int control;
  int weight;
};
const EditorKey kEditorKeys[] = {{'Z', 1, 8},       {'Y', 1, 8},      {VK_SUBTRACT, 0, 2},
                                 {VK_ADD, 0, 2},    {VK_SPACE, 0, 2}, {VK_INSERT, 0, 2},
                                 {VK_DELETE, 0, 2}, {VK_F9, 0, 2},    {'Z', 0, 1}};

}  // namespace

std::vector<std::pair<Action, int>> Walk::Options(const View& view) const {
  std::vector<std::pair<Action, int>> options;
  auto add = [&](Kind kind, Where where, int id, int weight) {
    Action action;
    action.kind = kind;
    action.where = where;
    action.id = id;
    options.emplace_back(action, weight);
  };
  for (const Weighted& w : kClicks) {
    HWND window = WindowOf(view, w.where);
    if (Usable(window) && ItemEnabled(window, w.id)) add(Kind::Click, w.where, w.id, w.weight);
  }
  const bool mainUsable = Usable(view.main);
  for (const Weighted& w : kMenus) {
    if (mainUsable) add(Kind::Menu, w.where, w.id, w.weight);
  }
  for (const Weighted& w : kBoxes) {
    if (Usable(WindowOf(view, w.where))) add(Kind::Type, w.where, w.id, w.weight);
  }
  for (const Weighted& w : kLyricBoxes) {
    if (!Usable(WindowOf(view, w.where))) continue;
    add(Kind::Type, w.where, w.id, w.weight);
    options.back().first.n = 1;
    add(Kind::Paste, w.where, w.id, w.weight * 3 / 4);
  }
  // The Kashi form is left open after the main window closed now and then,
  // and the walk stays with it a while.
  const bool kashiOpen = view.form(Where::Kashi) != nullptr;
  for (const Weighted& w : kCloses) {
    int weight = w.weight;
    if (w.where == Where::Main && kashiOpen) weight = 6;
    if (w.where == Where::Kashi && view.main == nullptr) weight = 2;
    if (Usable(WindowOf(view, w.where))) add(Kind::Close, w.where, w.id, weight);
  }
  // Other programs close any window, also a hidden or disabled one, and a
  // box: more often while a box is up, which holds the quits that come.
  const int shut = view.boxes.empty() ? 1 : 4;
  for (int i = 0; i < kForms; ++i) {
    const Where where = static_cast<Where>(i);
    if (WindowOf(view, where) != nullptr) add(Kind::Shut, where, 0, shut);
  }
  for (const Box& box : view.boxes) add(Kind::Shut, OwnerOf(view, box.owner), 1, 1);
  for (const Weighted& w : kEscapes) {
    if (Usable(WindowOf(view, w.where))) add(Kind::Escape, w.where, w.id, w.weight);
  }
  for (const Box& box : view.boxes) {
    if (!Usable(box.window)) continue;
    if (box.fileDialog) {
      for (int file = 0; file < static_cast<int>(File::Count); ++file) {
        add(Kind::AnswerFile, Where::Main, 0, 6);
        options.back().first.n = file;
      }
    } else {
      for (int id : box.buttons) {
        add(Kind::AnswerBox, OwnerOf(view, box.owner), id,
            48 / static_cast<int>(box.buttons.size()));
      }
    }
  }
  if (Usable(view.form(Where::KashiEdit))) {
    for (const EditorKey& k : kEditorKeys) {
      add(Kind::Key, Where::KashiEdit, k.key, k.weight);
      options.back().first.n = k.control;
    }
  }
  AddOverlayOptions(view, overlayLocked_, &options);
  if (view.main != nullptr) {
    add(Kind::Tick, Where::Main, 0, 48);
    add(Kind::Notice, Where::Main, 0, 16);
  }
  return options;
}

// Skipped when what the action needs is not on screen or not usable now.
Walk::Outcome Walk::Apply(const Action& action, Failure* failure) {
  const View view = Look(*program_);
  HWND window = WindowOf(view, action.where);
  switch (action.kind) {
    case Kind::Click: {
      if (!Usable(window) || !ItemEnabled(window, action.id)) return Outcome::Skipped;
      HWND item = GetDlgItem(window, action.id);
      if (action.where == Where::Main && action.id == main_ids::kPauseButton) {
        // The pause button is never shown: its command, as its click sends.
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(main_ids::kPauseButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(item));
        break;
      }
      // The open dialog may come up after the thread has taken further
      // messages; the next step must find it there.
      const bool browse =
          (action.where == Where::Main && action.id == main_ids::kBrowseButton) ||
          (action.where == Where::KashiList && action.id == kashi_list_ids::kBrowseButton);
      const size_t before = browse ? OpenDialogs(*program_) : 0;
      PostMessageA(item, BM_CLICK, 0, 0);
      if (browse && !WaitUntil([&] { return OpenDialogs(*program_) > before; }, 3000)) {
        Fail(failure, "no dialog", "no open dialog came up for the browse button");
        return Outcome::Failed;
      }
      break;
    }
    case Kind::Menu:
      if (!Usable(view.main)) return Outcome::Skipped;
      PostMessageA(view.main, WM_COMMAND, MAKEWPARAM(action.id, 0), 0);
      break;
    case Kind::Type: {
      if (!Usable(window)) return Outcome::Skipped;
      DWORD_PTR result = 0;
      HWND box = GetDlgItem(window, action.id);
      if (action.n == 1) {
        const std::wstring text = Utf8ToWide(action.text);
        SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                            5000, &result);
      } else {
        SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(action.text.c_str()),
                            SMTO_NORMAL, 5000, &result);
      }
      break;
    }
    case Kind::Paste:
      if (!Usable(window)) return Outcome::Skipped;
      if (!Paste(GetDlgItem(window, action.id), Utf8ToWide(action.text))) {
        Fail(failure, "clipboard", "the walk could not put its text on the clipboard");
        return Outcome::Failed;
      }
      break;
    case Kind::Close:
      if (!Usable(window)) return Outcome::Skipped;
      if (action.where == Where::Main) mainClosed_ = true;
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case Kind::Escape: {
      if (!Usable(window)) return Outcome::Skipped;
      HWND target = action.id == 0 ? window : GetDlgItem(window, action.id);
      PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
      break;
    }
    case Kind::Shut: {
      HWND target = action.id == 0 ? window : nullptr;
      for (const Box& box : view.boxes) {
        if (action.id == 1 && target == nullptr && OwnerOf(view, box.owner) == action.where) {
          target = box.window;
          answered_.push_back(box.window);  // a close is an answer
        }
      }
      if (target == nullptr) return Outcome::Skipped;
      if (target == view.main) mainClosed_ = true;
      PostMessageA(target, WM_CLOSE, 0, 0);
      break;
    }
    case Kind::AnswerBox: {
      const Box* chosen = nullptr;
      for (const Box& box : view.boxes) {
        if (Usable(box.window) && !box.fileDialog && OwnerOf(view, box.owner) == action.where &&
            ButtonOf(box.window, action.id) != nullptr && chosen == nullptr) {
          chosen = &box;
        }
      }
      if (chosen == nullptr) return Outcome::Skipped;
      answered_.push_back(chosen->window);
      // The main window's only yes-or-no box asks before it closes.
      if (action.where == Where::Main && action.id == IDYES) mainClosed_ = true;
      PostMessageA(ButtonOf(chosen->window, action.id), BM_CLICK, 0, 0);
      // Hidden at once; destroyed only when its own loop gets control back.
      if (!WaitUntil([&] { return !IsWindowVisible(chosen->window); })) {
        Fail(failure, "box stays", "a message box stays on screen after its button was pressed");
        return Outcome::Failed;
      }
      ++boxes_;
      break;
    }
    case Kind::AnswerFile: {
      const Box* chosen = nullptr;
      for (const Box& box : view.boxes) {
        if (Usable(box.window) && box.fileDialog && chosen == nullptr) chosen = &box;
      }
      if (chosen == nullptr) return Outcome::Skipped;
      answered_.push_back(chosen->window);
      std::string path = FilePath(static_cast<File>(action.n));
      if (chosen->caption == kLrcSaveTitle && !path.empty()) {
        // A new file each time: the walk's files are never replaced.
        path = SavedLrcPath();
        DeleteFileA(path.c_str());
      }
      HWND name = GetDlgItem(chosen->window, 1148);
      if (name == nullptr) name = GetDlgItem(chosen->window, 1152);
      if (!path.empty()) {
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
      }
      PostMessageA(ButtonOf(chosen->window, path.empty() ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
      WaitUntil([&] { return !IsWindowVisible(chosen->window); });
      ++dialogs_;
      break;
    }
    case Kind::Key: {
      if (!Usable(window)) return Outcome::Skipped;
      // The editor reads Ctrl from the thread's keyboard state, as a real key sets it.
      auto hold = [this](BYTE state) {
        program_->RunOnUiThread([state] {
          BYTE keys[256] = {};
          GetKeyboardState(keys);
          keys[VK_CONTROL] = state;
          SetKeyboardState(keys);
        });
      };
      if (action.n == 1) hold(0x80);
      HWND list = GetDlgItem(window, kashi_edit_ids::kLineList);
      PostMessageA(list, WM_KEYDOWN, static_cast<WPARAM>(action.id), 1);
      PostMessageA(list, WM_KEYUP, static_cast<WPARAM>(action.id), 0xC0000001);
      if (action.n == 1) {
        if (!Flush()) {
          Fail(failure, "hang", "the UI thread took no message for 10 s");
          return Outcome::Failed;
        }
        hold(0);
      }
      break;
    }
    case Kind::Tick:
      if (view.main == nullptr) return Outcome::Skipped;
      program_->Tick(action.n);
      break;
    case Kind::Overlay:
      if (!ApplyOverlay(view, action, &overlayLocked_)) return Outcome::Skipped;
      break;
    case Kind::Notice:
      if (view.main == nullptr) return Outcome::Skipped;
      PostMessageA(view.main, RegisterWindowMessageA("VelomarMonkeyNotice"),
                   static_cast<WPARAM>(action.n), 0);
      break;
  }
  return Settle(failure) ? Outcome::Done : Outcome::Failed;
}

}  // namespace velomar::test::monkey
