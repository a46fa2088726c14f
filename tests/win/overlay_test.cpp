// The desktop lyrics as a user meets them: opened from the menu over every
// window, clicked through until unlocked, showing the line the song is at,
// and back where it was left at the next start.
#include "forms/overlay.h"

#include <gtest/gtest.h>

#include <string>

#include "forms/main_window.h"
#include "system/app_data.h"
#include "system/wide_path.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

constexpr LONG kLayeredTopmost =
    WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;

POINT Centre(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

UINT MenuState(Program& program, int id) {
  return GetMenuState(GetSubMenu(GetMenu(program.main()), 0), id, MF_BYCOMMAND);
}

std::wstring WideText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(Overlay, OpensClickThroughUnlocksShowsItsLineAndComesBackWhereItWasLeft) {
  const std::string song = MakeWave("overlay.wav", 3000);
  {
    Program program({WidePath(song)});
    HWND main = program.main();
    HWND overlay = OpenByMenu(program, main_ids::kMenuOverlay, &OverlayWindow);
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(ExStyle(overlay) & kLayeredTopmost, kLayeredTopmost) << "locked at first";
    EXPECT_EQ(Style(overlay) & (WS_POPUP | WS_CAPTION), WS_POPUP);
    EXPECT_TRUE(IsWindowUnicode(overlay));
    EXPECT_EQ(MenuState(program, main_ids::kMenuOverlay) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(MenuState(program, main_ids::kMenuOverlayUnlock) & (MF_CHECKED | MF_GRAYED), 0u);
    const POINT centre = Centre(overlay);
    EXPECT_NE(WindowFromPoint(centre), overlay) << "a click goes to the window under it";

    Command(program, main, main_ids::kMenuOverlayUnlock);
    EXPECT_EQ(WindowFromPoint(centre), overlay);
    RECT r{};
    GetWindowRect(overlay, &r);
    EXPECT_EQ(SendMessageW(overlay, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCAPTION);
    EXPECT_EQ(SendMessageW(overlay, WM_NCHITTEST, 0, MAKELPARAM(r.left + 1, centre.y)), HTLEFT);
    EXPECT_EQ(SendMessageW(overlay, WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, r.bottom - 2)),
              HTBOTTOMRIGHT);
    EXPECT_EQ(MenuState(program, main_ids::kMenuOverlayUnlock) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    // Ctrl+Alt+L is the program's while the overlay shows, and locks it.
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'L'));
    PostMessageA(main, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'L'));
    program.Flush();
    EXPECT_NE(WindowFromPoint(centre), overlay);
    EXPECT_EQ(MenuState(program, main_ids::kMenuOverlayUnlock) & MF_CHECKED, 0u);

    // 안녕 世界, a translation row and a word stamp on each word, as the song
    // plays and stops.
    program.RunOnUiThread([] {
      Lyrics.Load([](LyricTable& table) {
        table.time[0] = 5;
        table.phrase[0] = "\xec\x95\x88\xeb\x85\x95 \xe4\xb8\x96\xe7\x95\x8c";
        table.detail[0].rows = {"Hello, world"};
        table.detail[0].words = {{0, 0}, {7, 40}};
        return true;
      });
    });
    Click(program, main, main_ids::kLyricsToggle);  // 歌詞を表示
    program.BlockRealTicks(true);
    Click(program, main, main_ids::kPlayButton);
    program.Tick(6);
    EXPECT_EQ(WideText(overlay), L"\uc548\ub155 \u4e16\u754c");
    Click(program, main, main_ids::kStopButton);
    EXPECT_EQ(WideText(overlay), L"");

    Command(program, main, main_ids::kMenuOverlayUnlock);
    SetWindowPos(overlay, nullptr, 100, 200, 500, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(program.CloseAndWait(), 0);
  }
  Program again;
  HWND overlay = FindTopLevel(again.thread(), "VelomarOverlay");
  ASSERT_NE(overlay, nullptr) << "open again, as it was when the program ended";
  ExpectPlaced(overlay, 100, 200, 500, 120);
  EXPECT_EQ(ExStyle(overlay) & kLayeredTopmost, kLayeredTopmost) << "locked again";
  Command(again, again.main(), main_ids::kMenuOverlay);
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_EQ(MenuState(again, main_ids::kMenuOverlayUnlock) & MF_GRAYED,
            static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(ReadBytes(ShownPath(SettingsFilePath(L"overlay.ini"))),
            "[overlay]\r\nleft=100\r\ntop=200\r\nwidth=500\r\nheight=120\r\nopen=0\r\n");
}

}  // namespace
}  // namespace velomar::test
