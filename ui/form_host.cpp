#include "ui/form_host.h"

#include <cstring>
#include <utility>
#include <vector>

#include "system/late_dll.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/lyric_store.h"

namespace velomar {

namespace {

// The modal loops running now, innermost last: the outer loop, the forms'
// nested loops and the boxes' own loops. A box holds the quits that arrived
// while it was up; a loop keeps those of the boxes its command showed until
// that command has returned to it, so that no later box of the same command
// takes one.
struct Loop {
  bool box;
  HWND owner;  // a box's owner; for a form's loop, the form
  std::vector<int> quits;
};

struct Host {
  // The program's forms and shared keys, as handed over at start-up.
  const FormKind* forms = nullptr;
  std::size_t formCount = 0;
  const SharedKey* keys = nullptr;
  std::size_t keyCount = 0;
  HWND windows[static_cast<int>(Form::Count)] = {};
  std::vector<Loop> loops;
  // The form CloseForm is closing: it no longer holds its owner.
  HWND leaving = nullptr;
};
Host host;

const FormKind* FindForm(const char* name) {
  for (std::size_t i = 0; i < host.formCount; ++i) {
    if (std::strcmp(host.forms[i].name, name) == 0) return &host.forms[i];
  }
  return nullptr;
}

HWND& Handle(Form form) { return host.windows[static_cast<int>(form)]; }

// The program's window that holds `window` (itself or a child), if any.
bool FindForm(HWND window, Form& found) {
  for (int i = 0; i < static_cast<int>(Form::Count); ++i) {
    HWND top = host.windows[i];
    if (OnScreen(top) && (window == top || IsChild(top, window))) {
      found = static_cast<Form>(i);
      return true;
    }
  }
  return false;
}

bool SharedKeys(const MSG& message) {
  Form in;
  if (!FindForm(message.hwnd, in)) return false;
  for (std::size_t i = 0; i < host.keyCount; ++i) {
    const SharedKey& key = host.keys[i];
    if (key.message != message.message || key.key != message.wParam) continue;
    if ((key.where & FormBit(in)) != 0 && key.act(in, message)) return true;
  }
  return false;
}

// Whether `window` must stay disabled: a form it owns is on screen (other
// than the one leaving), or a box it owns has not returned to its caller yet. A
// box answered while a loop nested inside its own still runs returns only
// when that loop ends; its owner's command is still waiting for it.
bool HeldDisabled(HWND window) {
  for (std::size_t i = 0; i < host.formCount; ++i) {
    HWND form = Handle(host.forms[i].form);
    if (form != host.leaving && OnScreen(form) && GetWindow(form, GW_OWNER) == window) return true;
  }
  return WaitsOnBox(window);
}

void EnableUnlessHeld(HWND window) {
  if (window != nullptr && IsWindow(window)) {
    EnableWindow(window, HeldDisabled(window) ? FALSE : TRUE);
  }
}

void PostQuit(int code) {
  if (!HandQuitToLoop(code)) PostMessageA(nullptr, WM_QUIT, static_cast<WPARAM>(code), 0);
}

// Hands quits on to the loop on top: a box holds them until it returns, a
// form's loop or the outer loop ends once the command it is dispatching has
// returned to it.
void HandOn(std::vector<int> quits) {
  if (host.loops.empty()) {
    for (int code : quits) PostQuit(code);
    return;
  }
  std::vector<int>& held = host.loops.back().quits;
  held.insert(held.end(), quits.begin(), quits.end());
}

// Runs one box: its loop is known while it runs, and when it ends its owner
// gets the state the forms need and the quits it held go to the loop below.
// Posting them at once would end the next box the same command shows.
template <typename Run>
auto RunBox(HWND owner, Run run) {
  host.loops.push_back(Loop{true, owner, {}});
  const auto result = run();
  std::vector<int> quits = std::move(host.loops.back().quits);
  host.loops.pop_back();
  EnableUnlessHeld(owner);
  HandOn(std::move(quits));
  return result;
}

}  // namespace

void UseForms(const FormKind* kinds, std::size_t count, const SharedKey* keys,
              std::size_t keyCount) {
  host = Host{};
  host.forms = kinds;
  host.formCount = count;
  host.keys = keys;
  host.keyCount = keyCount;
}

void KeepMainWindow(HWND window) { Handle(Form::Main) = window; }

HWND FormWindow(Form form) { return Handle(form); }

int MiniModeActive() { return OnScreen(MiniWindow()) ? 1 : 0; }

int OpenForm(HWND owner, const char* name) {
  const FormKind* kind = FindForm(name);
  if (kind == nullptr) return 0;
  if (OnScreen(Handle(kind->form))) {
    SetForegroundWindow(Handle(kind->form));
    return 0;
  }
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND form =
      CreateWindowExA(kind->exStyle, kFormClass, kind->name, WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                      CW_USEDEFAULT, kind->width, kind->height, owner, nullptr, instance, nullptr);
  // Out of window handles or desktop heap: a loop without its form would
  // never end, and a disabled owner would never come back.
  if (form == nullptr) return 0;
  Handle(kind->form) = form;
  SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kind->procedure));
  SendMessageA(form, WM_INITDIALOG, 0, 0);
  PlaceBeside(form, MainWindow(), kind->besideX, kind->besideY, kind->fromRightEdge);
  if (kind->smallIcon) {
    SendMessageA(form, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon))));
  }
  ShowWindow(form, SW_SHOW);
  if (owner != nullptr) EnableWindow(owner, FALSE);
  return RunLoop(form);
}

