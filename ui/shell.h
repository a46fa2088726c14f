// Process entry and exit: the fonts, the brush, the menu and the two window
// classes that every window of the program shares, and the outer loop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/owned.h"

namespace velomar {

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

// Called once from the main window's destruction. The menus go at once; the
// fonts and the brush stay while a form that paints with them is on screen.
void ReleaseShellObjects();

// Start-up, outer loop and exit sequence; returns the process exit code.
// `files`, from the command line, are opened once the main window is up.
int RunProgram(const std::vector<std::wstring>& files = {});

}  // namespace velomar
