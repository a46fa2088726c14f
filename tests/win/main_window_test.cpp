// The main window as a user first sees it, its menu, its toggles, the reset
// command and the way out.
#include "forms/main_window.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

constexpr LONG kEdge = WS_EX_STATICEDGE;
constexpr LONG kToggle = BS_AUTOCHECKBOX | BS_CENTER | BS_PUSHLIKE;

const ControlRow kMainControls[] = {
    {main_ids::kPlayButton, "Button", kPlay, kEdge, WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 10,
     126, 85, 35},
    {main_ids::kStopButton, "Button", kStop, kEdge, WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 184,
     126, 85, 35},
    {main_ids::kPathLine, "Edit", "", kEdge, WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 91, 66, 167,
     18},
    {main_ids::kBrowseButton, "Button", kBrowse, kEdge, WS_VISIBLE | BS_PUSHBUTTON, 263, 65, 88,
     22},
    {main_ids::kFileNameCaption, "Static", kFileNameCaption, 0, WS_VISIBLE | SS_LEFT, 15, 13, 64,
     12},
    {main_ids::kFileNameLabel, "Static", kFileNamePlaceholder, kEdge, WS_VISIBLE | SS_CENTER, 82,
     11, 274, 17},
    {main_ids::kStatusCaption, "Static", kStatusCaption, 0, WS_VISIBLE | SS_LEFT, 15, 43, 95, 12},
    {main_ids::kStatusLabel, "Static", "0", kEdge, WS_VISIBLE | SS_CENTER, 111, 43, 160, 15},
    {main_ids::kLoopToggle, "Button", kLoop, kEdge, WS_VISIBLE | kToggle, 272, 116, 80, 24},
    {main_ids::kPathCaption, "Static", kPathCaption, 0, WS_VISIBLE | SS_LEFT, 15, 68, 72, 12},
    {main_ids::kLyricsToggle, "Button", kShowLyrics, kEdge, WS_VISIBLE | kToggle, 272, 141, 80, 24},
    {main_ids::kLyricLine, "Edit", "", kEdge, WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL | ES_CENTER,
     5, 91, 353, 17},
    {main_ids::kPauseButton, "Button", kPause, kEdge, WS_DISABLED | BS_PUSHBUTTON, 97, 126, 85, 35},
};

TEST(MainWindow, ShowsItsThirteenControlsInIdOrderAtTheirPlaces) {
  Program program;
  HWND main = program.main();
  EXPECT_EQ(Text(main), kMainTitle);
  ExpectControls(main, kMainControls, Shell().MainFont.get(), WS_BORDER);
  EXPECT_FALSE(Enabled(main, main_ids::kPlayButton));
  EXPECT_FALSE(Enabled(main, main_ids::kStopButton));
  EXPECT_TRUE(Enabled(main, main_ids::kBrowseButton));
  EXPECT_FALSE(IsWindowVisible(Item(main, main_ids::kPauseButton)));
  EXPECT_FALSE(Checked(main, main_ids::kLoopToggle));
  EXPECT_FALSE(Checked(main, main_ids::kLyricsToggle));
}

TEST(MainWindow, IsAFixedSizeWindowThatCanBeMinimised) {
  Program program;
  HWND main = program.main();
  EXPECT_EQ(static_cast<DWORD>(Style(main)) & 0xFFFF0000u & ~WS_CLIPSIBLINGS, 0x10CA0000u);
  EXPECT_EQ(ExStyle(main) & ~WS_EX_WINDOWEDGE, WS_EX_ACCEPTFILES) << "files may be dropped on it";
  RECT r{};
  GetWindowRect(main, &r);
  EXPECT_EQ(r.right - r.left, 367);
  EXPECT_EQ(r.bottom - r.top, 220);
  EXPECT_EQ(ClassOf(main), "NORMAL0");
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "NORMAL0", &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(Shell().FaceBrush.get()));
  EXPECT_NE(wc.hIcon, nullptr);
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "NORMALDLG", &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
  ShowWindow(main, SW_MINIMIZE);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(main) != 0; }));
}