int RunLoop(HWND form) {
  host.loops.push_back(Loop{false, form, {}});
  int code = 0;
  for (;;) {
    MSG message{};
    // Unicode messages: a character typed into a lyric box that code page 932
    // lacks (Hangul from an IME) reaches it as typed.
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      code = static_cast<int>(message.wParam);
      break;
    }
    if (!FormKeys(message) && (form == nullptr || !IsDialogMessageW(form, &message))) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    // The command has returned: a quit its boxes held ends this loop now,
    // and any further one the loop below.
    std::vector<int>& held = host.loops.back().quits;
    if (!held.empty()) {
      code = held.front();
      held.erase(held.begin());
      break;
    }
  }
  std::vector<int> further = std::move(host.loops.back().quits);
  host.loops.pop_back();
  HandOn(std::move(further));
  return code;
}

bool FormKeys(const MSG& message) {
  if (message.message == WM_KEYDOWN && SharedKeys(message)) return true;
  for (std::size_t i = 0; i < host.formCount; ++i) {
    if (host.forms[i].keys != nullptr && host.forms[i].keys(message)) return true;
  }
  return false;
}

void OnSharedHotKey(HWND window, WPARAM id) {
  MSG message{};
  message.hwnd = window;
  message.message = WM_HOTKEY;
  message.wParam = id;
  SharedKeys(message);
}

bool MayClose(HWND window) {
  if (IsHeld(window)) return false;
  for (HWND other : host.windows) {
    // Another window that keeps the program running: this one is not last.
    if (other != window && OnScreen(other) && GetWindow(other, GW_OWNER) == nullptr) return true;
  }
  return MayLoseUnsavedAdds(window);
}

HWND BoxOwner(HWND form) { return OnScreen(MainWindow()) ? MainWindow() : form; }

void CloseForm(HWND form, int code) {
  // Only another program can close a disabled form; the box or form that
  // holds it would go down with it, its command cut short.
  if (IsHeld(form)) return;
  host.leaving = form;
  EnableUnlessHeld(GetWindow(form, GW_OWNER));
  host.leaving = nullptr;
  DestroyWindow(form);
  // The form's own loop ends, also under a form opened after it: that one
  // keeps its loop and its dialog keys, and this one ends once it is back.
  for (Loop& loop : host.loops) {
    if (!loop.box && loop.owner == form && form != nullptr) {
      loop.quits.push_back(code);
      return;
    }
  }
  PostQuit(code);
}

bool AnyFormOnScreen() {
  for (std::size_t i = 0; i < host.formCount; ++i) {
    if (OnScreen(Handle(host.forms[i].form))) return true;
  }
  return false;
}

bool OnScreen(HWND form) { return form != nullptr && IsWindow(form); }

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return RunBox(owner, [&] { return MessageBoxA(owner, text, caption, type); });
}

int ShowWideMessageBox(HWND owner, const std::wstring& text, const char* caption, UINT type) {
  const std::wstring wideCaption = WidePath(caption);
  return RunBox(owner, [&] { return MessageBoxW(owner, text.c_str(), wideCaption.c_str(), type); });
}

bool ShowOpenDialog(OPENFILENAMEW* request) {
  return RunBox(request->hwndOwner, [&] { return late::GetOpenFileNameW(request) != FALSE; });
}

bool ShowSaveDialog(OPENFILENAMEW* request) {
  return RunBox(request->hwndOwner, [&] { return late::GetSaveFileNameW(request) != FALSE; });
}

bool IsHeld(HWND window) { return HeldDisabled(window); }

bool WaitsOnBox(HWND window) {
  for (const Loop& loop : host.loops) {
    if (loop.box && loop.owner == window) return true;
  }
  return false;
}

void KeepHeldWindowDisabled(HWND window, bool enabled) {
  if (enabled && HeldDisabled(window)) EnableWindow(window, FALSE);
}

bool HandQuitToLoop(int code) {
  if (host.loops.empty()) return false;
  host.loops.back().quits.push_back(code);
  return true;
}

}  // namespace velomar
