// Taking an action the way a user's input arrives: posted clicks, keys and
// commands, text set into boxes or pasted from the clipboard, answers to
// message boxes and open dialogs, posted ticks and notices.
#include <windows.h>

#include <cstring>
#include <string>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "system/wide_path.h"
#include "tests/win/monkey.h"

namespace velomar::test::monkey {
namespace {

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

}  // namespace

Walk::Outcome Walk::Apply(const Action& action, Failure* failure) {
  static const struct {
    Kind kind;
    Doer doer;
  } kDoers[] = {
      {Kind::Click, &Walk::DoClick},
      {Kind::Menu, &Walk::DoMenu},
      {Kind::Type, &Walk::DoType},
      {Kind::Paste, &Walk::DoPaste},
      {Kind::Close, &Walk::DoClose},
      {Kind::Escape, &Walk::DoEscape},
      {Kind::Shut, &Walk::DoShut},
      {Kind::AnswerBox, &Walk::DoAnswerBox},
      {Kind::AnswerFile, &Walk::DoAnswerFile},
      {Kind::Key, &Walk::DoKey},
      {Kind::Tick, &Walk::DoTick},
      {Kind::Notice, &Walk::DoNotice},
      {Kind::Overlay, &Walk::DoOverlay},
  };
  const View view = Look(*program_);
  for (const auto& entry : kDoers) {
    if (entry.kind != action.kind) continue;
    const Outcome outcome = (this->*entry.doer)(view, action, failure);
    if (outcome != Outcome::Done) return outcome;
    return Settle(failure) ? Outcome::Done : Outcome::Failed;
  }
  return Outcome::Skipped;
}

Walk::Outcome Walk::DoClick(const View& view, const Action& action, Failure* failure) {
  HWND window = view.window(action.where);
  if (!Usable(window) || !Enabled(window, action.id)) return Outcome::Skipped;
  HWND item = GetDlgItem(window, action.id);
  if (action.where == Where::Main && action.id == main_ids::kPauseButton) {
    // The pause button is never shown: its command, as its click sends.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(main_ids::kPauseButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item));
    return Outcome::Done;
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
  return Outcome::Done;
}

Walk::Outcome Walk::DoMenu(const View& view, const Action& action, Failure*) {
  if (!Usable(view.main)) return Outcome::Skipped;
  PostMessageA(view.main, WM_COMMAND, MAKEWPARAM(action.id, 0), 0);
  return Outcome::Done;
}

Walk::Outcome Walk::DoType(const View& view, const Action& action, Failure*) {
  HWND window = view.window(action.where);
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
  return Outcome::Done;
}

Walk::Outcome Walk::DoPaste(const View& view, const Action& action, Failure* failure) {
  HWND window = view.window(action.where);
  if (!Usable(window)) return Outcome::Skipped;
  if (!Paste(GetDlgItem(window, action.id), Utf8ToWide(action.text))) {
    Fail(failure, "clipboard", "the walk could not put its text on the clipboard");
    return Outcome::Failed;
  }
  return Outcome::Done;
}

Walk::Outcome Walk::DoClose(const View& view, const Action& action, Failure*) {
  HWND window = view.window(action.where);
  if (!Usable(window)) return Outcome::Skipped;
  if (action.where == Where::Main) mainClosed_ = true;
  PostMessageA(window, WM_CLOSE, 0, 0);
  return Outcome::Done;
}

Walk::Outcome Walk::DoEscape(const View& view, const Action& action, Failure*) {
  HWND window = view.window(action.where);
  if (!Usable(window)) return Outcome::Skipped;
  HWND target = action.id == 0 ? window : GetDlgItem(window, action.id);
  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  return Outcome::Done;
}

Walk::Outcome Walk::DoShut(const View& view, const Action& action, Failure*) {
  HWND target = action.id == 0 ? view.window(action.where) : nullptr;
  for (const Box& box : view.boxes) {
    if (action.id == 1 && target == nullptr && OwnerOf(view, box.owner) == action.where) {
      target = box.window;
      answered_.push_back(box.window);  // a close is an answer
    }
  }
  if (target == nullptr) return Outcome::Skipped;
  if (target == view.main) mainClosed_ = true;
  PostMessageA(target, WM_CLOSE, 0, 0);
  return Outcome::Done;
}

Walk::Outcome Walk::DoAnswerBox(const View& view, const Action& action, Failure* failure) {
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
  return Outcome::Done;
}

Walk::Outcome Walk::DoAnswerFile(const View& view, const Action& action, Failure*) {
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
  return Outcome::Done;
}

Walk::Outcome Walk::DoKey(const View& view, const Action& action, Failure* failure) {
  HWND window = view.window(action.where);
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
  return Outcome::Done;
}

Walk::Outcome Walk::DoTick(const View& view, const Action& action, Failure*) {
  if (view.main == nullptr) return Outcome::Skipped;
  program_->Tick(action.n);
  return Outcome::Done;
}

Walk::Outcome Walk::DoNotice(const View& view, const Action& action, Failure*) {
  if (view.main == nullptr) return Outcome::Skipped;
  PostMessageA(view.main, RegisterWindowMessageA("VelomarMonkeyNotice"),
               static_cast<WPARAM>(action.n), 0);
  return Outcome::Done;
}

Walk::Outcome Walk::DoOverlay(const View& view, const Action& action, Failure*) {
  return ApplyOverlay(view, action, &overlayLocked_) ? Outcome::Done : Outcome::Skipped;
}

}  // namespace velomar::test::monkey
