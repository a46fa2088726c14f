// Opens the program's secondary windows by name and runs each one modally in
// a nested message loop; a form closes itself through CloseForm.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>

#include <cstddef>
#include <string>

namespace velomar {

constexpr char kFormClass[] = "NORMALDLG";
constexpr int kProgramIcon = 102;

// The windows the host keeps handles of: the main window and the forms.
enum class Form : int { Main, Version, Kashi, KashiList, Mini, KashiEdit, PressOffset, Count };
constexpr unsigned FormBit(Form form) { return 1u << static_cast<int>(form); }

// A form's handle, kept from its creation until the next start-up (a closed
// form's handle stays, see OnScreen); null before the form first opened.
HWND FormWindow(Form form);
inline HWND MainWindow() { return FormWindow(Form::Main); }
inline HWND VersionWindow() { return FormWindow(Form::Version); }
inline HWND KashiWindow() { return FormWindow(Form::Kashi); }
inline HWND KashiListWindow() { return FormWindow(Form::KashiList); }
inline HWND MiniWindow() { return FormWindow(Form::Mini); }
inline HWND KashiEditWindow() { return FormWindow(Form::KashiEdit); }

// 1 exactly while the Mini form is open: lyric phrases then go to its label
// instead of the main window's lyric line.
int MiniModeActive();

// One kind of form: its name (also its title), its window and its
// procedure, installed right after creation.
struct FormKind {
  const char* name;
  Form form;
  DWORD exStyle;
  int width, height;
  bool smallIcon;
  WNDPROC procedure;
  // The form's own keys, wherever the focus is in its windows: true when
  // the message was such a key and has been used. May be null.
  bool (*keys)(const MSG& message);
  // Where it opens: this far from the main window's top left corner (its
  // top right one with fromRightEdge).
  int besideX, besideY;
  bool fromRightEdge;
};

// A key that works in several windows: wherever the focus is in one of the
// windows of `where`, the host hands it to `act`, which says whether it took
// it. `key` is a WM_KEYDOWN's virtual key, or a hot key's id for WM_HOTKEY.
struct SharedKey {
  UINT message;
  WPARAM key;
  unsigned where;
  bool (*act)(Form in, const MSG& message);
};

// The program's forms, looked up in this order with names compared exactly,
// and its shared keys; handed over once at each start-up and kept for the
// run. Every handle starts null again.
void UseForms(const FormKind* kinds, std::size_t count, const SharedKey* keys,
              std::size_t keyCount);
template <std::size_t N, std::size_t K>
void UseForms(const FormKind (&kinds)[N], const SharedKey (&keys)[K]) {
  UseForms(kinds, N, keys, K);
}
// The main window, from its creation on.
void KeepMainWindow(HWND window);

// Returns after the form has closed, with the code of the quit message that
// ended its loop; an unknown name, or a form that cannot be created, returns
// 0 at once with nothing disabled. A form already open comes forward instead
// (only an unowned one can be asked for twice): a second one would take its
// handle, and the first one's commands would act on the second's boxes.
int OpenForm(HWND owner, const char* name);

// Every message loop of the program gives each message here first, before
// any form's dialog keys: true when a shared key or a form's own key took it.
bool FormKeys(const MSG& message);
// WM_HOTKEY of the window that holds the shared hot keys.
void OnSharedHotKey(HWND window, WPARAM id);

// WM_CLOSE of the main window or a form. False while a form or box holds
// it: only another program can close it then, and the form or box would go
// down with it, its command cut short. The last window that keeps the
// program running (the main window and the forms without an owner) asks
// first whether unsaved lyrics may be lost. True when the window may go.
bool MayClose(HWND window);

// The window a box about the lyrics belongs to: the main window while it
// is there (a box with a dead owner never shows), else `form`.
HWND BoxOwner(HWND form);

// Takes the thread's messages until a quit comes, passing them to `form`'s
// keyboard handling first (none for the outer loop); returns the quit's code.
int RunLoop(HWND form);

// Re-enables the owner, destroys the form and ends the innermost loop; a
// form that is held (see IsHeld) stays as it is.
void CloseForm(HWND form, int code);

// True while any of the forms (not the main window) exists.
bool AnyFormOnScreen();
// True while `form`, a form's handle that is kept after it closes, exists.
bool OnScreen(HWND form);

// A message box or file dialog runs a modal loop of its own inside whatever
// loop is running, and re-enables its owner when it is answered. Through
// these, a quit meant for a form's loop waits until the command that showed
// the box has returned to that loop (so every box of the command waits for
// the user), and the owner stays disabled until the call has returned and
// while a form it owns is still open.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The same with a Unicode text, for a box that names a phrase.
int ShowWideMessageBox(HWND owner, const std::wstring& text, const char* caption, UINT type);
bool ShowOpenDialog(OPENFILENAMEW* request);
bool ShowSaveDialog(OPENFILENAMEW* request);

// True while a form `window` owns is open or a box it owns has not returned
// to its caller: the window is disabled then, and refuses to close.
bool IsHeld(HWND window);
// True while a box `window` owns has not returned to its caller.
bool WaitsOnBox(HWND window);
// For WM_ENABLE: a box re-enables its owner when answered, also while its
// call still waits for a loop nested inside it, and even when the owner
// was disabled before; a window a form or box still holds is disabled again.
void KeepHeldWindowDisabled(HWND window, bool enabled);

// Hands the quit with `code` to the loop on top, instead of a WM_QUIT that
// the next message box would take for its own and close: a box holds it
// until its command has returned to the loop below, which it then ends; a
// form's or the outer loop ends once the message it is dispatching is done.
// False when no loop runs.
bool HandQuitToLoop(int code);

}  // namespace velomar
