#include "ui/controls.h"

#include "system/late_dll.h"

// after windows.h, which they need
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "system/wide_path.h"
#include "ui/form_host.h"

namespace velomar {

void CreateControl(HWND parent, const ControlSpec& row, HFONT font) {
  HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id));
  const DWORD style = WS_CHILD | row.style;
  HWND control =
      row.unicode
          ? CreateWindowExW(row.exStyle, WidePath(row.className).c_str(),
                            WidePath(row.text).c_str(), style, row.x, row.y, row.width, row.height,
                            parent, id, GetModuleHandleA(nullptr), nullptr)
          : CreateWindowExA(row.exStyle, row.className, row.text, style, row.x, row.y, row.width,
                            row.height, parent, id, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void UseCommonControls() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
  registered = late::InitCommonControlsEx(&classes) != FALSE;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

std::string ControlText(HWND parent, int id) { return WindowText(GetDlgItem(parent, id)); }

void SetControlText(HWND parent, int id, const std::string& text) {
  SetDlgItemTextA(parent, id, text.c_str());
}

namespace {

std::string WindowTextUtf8(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return WideToUtf8(text);
}

// A box the user types into: setting its text also moves the caret and
// empties its undo, so it is set even to the text it holds.
bool TakesTyping(HWND control) {
  char name[8] = "";
  return GetClassNameA(control, name, sizeof name) > 0 && lstrcmpiA(name, "Edit") == 0 &&
         (GetWindowLongA(control, GWL_STYLE) & ES_READONLY) == 0;
}

// Whether a label or a read-only box already shows `utf8`. Setting it again
// would repaint it for nothing, under Wine a round of server requests and
// drawing each time: the lyric line is given every phrase as its tick comes,
// and lines in a row may repeat one. Long texts are not read back.
bool AlreadyShows(HWND control, const std::string& utf8) {
  constexpr std::size_t kComparedBytes = 1024;
  if (utf8.size() > kComparedBytes) return false;
  if (static_cast<std::size_t>(GetWindowTextLengthW(control)) > utf8.size()) return false;
  return WindowTextUtf8(control) == utf8 && !TakesTyping(control);
}

}  // namespace

std::string ControlTextUtf8(HWND parent, int id) { return WindowTextUtf8(GetDlgItem(parent, id)); }

void SetControlTextUtf8(HWND parent, int id, const std::string& utf8) {
  HWND control = GetDlgItem(parent, id);
  if (AlreadyShows(control, utf8)) return;
  // An ANSI control is given its own code page, as it would be typed into it.
  if (IsWindowUnicode(control)) {
    SetWindowTextW(control, Utf8ToWide(utf8).c_str());
    return;
  }
  // A piece at a time: a phrase of tens of MB is not held thrice.
  constexpr std::size_t kPiece = 64 << 10;
  std::string ansi;
  for (std::size_t start = 0, end = 0; start < utf8.size(); start = end) {
    end = std::min(start + kPiece, utf8.size());
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    ansi += ShownPath(Utf8ToWide(utf8.substr(start, end - start)));
  }
  SetWindowTextA(control, ansi.c_str());
}

void EnableControl(HWND parent, int id, bool enabled) {
  EnableWindow(GetDlgItem(parent, id), enabled ? TRUE : FALSE);
}

bool IsChecked(HWND parent, int id) {
  return SendDlgItemMessageA(parent, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ProgressPace::Due() {
  late_ = GetTickCount() - shownAt_ < kPeriodMs;
  if (!late_) shownAt_ = GetTickCount();
  return !late_;
}

void PlaceBeside(HWND window, HWND reference, int dx, int dy, bool fromRightEdge) {
  RECT rect{};
  GetWindowRect(reference, &rect);
  const int x = (fromRightEdge ? rect.right : rect.left) + dx;
  SetWindowPos(window, HWND_TOP, x, rect.top + dy, 0, 0, SWP_NOSIZE);
}

namespace {

// A filter's pairs and the empty string that ends them.
std::wstring WideFilter(const char* filter) {
  std::size_t size = 0;
  while (filter[size] != '\0' || filter[size + 1] != '\0') ++size;
  return WidePath(std::string(filter, size + 2));
}

}  // namespace

bool AskOpenFileName(HWND owner, const char* filter, const char* title, std::wstring& path) {
  const std::wstring wideFilter = WideFilter(filter);
  const std::wstring wideTitle = WidePath(title);
  std::vector<wchar_t> file(MAX_PATH, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  request.hwndOwner = owner;
  request.lpstrFilter = wideFilter.c_str();
  request.nFilterIndex = 0;
  request.lpstrFile = file.data();
  request.nMaxFile = MAX_PATH;
  request.lpstrTitle = wideTitle.c_str();
  request.Flags = 0;
  if (!ShowOpenDialog(&request)) return false;
  path = file.data();
  return true;
}

bool AskSaveFileName(HWND owner, const char* filter, const char* title, const wchar_t* extension,
                     const std::wstring& folder, const std::wstring& name, std::wstring& path,
                     DWORD* chosen) {
  const std::wstring wideFilter = WideFilter(filter);
  const std::wstring wideTitle = WidePath(title);
  // Room for the longest path Windows knows, not only MAX_PATH.
  std::vector<wchar_t> file(32768, L'\0');
  name.copy(file.data(), file.size() - 1);
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  request.lpstrFilter = wideFilter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  request.lpstrTitle = wideTitle.c_str();
  request.lpstrDefExt = extension;
  request.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!ShowSaveDialog(&request)) return false;
  path = file.data();
  if (chosen != nullptr) *chosen = request.nFilterIndex;
  return true;
}

}  // namespace velomar
