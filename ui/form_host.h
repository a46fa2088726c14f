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

// Handles of the forms; set when a form is created, never cleared.
extern HWND VersionWindow;
extern HWND KashiWindow;
extern HWND KashiListWindow;
extern HWND MiniWindow;
extern HWND KashiEditWindow;

// One kind of form: its name (also its title), where its handle is kept, its
// window and its procedure, installed right after creation.
struct FormKind {
  const char* name;
  HWND* handle;
  DWORD exStyle;
  int width, height;
  bool smallIcon;
  WNDPROC procedure;
  // Keys that work wherever the focus is in the form's windows: true when
  // the message was such a key and has been used. May be null.
  bool (*keys)(const MSG& message);
};

// The forms OpenForm knows, looked up in this order with names compared
// exactly; handed over once at start-up and kept for the whole run.
void UseForms(const FormKind* kinds, std::size_t count);
template <std::size_t N>
void UseForms(const FormKind (&kinds)[N]) {
  UseForms(kinds, N);
}

// Returns after the form has closed, with the code of the quit message that
// ended its loop; an unknown name, or a form that cannot be created, returns
// 0 at once with nothing disabled.
int OpenForm(HWND owner, const char* name);

// Every message loop of the program gives each message here first, before
// any form's dialog keys: true when a form's key took it.
bool FormKeys(const MSG& message);

// Takes the thread's messages until a quit comes, passing them to `form`'s
// keyboard handling first (none for the outer loop); returns the quit's code.
int RunLoop(HWND form);

// Re-enables the owner, destroys the form and ends the innermost loop; a
// form that is held (see IsHeld) stays as it is.
void CloseForm(HWND form, int code);

// True while any of the forms exists.
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
