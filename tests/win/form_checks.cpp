#include "tests/win/form_checks.h"

#include "forms/kashi_edit_form.h"
#include "forms/kashi_list_form.h"

// after windows.h, which it needs
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace velomar::test {

void Key(Program& program, HWND window, WPARAM key, bool repeat, bool control) {
  auto hold = [&program](BYTE state) {
    program.RunOnUiThread([state] {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      keys[VK_CONTROL] = state;
      SetKeyboardState(keys);
    });
  };
  if (control) hold(0x80);
  PostMessageA(window, WM_KEYDOWN, key, repeat ? 0x40000001 : 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
  program.Flush();
  if (control) hold(0);
}

void SelectLine(Program& program, HWND editor, int index) {
  LVITEMA item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(GetDlgItem(editor, kashi_edit_ids::kLineList), LVM_SETITEMSTATE, index,
               reinterpret_cast<LPARAM>(&item));
  program.Flush();
}

HWND OpenByMenu(Program& program, int command, HWND (*handle)()) {
  // A closed form's handle stays until the next one opens.
  const HWND before = handle();
  const bool wasOpen = before != nullptr && IsWindow(before);
  Command(program, program.main(), command);
  HWND form = nullptr;
  WaitUntil([&] {
    form = handle();
    return form != nullptr && IsWindowVisible(form) && (!wasOpen || form != before);
  });
  program.Flush();
  return form;
}

HWND LoadInList(Program& program, const std::string& path) {
  HWND list = OpenKashiList(program);
  EXPECT_NE(list, nullptr);
  Click(program, list, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, path);
  Click(program, list, kashi_list_ids::kLoadButton);
  return list;
}

void CloseByCaption(Program& program, HWND form) {
  PostMessageA(form, WM_CLOSE, 0, 0);
  WaitGone(form);
  program.Flush();
}

RECT MoveMain(Program& program, int x, int y) {
  SetWindowPos(program.main(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  program.Flush();
  RECT placed{};
  GetWindowRect(program.main(), &placed);
  return placed;
}

void ExpectPlaced(HWND form, int left, int top, int width, int height) {
  RECT r{};
  GetWindowRect(form, &r);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width) << "moved, not resized";
  EXPECT_EQ(r.bottom - r.top, height);
}

void ExpectControls(HWND window, const ControlRow* rows, size_t count, HFONT font, LONG addedBits) {
  const std::vector<HWND> children = Children(window);
  ASSERT_EQ(children.size(), count);
  const LONG checkedHigh = static_cast<LONG>(0xFFFF0000u) & ~addedBits;
  for (size_t i = 0; i < count; ++i) {
    const ControlRow& e = rows[i];
    SCOPED_TRACE(e.id);
    HWND control = children[i];
    EXPECT_EQ(GetDlgCtrlID(control), e.id) << "creation order";
    EXPECT_EQ(ClassOf(control), e.className);
    EXPECT_EQ(Text(control), e.text);
    EXPECT_EQ(ExStyle(control) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), e.exStyle);
    EXPECT_EQ(Style(control) & checkedHigh, (WS_CHILD | e.style) & checkedHigh);
    EXPECT_EQ(Style(control) & 0xFFFF, e.style & 0xFFFF);
    EXPECT_FALSE(Style(control) & WS_TABSTOP);
    EXPECT_FALSE(Style(control) & WS_GROUP);
    RECT r = ClientRectIn(window, e.id);
    EXPECT_EQ(r.left, e.x);
    EXPECT_EQ(r.top, e.y);
    EXPECT_EQ(r.right - r.left, e.w);
    EXPECT_EQ(r.bottom - r.top, e.h);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), font);
  }
}

}  // namespace velomar::test
