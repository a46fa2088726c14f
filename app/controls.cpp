#include "app/controls.h"

// after windows.h, which it needs
#include <commdlg.h>

#include <vector>

#include "app/form_host.h"

namespace velomar {

void CreateControl(HWND parent, const ControlSpec& row, HFONT font) {
  HWND control = CreateWindowExA(row.exStyle, row.className, row.text, WS_CHILD | row.style, row.x,
                                 row.y, row.width, row.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
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

bool AskOpenFileName(HWND owner, const char* filter, const char* title, std::string& path) {
  std::vector<char> file(MAX_PATH, '\0');
  OPENFILENAMEA request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = owner;
  request.lpstrFilter = filter;
  request.nFilterIndex = 0;
  request.lpstrFile = file.data();
  request.nMaxFile = MAX_PATH;
  request.lpstrTitle = title;
  request.Flags = 0;
  if (!ShowOpenDialog(&request)) return false;
  path = file.data();
  return true;
}

}  // namespace velomar
