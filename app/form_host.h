// Opens the program's secondary windows by name and runs each one modally in
// a nested message loop; a form closes itself through CloseForm.
#pragma once

#include <windows.h>

namespace velomar {

constexpr char kFormClass[] = "NORMALDLG";
constexpr int kProgramIcon = 102;

// Handles of the forms; set when a form is created, never cleared.
extern HWND VersionWindow;
extern HWND KashiWindow;
extern HWND KashiListWindow;
extern HWND MiniWindow;

// Returns after the form has closed, with the code of the quit message that
// ended its loop; an unknown name returns 0 at once.
int OpenForm(HWND owner, const char* name);

// Re-enables the owner, destroys the form and ends the innermost loop.
void CloseForm(HWND form, int code);

// True while any of the four forms exists.
bool AnyFormOnScreen();

}  // namespace velomar