TEST(MainWindow, FontsAreTheProportionalJapaneseGothicAtTwelvePixels) {
  Program program;
  const HFONT fonts[] = {Shell().MainFont.get(), Shell().VersionFont.get(), Shell().KashiFont.get(),
                         Shell().KashiListFont.get(), Shell().MiniFont.get()};
  for (HFONT font : fonts) {
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfOutPrecision, OUT_STROKE_PRECIS);
    EXPECT_EQ(lf.lfClipPrecision, CLIP_STROKE_PRECIS);
    EXPECT_EQ(lf.lfQuality, DRAFT_QUALITY);
    EXPECT_EQ(lf.lfPitchAndFamily, FF_SWISS | DEFAULT_PITCH);
    EXPECT_STREQ(lf.lfFaceName, kFontFace);
  }
  // The face must really be there, or Japanese shows as boxes.
  HDC dc = GetDC(program.main());
  HGDIOBJ old = SelectObject(dc, Shell().MainFont.get());
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof(face), face);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(program.main(), dc);
  EXPECT_STREQ(face, kFontFace);
  EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
}

// The face has no Hangul and no simplified Han; the bench links a font that
// has them. Each character differs from a blank, from the box drawn for a
// missing glyph and from the others.
TEST(MainWindow, HangulAndChineseDrawAsRealGlyphsInTheProgramsFont) {
  Program program;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(32, 32, 1, 1, nullptr);  // 1 bit a pixel: 128 bytes
  SelectObject(dc, bitmap);
  SelectObject(dc, Shell().MainFont.get());
  std::set<std::string> seen;
  for (wchar_t c : std::wstring(L" \uffff\uc548\ub155\u8fd9\u662f\u3042")) {  // 안녕 这是 あ
    std::string bits(128, '\0');
    PatBlt(dc, 0, 0, 32, 32, WHITENESS);
    ExtTextOutW(dc, 2, 2, 0, nullptr, &c, 1, nullptr);
    GetBitmapBits(bitmap, 128, bits.data());
    EXPECT_TRUE(seen.insert(bits).second || c == L'\uffff') << "U+" << std::hex << int(c);
  }
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(MainWindow, SettingsMenuHoldsFifteenPositionsInOrder) {
  Program program;
  HMENU bar = GetMenu(program.main());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  char text[256] = {};
  GetMenuStringA(bar, 0, text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ(text, kSettings);
  HMENU settings = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(settings), 15);
  constexpr char kOverlay[] =
      "\x83"
      "f\x83X\x83N\x83g\x83"
      "b\x83v\x89\xcc\x8e\x8c";  // デスクトップ歌詞
  const std::string unlock =
      std::string(kOverlay) + "\x82\xcc\x8c\xc5\x92\xe8\x82\xf0\x89\xf0\x8f\x9c";
  struct Item {
    UINT id;
    const char* text;
    UINT state = 0;  // nothing to unlock until the desktop lyrics show
  } const expected[] = {
      {main_ids::kMenuKashiList, kMenuLyricList},
      {main_ids::kMenuKashi, kMenuAddLyrics},
      {main_ids::kMenuKashiEdit, "\x89\xcc\x8e\x8c\x82\xcc\x95\xd2\x8f\x57"},  // 歌詞の編集
      {main_ids::kMenuReset, kMenuReset},
      {0, nullptr},
      {main_ids::kMenuMini, kMenuMini},
      {0, nullptr},
      {main_ids::kMenuVersion, kMenuVersion},
      {0, nullptr},
      {main_ids::kMenuOverlay, kOverlay},
      {main_ids::kMenuOverlayUnlock, unlock.c_str(), MF_GRAYED},
      {0, nullptr},
      {main_ids::kMenuPressOffset, "\x91\xc5\x8c\xae\x82\xcc\x95\xe2\x90\xb3"},  // 打鍵の補正
      {0, nullptr},
      {0, "\x8d\xc4\x90\xb6\x91\xac\x93\x78"}};  // 再生速度
  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE(i);
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
    char buffer[256] = {};
    info.dwTypeData = buffer;
    info.cch = sizeof(buffer);
    ASSERT_TRUE(GetMenuItemInfoA(settings, i, TRUE, &info));
    if (expected[i].text == nullptr) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    } else {
      EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING));
      EXPECT_EQ(info.wID, expected[i].id);
      EXPECT_STREQ(buffer, expected[i].text);
      EXPECT_EQ(info.fState & (MFS_GRAYED | MFS_CHECKED), expected[i].state);
    }
  }
  // Its speeds, 100% checked at every start.
  HMENU speeds = GetSubMenu(settings, 14);
  ASSERT_EQ(GetMenuItemCount(speeds), 3);
  const char* const texts[] = {"100%", "75%", "50%"};
  for (int i = 0; i < 3; ++i) {
    GetMenuStringA(speeds, i, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, texts[i]);
    EXPECT_EQ(GetMenuItemID(speeds, i), static_cast<UINT>(1027 + i));
    EXPECT_EQ(GetMenuState(speeds, i, MF_BYPOSITION) & MF_CHECKED, i == 0 ? MF_CHECKED : 0u);
  }
}

