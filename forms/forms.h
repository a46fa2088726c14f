// The window procedures of the main window and the forms; the forms reach
// the form host through the table UseProgramForms hands it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/form_host.h"

namespace velomar {

// Hands the program's forms to the form host; once, before any OpenForm.
void UseProgramForms();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The lyric file last chosen in the KashiList form, as shown (ANSI) and as
// Windows names it; outlives the form.
extern std::string LyricFilePath;
extern std::wstring LyricFileWidePath;

LRESULT CALLBACK VersionFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KashiFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KashiEditFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KashiListFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Keys of a form that work wherever the focus is in its windows: true when
// the message was such a key and has been used.
bool KashiKeys(const MSG& message);
bool KashiEditKeys(const MSG& message);
// F7 and F8, in the main window and every form that shows the lyrics.
bool ShiftKeys(const MSG& message);

LRESULT CALLBACK MiniFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velomar
