// The bench's reach into the program's windows: reading controls, giving
// them input, finding top-level windows, and answering message boxes and the
// open dialog.
#include <string>
#include <vector>

#include "tests/win/bench.h"

namespace velomar::test {
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindows(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string Text(HWND window) {
  char buffer[4096] = {};
  const int got = GetWindowTextA(window, buffer, sizeof(buffer));
  return std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0);
}

std::string Text(HWND parent, int id) { return Text(GetDlgItem(parent, id)); }
HWND Item(HWND parent, int id) { return GetDlgItem(parent, id); }
bool Enabled(HWND parent, int id) { return IsWindowEnabled(GetDlgItem(parent, id)) != 0; }
bool Visible(HWND parent, int id) {
  return (GetWindowLongA(GetDlgItem(parent, id), GWL_STYLE) & WS_VISIBLE) != 0;
}
bool Checked(HWND parent, int id) {
  return SendDlgItemMessageA(parent, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG ExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

std::string ScreenPixels(const RECT& r, BITMAPINFOHEADER& info) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  info = BITMAPINFOHEADER{};
  info.biSize = sizeof(info);
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int stride = (w * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * h, '\0');
  GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

RECT ClientRectIn(HWND parent, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(parent, id), &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

void Click(Program& program, HWND parent, int id) {
  PostMessageA(GetDlgItem(parent, id), BM_CLICK, 0, 0);
  program.Flush();
}

void Command(Program& program, HWND window, int id, int code) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
  program.Flush();
}

void TypeText(HWND parent, int id, const std::string& text) {
  SendMessageA(GetDlgItem(parent, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND FindTopLevel(DWORD thread, const char* className, const char* title) {
  for (HWND window : ThreadWindows(thread)) {
    if (!IsWindowVisible(window)) continue;
    if (className != nullptr && ClassOf(window) != className) continue;
    if (title != nullptr && Text(window) != title) continue;
    return window;
  }
  return nullptr;
}

HWND WaitForTopLevel(DWORD thread, const char* className, const char* title, DWORD ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevel(thread, className, title)) != nullptr; }, ms);
  return found;
}

bool WaitGone(HWND window, DWORD ms) {
  return WaitUntil([&] { return !IsWindow(window); }, ms);
}

bool MessageBoxOpen(Program& program) {
  program.Flush();
  return FindTopLevel(program.thread(), "#32770") != nullptr;
}

namespace {

// A shown dialog window of the thread, owned by `owner` unless that is null.
HWND WaitForDialog(DWORD thread, HWND owner, DWORD ms) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : ThreadWindows(thread)) {
          if (IsWindowVisible(window) && ClassOf(window) == "#32770" &&
              (owner == nullptr || GetWindow(window, GW_OWNER) == owner)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      ms);
  return found;
}

}  // namespace

MessageBoxSeen WaitForMessageBox(Program& program, DWORD ms, HWND owner) {
  MessageBoxSeen seen;
  seen.program = &program;
  seen.window = WaitForDialog(program.thread(), owner, ms);
  if (seen.window == nullptr) return seen;
  // Every box of the program says something: one found before its text was
  // set (seen once under Wine) is read when the text is there.
  WaitUntil([&] { return !Text(seen.window, 0xFFFF).empty(); }, 2000);
  seen.owner = GetWindow(seen.window, GW_OWNER);
  seen.caption = Text(seen.window);
  seen.text = Text(seen.window, 0xFFFF);
  seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(seen.window, 1088, STM_GETICON, 0, 0));
  for (HWND child : Children(seen.window)) {
    if (ClassOf(child) == "Button" && IsWindowVisible(child)) {
      seen.buttons.push_back(GetDlgCtrlID(child));
    }
  }
  return seen;
}

void Answer(const MessageBoxSeen& box, int buttonId) {
  PostMessageA(GetDlgItem(box.window, buttonId), BM_CLICK, 0, 0);
  // Hidden at once; destroyed only when its call returns, which a loop
  // nested inside the box's own may hold up.
  WaitUntil([&] { return !IsWindowVisible(box.window); });
  // The box is gone before MessageBoxA has returned to its caller.
  if (box.program != nullptr) box.program->Flush();
}

HICON SystemIcon(LPCSTR id) { return LoadIconA(nullptr, id); }

std::string AnswerOpenDialog(Program& program, const std::string& path, DWORD ms, HWND owner) {
  HWND dialog = WaitForDialog(program.thread(), owner, ms);
  if (dialog == nullptr) return std::string("<no dialog>");
  const std::string title = Text(dialog);
  HWND nameBox = GetDlgItem(dialog, 1148);
  if (nameBox == nullptr) nameBox = GetDlgItem(dialog, 1152);
  // Several controls may share id 1; the open button is the Button.
  HWND ok = nullptr;
  HWND cancel = nullptr;
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) != "Button") continue;
    if (GetDlgCtrlID(child) == IDOK) ok = child;
    if (GetDlgCtrlID(child) == IDCANCEL) cancel = child;
  }
  if (path.empty()) {
    PostMessageA(cancel, BM_CLICK, 0, 0);
  } else {
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(ok, BM_CLICK, 0, 0);
  }
  WaitUntil([&] { return !IsWindowVisible(dialog); });
  program.Flush();
  return title;
}

}  // namespace velomar::test