TEST(MainWindow, TogglesOnlyChangeTheirOwnLook) {
  Program program;
  HWND main = program.main();
  Click(program, main, main_ids::kLoopToggle);
  Click(program, main, main_ids::kLyricsToggle);
  EXPECT_TRUE(Checked(main, main_ids::kLoopToggle));
  EXPECT_TRUE(Checked(main, main_ids::kLyricsToggle));
  EXPECT_EQ(Text(main, main_ids::kStatusLabel), "0");
  EXPECT_FALSE(Enabled(main, main_ids::kPlayButton));
  EXPECT_FALSE(Enabled(main, main_ids::kStopButton));
  EXPECT_TRUE(Enabled(main, main_ids::kBrowseButton));
  EXPECT_FALSE(MessageBoxOpen(program));
  Click(program, main, main_ids::kLoopToggle);
  EXPECT_FALSE(Checked(main, main_ids::kLoopToggle));
}

TEST(MainWindow, ResetShowsTwoBoxesAroundClearingTheTable) {
  Program program;
  PressedBefore(7);
  EditLyrics([](LyricTable& table) {
    table.time[0] = 23;
    table.phrase[0] = "a";
    table.time[3000] = -5;
    table.phrase[3000] = "z";
  });
  Command(program, program.main(), main_ids::kMenuReset);

  MessageBoxSeen first = WaitForMessageBox(program);
  ASSERT_NE(first.window, nullptr);
  EXPECT_EQ(first.caption, kResetCaption);
  EXPECT_EQ(first.text, kResetText);
  EXPECT_EQ(first.owner, program.main());
  EXPECT_EQ(first.icon, SystemIcon(IDI_ASTERISK));
  EXPECT_EQ(first.buttons, std::vector<int>{IDOK});
  EXPECT_EQ(Lyrics.Table().time[0], 23) << "nothing is cleared before the first box is closed";
  Answer(first, IDOK);

  MessageBoxSeen second = WaitForMessageBox(program);
  ASSERT_NE(second.window, nullptr);
  EXPECT_EQ(second.caption, kResetDoneCaption);
  EXPECT_EQ(second.text, kResetDoneText);
  EXPECT_EQ(second.owner, program.main());
  EXPECT_EQ(second.icon, SystemIcon(IDI_ASTERISK));
  for (int i = 0; i < 3001; ++i) {
    ASSERT_EQ(Lyrics.Table().time[i], 0) << i;
    ASSERT_EQ(Phrase(i), "") << i;
  }
  EXPECT_EQ(Lyrics.Table().AddIndex, 7);
  EXPECT_EQ(Lyrics.Table().RemainingLines, 2993);
  EXPECT_EQ(Lyrics.Table().AddedCount, 7);
  Answer(second, IDOK);
  EXPECT_FALSE(MessageBoxOpen(program));
}

TEST(MainWindow, ClosingEndsTheProgramWithCodeZeroAndFreesTheShellObjects) {
  Program program;
  const HFONT font = Shell().MainFont.get();
  const HBRUSH brush = Shell().FaceBrush.get();
  const HMENU menu = GetMenu(program.main());
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(program.CloseAndWait(), 0);
  EXPECT_FALSE(IsWindow(program.main()));
  EXPECT_EQ(GetObjectType(font), 0u);
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_FALSE(MessageBoxOpen(program));
}

}  // namespace
}  // namespace velomar::test
