// The fonts, the brush, the menu and the two window classes that every
// window of the program shares, made at start-up and released at exit.
#pragma once

#include <windows.h>

#include "ui/owned.h"

namespace velomar {

constexpr char kMainClass[] = "NORMAL0";

struct ShellObjects {
  FontOwner MainFont;
  FontOwner VersionFont;
  FontOwner KashiFont;
  FontOwner KashiListFont;
  FontOwner MiniFont;
  BrushOwner FaceBrush;
  HMENU MenuBar = nullptr;
  HMENU SettingsMenu = nullptr;
};

ShellObjects& Shell();

// The five fonts, the brush and the menus, once at start-up; the main
// window's code fills the 設定 pop-up.
void CreateShellObjects(void (*fillSettings)(HMENU));
// The forms' class, the main window's, whose procedure is given, and the
// waveform strip's.
void RegisterWindowClasses(WNDPROC mainProcedure);

// Called once from the main window's destruction. The menus go at once; the
// fonts and the brush stay while a form that paints with them is on screen.
void ReleaseShellObjects();

// The fonts and the brush alone, once no window paints with them.
void ReleaseFontsAndBrush();

}  // namespace velomar
