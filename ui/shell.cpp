#include "ui/shell.h"

#include "ui/form_host.h"
#include "ui/wave_strip.h"

namespace velomar {

namespace {

ShellObjects shell;

HFONT CreateProgramFont() {
  return CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                     "ＭＳ Ｐゴシック");
}

void CreateMenus(void (*fillSettings)(HMENU)) {
  shell.MenuBar = CreateMenu();
  shell.SettingsMenu = CreatePopupMenu();
  fillSettings(shell.SettingsMenu);

  MENUITEMINFOA bar{};
  bar.cbSize = sizeof(bar);
  bar.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  bar.fType = MFT_STRING;
  bar.wID = 0;
  bar.hSubMenu = shell.SettingsMenu;
  bar.dwTypeData = const_cast<char*>("設定");
  InsertMenuItemA(shell.MenuBar, 0, TRUE, &bar);
}

// Forms get their own procedure right after creation; until then they
// behave as plain windows.
LRESULT CALLBACK FormClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterWindowClass(const char* name, WNDPROC procedure, HICON icon, HICON smallIcon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = shell.FaceBrush.get();
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

}  // namespace

ShellObjects& Shell() { return shell; }

void ReleaseShellObjects() {
  // DestroyMenu on the bar takes its pop-up along; never free a handle twice.
  if (shell.MenuBar != nullptr) DestroyMenu(shell.MenuBar);
  if (shell.SettingsMenu != nullptr && IsMenu(shell.SettingsMenu)) DestroyMenu(shell.SettingsMenu);
  shell.MenuBar = nullptr;
  shell.SettingsMenu = nullptr;
  // The unowned Kashi form can outlive the main window and still paints with
  // its font and the class brush: those go after the outer loop then.
  if (!AnyFormOnScreen()) ReleaseFontsAndBrush();
}

void CreateShellObjects(void (*fillSettings)(HMENU)) {
  shell.MainFont.Reset(CreateProgramFont());
  shell.VersionFont.Reset(CreateProgramFont());
  shell.KashiFont.Reset(CreateProgramFont());
  shell.KashiListFont.Reset(CreateProgramFont());
  shell.MiniFont.Reset(CreateProgramFont());
  shell.FaceBrush.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  CreateMenus(fillSettings);
}

void RegisterWindowClasses(WNDPROC mainProcedure) {
  RegisterWindowClass(kFormClass, FormClassProc, LoadIconA(nullptr, IDI_APPLICATION),
                      LoadIconA(nullptr, IDI_WINLOGO));
  const HICON programIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIcon));
  RegisterWindowClass(kMainClass, mainProcedure, programIcon, programIcon);
  RegisterWaveStripClass();
}

void ReleaseFontsAndBrush() {
  shell.MainFont.Reset();
  shell.VersionFont.Reset();
  shell.KashiFont.Reset();
  shell.KashiListFont.Reset();
  shell.MiniFont.Reset();
  shell.FaceBrush.Reset();
}

}  // namespace velomar
