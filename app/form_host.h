// Opens the program's secondary windows by name and runs each one modally in
// a nested message loop; a form closes itself through CloseForm.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>

namespace velomar {

constexpr char kFormClass[] = "NORMALDLG";
constexpr int kProgramIcon = 102;

// Handles of the forms; set when a form is created, never cleared.
extern HWND VersionWindow;
extern HWND KashiWindow;
extern HWND KashiListWindow;
extern HWND MiniWindow;
extern HWND KashiEditWindow;

// Returns after the form has closed, with the code of the quit message that
// ended its loop; an unknown name returns 0 at once.
int OpenForm(HWND owner, const char* name);

// Every message loop of the program gives each message here first, before
// any form's dialog keys: true when a form's key took it.
bool FormKeys(const MSG& message);

// Re-enables the owner, destroys the form and ends the innermost loop.
void CloseForm(HWND form, int code);

// True while any of the four forms exists.
bool AnyFormOnScreen();
// True while `form`, a form's handle that is kept after it closes, exists.
bool OnScreen(HWND form);

// A message box or open dialog runs a modal loop of its own inside whatever
// loop is running, and re-enables its owner when it is answered. Through
// these, a quit meant for a form's loop waits until the box on top of it is
// gone, and the owner stays disabled until the call has returned and while
// a form it owns is still open.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
bool ShowOpenDialog(OPENFILENAMEW* request);

// True while a box `window` owns has not returned to its caller.
bool WaitsOnBox(HWND window);
// For WM_ENABLE: a box re-enables its owner when answered, also while its
// call still waits for a loop nested inside it, and even when the owner
// was disabled before; a window a form or box still holds is disabled again.
void KeepHeldWindowDisabled(HWND window, bool enabled);

// True when the quit with `code` must wait for the box that is on top of the
// loops; it is then posted when that box closes.
bool DeferQuitWhileBoxOpen(int code);

}  // namespace velomar
