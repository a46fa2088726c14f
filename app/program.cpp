#include "app/program.h"

#include <windows.h>

#include "forms/forms.h"
#include "forms/given_files.h"
#include "forms/main_window.h"
#include "forms/overlay.h"
#include "playback/playback.h"
#include "system/late_dll.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar {

namespace {

using CommandLineToArgv = LPWSTR*(WINAPI*)(LPCWSTR, int*);

// Where the program's own name ends, by the rule Windows splits argument 0
// with: quoted up to the next quote, else up to the first blank.
const wchar_t* AfterProgramName(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  return line;
}

bool OnlyBlanks(const wchar_t* text) {
  for (; *text != L'\0'; ++text) {
    if (*text != L' ' && *text != L'\t') return false;
  }
  return true;
}

}  // namespace

std::vector<std::wstring> CommandLineFiles() {
  const wchar_t* line = GetCommandLineW();
  std::vector<std::wstring> files;
  if (OnlyBlanks(AfterProgramName(line))) return files;
  const auto split = LateCall<CommandLineToArgv>("shell32.dll", "CommandLineToArgvW");
  int count = 0;
  LPWSTR* arguments = split != nullptr ? split(line, &count) : nullptr;
  if (arguments == nullptr) return files;
  for (int i = 1; i < count; ++i) files.emplace_back(arguments[i]);
  LocalFree(arguments);
  return files;
}

int RunProgram(const std::vector<std::wstring>& files) {
  // Every start begins from the same state, also a second one in the same
  // process.
  Playback = PlaybackState{};
  Lyrics = LyricDocument{};
  UseProgramForms();
  CreateShellObjects(FillSettingsMenu);
  RegisterWindowClasses(MainWindowProc);

  HWND window = CreateWindowExA(
      0, kMainClass, "Velomar", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
      CW_USEDEFAULT, CW_USEDEFAULT, 367, 220, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  int exitCode = 0;
  if (window == nullptr) {
    // Without a main window no quit message would ever come.
    exitCode = 1;
  } else {
    RestoreOverlay();
    OpenGivenFiles(files);
    // Through the form host, which knows it as the loop the main window's
    // commands return to.
    RunLoop(nullptr);
  }
  if (Shell().MenuBar != nullptr) ReleaseShellObjects();
  ReleaseFontsAndBrush();
  return exitCode;
}

}  // namespace velomar
