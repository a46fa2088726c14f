// Forms open by name from the menu, run modally in their own loops and give
// control back when they close, also when they nest.
#include "ui/form_host.h"

#include <gtest/gtest.h>

#include "forms/main_window.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

struct FormCase {
  int command;
  HWND (*handle)();
  LONG exStyle;
  int width, height;
  bool owned;
  bool smallIcon;
};

const FormCase kFormCases[] = {
    {main_ids::kMenuVersion, &VersionWindow, WS_EX_TOOLWINDOW, 230, 126, true, false},
    {main_ids::kMenuKashi, &KashiWindow, 0, 414, 466, false, true},
    {main_ids::kMenuKashiList, &KashiListWindow, 0, 499, 145, true, true},
    {main_ids::kMenuMini, &MiniWindow, WS_EX_TOOLWINDOW, 281, 90, true, false},
};

TEST(FormHost, EachMenuCommandOpensItsFormWithItsOwnerSizeAndIcon) {
  Program program;
  HWND main = program.main();
  const HICON programIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102));
  for (const FormCase& c : kFormCases) {
    SCOPED_TRACE(c.command);
    HWND form = OpenByMenu(program, c.command, c.handle);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(ClassOf(form), "NORMALDLG");
    EXPECT_EQ(static_cast<DWORD>(Style(form)) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                                 WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(ExStyle(form) & WS_EX_TOOLWINDOW, c.exStyle);
    RECT r{};
    GetWindowRect(form, &r);
    EXPECT_EQ(r.right - r.left, c.width);
    EXPECT_EQ(r.bottom - r.top, c.height);
    EXPECT_EQ(GetWindow(form, GW_OWNER), c.owned ? main : nullptr);
    EXPECT_EQ(IsWindowEnabled(main) != 0, !c.owned) << "owned forms are modal";
    const HICON small = reinterpret_cast<HICON>(SendMessageA(form, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(small, c.smallIcon ? programIcon : nullptr);
    CloseByCaption(program, form);
    EXPECT_TRUE(IsWindowEnabled(main)) << "the owner comes back when the form closes";
    EXPECT_TRUE(IsWindowVisible(main));
  }
  EXPECT_EQ(program.CloseAndWait(), 0) << "every form's loop has ended";
}

TEST(FormHost, UnknownNamesOpenNothing) {
  EXPECT_EQ(OpenForm(nullptr, "kashi"), 0);
  EXPECT_EQ(OpenForm(nullptr, "Versions"), 0);
  EXPECT_EQ(OpenForm(nullptr, ""), 0);
  EXPECT_EQ(FindWindowA("NORMALDLG", nullptr), nullptr);
}

TEST(FormHost, MainWindowStaysUsableWhileTheKashiFormIsOpen) {
  Program program;
  HWND main = program.main();
  HWND kashi = OpenByMenu(program, main_ids::kMenuKashi, &KashiWindow);
  ASSERT_NE(kashi, nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));
  Click(program, main, main_ids::kLoopToggle);
  EXPECT_TRUE(Checked(main, main_ids::kLoopToggle));
  HWND version = OpenByMenu(program, main_ids::kMenuVersion, &VersionWindow);
  ASSERT_NE(version, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main));
  CloseByCaption(program, version);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_TRUE(IsWindow(kashi));
  CloseByCaption(program, kashi);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

TEST(FormHost, ClosingKashiBeforeANestedMiniEndsTheInnermostLoopOnly) {
  Program program;
  HWND main = program.main();
  HWND kashi = OpenByMenu(program, main_ids::kMenuKashi, &KashiWindow);
  HWND mini = OpenByMenu(program, main_ids::kMenuMini, &MiniWindow);
  ASSERT_NE(kashi, nullptr);
  ASSERT_NE(mini, nullptr);
  CloseByCaption(program, kashi);
  EXPECT_TRUE(IsWindow(mini)) << "the quit ends Mini's loop, the form stays";
  EXPECT_TRUE(IsWindowVisible(mini));
  EXPECT_FALSE(IsWindowEnabled(main));
  CloseByCaption(program, mini);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(program.Finished()) << "the outer loop runs on";
  EXPECT_EQ(program.CloseAndWait(), 0) << "no nested loop is left to take the quit";
}

TEST(FormHost, ClosingTheMainWindowUnderAnOpenKashiFormEndsWithThatForm) {
  Program program;
  HWND kashi = OpenByMenu(program, main_ids::kMenuKashi, &KashiWindow);
  ASSERT_NE(kashi, nullptr);
  const HFONT kashiFont = Shell().KashiFont.get();
  const HBRUSH brush = Shell().FaceBrush.get();
  PostMessageA(program.main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitGone(program.main()));
  program.Flush();
  EXPECT_FALSE(program.Finished());
  EXPECT_TRUE(IsWindowVisible(kashi));
  // The form is still on screen and paints with these.
  EXPECT_EQ(GetObjectType(kashiFont), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  RedrawWindow(kashi, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PostMessageA(kashi, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return program.Finished(); }, 10000));
  EXPECT_EQ(program.ExitCode(), 0);
  EXPECT_EQ(GetObjectType(kashiFont), 0u);
  EXPECT_EQ(GetObjectType(brush), 0u);
}

// Refuses the creation of every form, as a system out of window handles or
// desktop heap does.
LRESULT CALLBACK RefuseForms(int code, WPARAM window, LPARAM lParam) {
  if (code == HCBT_CREATEWND && ClassOf(reinterpret_cast<HWND>(window)) == "NORMALDLG") return 1;
  return CallNextHookEx(nullptr, code, window, lParam);
}

TEST(FormHost, AFormThatCannotBeCreatedDisablesNothingAndRunsNoLoop) {
  Program program;
  HWND main = program.main();
  HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseForms, nullptr, program.thread());
  ASSERT_NE(hook, nullptr);
  for (const FormCase& c : kFormCases) {
    SCOPED_TRACE(c.command);
    Command(program, main, c.command);
    EXPECT_EQ(c.handle(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowVisible(main));
  }
  UnhookWindowsHookEx(hook);
  // A loop left running would take the main window's quit.
  EXPECT_EQ(program.CloseAndWait(), 0);
}

}  // namespace
}  // namespace velomar::test
