// Child controls are described by tables and created in table order, each
// given its window's font right away.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace velomar {

struct ControlSpec {
  int id;
  const char* className;
  const char* text;
  DWORD exStyle;
  DWORD style;  // WS_CHILD is always added
  int x, y, width, height;
  // Made with CreateWindowExW: a control that shows or takes lyrics keeps
  // every character, where an ANSI one keeps only what code page 932 has.
  bool unicode = false;
};

void CreateControl(HWND parent, const ControlSpec& row, HFONT font);

template <std::size_t N>
void CreateControls(HWND parent, const ControlSpec (&rows)[N], HFONT font) {
  for (const ControlSpec& row : rows) CreateControl(parent, row, font);
}

// Registers the common control classes (tooltips, list views) the first time
// a window needs them.
void UseCommonControls();

// Text of a window or control, any length.
std::string WindowText(HWND window);
std::string ControlText(HWND parent, int id);
void SetControlText(HWND parent, int id, const std::string& text);
// The same in UTF-8, for Unicode controls (an ANSI one gets what it can hold).
// A label or read-only box that already shows the text is left as it is.
std::string ControlTextUtf8(HWND parent, int id);
void SetControlTextUtf8(HWND parent, int id, const std::string& utf8);
void EnableControl(HWND parent, int id, bool enabled);
bool IsChecked(HWND parent, int id);

// The standard open dialog with the NT4-size request, no proposed name and a
// 260-character path; `filter` is a pair list ending in two NULs. It hands
// back the file's real UTF-16 path, for a file whose name the ANSI code page
// cannot hold; its texts are the program's ANSI ones. False when the user
// cancels or the dialog fails, and `path` is then left alone.
bool AskOpenFileName(HWND owner, const char* filter, const char* title, std::wstring& path);

// The standard save dialog, also wide: it starts in `folder` with `name`
// proposed, adds the chosen filter's extension (else `extension`) to a name
// typed without one and asks before a file is replaced; `chosen`, when
// given, gets the filter's number from 1. False when the user cancels or the
// dialog fails.
bool AskSaveFileName(HWND owner, const char* filter, const char* title, const wchar_t* extension,
                     const std::wstring& folder, const std::wstring& name, std::wstring& path,
                     DWORD* chosen = nullptr);

// Progress shown at screen pace. Under Wine each label change is a request to
// the server, which costs a long load or save far more than its file work:
// a step is shown at most every 30 ms, and the caller shows the last step
// when Late() says it was held back.
class ProgressPace {
 public:
  bool Due();
  bool Late() const { return late_; }

 private:
  static constexpr DWORD kPeriodMs = 30;
  DWORD shownAt_ = GetTickCount() - kPeriodMs;
  bool late_ = false;
};

// Screen rectangle of `reference`, then move `window` to its corner + offset.
void PlaceBeside(HWND window, HWND reference, int dx, int dy, bool fromRightEdge);

}  // namespace velomar
