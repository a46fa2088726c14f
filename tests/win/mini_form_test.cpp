// The compact view: its controls, where it stands and what happens to the
// main window, the phrases it shows, and its Stop and Play.
#include "forms/mini_form.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/forms.h"
#include "forms/main_window.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

constexpr char kMiniTitle[] =
    "\x8fk\x8f\xac\x83\x82\x81[\x83h\x81@Velomar =\x83\x94\x83"
    "F\x83\x8d\x83}=";
constexpr char kTitleCaption[] =
    "\x8b\xc8\x96\xbc\x81"
    "F";  // 曲名：
constexpr char kLyricCaption[] =
    "\x89\xcc\x8e\x8c\x81"
    "F";  // 歌詞：
constexpr char kTitleHere[] = "\x8b\xc8\x96\xbc\x82\xf0\x8d\x9f\x8f\x88\x82\xc9\x95\x5c\x8e\xa6";
constexpr char kLyricHere[] = "\x89\xcc\x8e\x8c\x82\xf0\x8d\x9f\x8f\x88\x82\xc9\x95\x5c\x8e\xa6";
constexpr char kAlwaysOnTop[] = "\x8f\xed\x82\xc9\x8d\xc5\x91O\x96\xca\x95\x5c\x8e\xa6";
constexpr char kFirst[] = "\x88\xea\x94\xd4";   // 一番
constexpr char kSecond[] = "\x93\xf1\x94\xd4";  // 二番
constexpr char kThird[] = "\x8eO\x94\xd4";      // 三番
constexpr char kFourth[] = "\x8el\x94\xd4";     // 四番

bool Topmost(HWND form) { return (ExStyle(form) & WS_EX_TOPMOST) != 0; }

void OpenSong(Program& program, const std::string& path) {
  PostMessageA(Item(program.main(), main_ids::kBrowseButton), BM_CLICK, 0, 0);
  AnswerOpenDialog(program, path);
}

void SetPhrases(std::initializer_list<std::pair<int, const char*>> entries) {
  EditLyrics([&](LyricTable& table) {
    table = LyricTable{};
    int i = 0;
    for (const auto& entry : entries) {
      table.time[i] = entry.first;
      table.phrase[i] = entry.second;
      ++i;
    }
  });
}

TEST(MiniForm, ShowsItsSevenControlsInTableOrder) {
  Program program;
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form), kMiniTitle);
  EXPECT_EQ(MiniModeActive(), 1);
  const ControlRow expected[] = {
      {mini_ids::kMiniTitleCaption, "Static", kTitleCaption, 0, WS_VISIBLE | SS_CENTER, 7, 3, 30,
       12},
      {mini_ids::kMiniLyricCaption, "Static", kLyricCaption, 0, WS_VISIBLE | SS_CENTER, 7, 18, 30,
       12},
      {mini_ids::kMiniTitleLabel, "Static", "", 0, WS_VISIBLE | SS_LEFT, 42, 3, 227,
       12},  // no song opened yet
      {mini_ids::kMiniLyricLabel, "Static", kLyricHere, 0, WS_VISIBLE | SS_LEFT, 42, 18, 227, 12},
      {mini_ids::kMiniStop, "Button", kStop, WS_EX_STATICEDGE, WS_VISIBLE | BS_PUSHBUTTON, 218, 41,
       51, 21},
      {mini_ids::kMiniTopmost, "Button", kAlwaysOnTop, 0, WS_VISIBLE | BS_AUTOCHECKBOX, 11, 45, 104,
       15},
      {mini_ids::kMiniPlay, "Button", kPlay, WS_EX_STATICEDGE, WS_VISIBLE | BS_PUSHBUTTON, 164, 41,
       51, 21},
  };
  ExpectControls(form, expected, Shell().MiniFont.get());
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniStop)) << "both buttons start usable";
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniPlay));
  EXPECT_FALSE(Checked(form, mini_ids::kMiniTopmost));
  EXPECT_FALSE(Topmost(form));
  CloseByCaption(program, form);
  EXPECT_EQ(MiniModeActive(), 0);
}

TEST(MiniForm, StandsTenPixelsFromTheMainWindowWhichHidesAndComesBack) {
  Program program;
  const POINT places[] = {{35, 48}, {600, 411}};
  for (const POINT& place : places) {
    SCOPED_TRACE(place.x);
    const RECT main = MoveMain(program, place.x, place.y);
    ASSERT_EQ(main.left, place.x);
    HWND form = OpenMini(program);
    ASSERT_NE(form, nullptr);
    ExpectPlaced(form, main.left + 10, main.top + 10, 281, 90);
    EXPECT_FALSE(IsWindowVisible(program.main()));
    EXPECT_FALSE(IsWindowEnabled(program.main()));
    // No taskbar button: the only window on screen is a tool window.
    EXPECT_EQ(FindTopLevel(program.thread(), nullptr), form);
    EXPECT_TRUE(ExStyle(form) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ExStyle(form) & WS_EX_APPWINDOW);
    CloseByCaption(program, form);
    EXPECT_TRUE(IsWindowVisible(program.main()));
    EXPECT_TRUE(IsWindowEnabled(program.main()));
    RECT after{};
    GetWindowRect(program.main(), &after);
    EXPECT_TRUE(EqualRect(&main, &after)) << "back where it was";
  }
}

TEST(MiniForm, TitleLabelShowsTheOpenedSongsFileTitle) {
  Program program;
  OpenSong(program, MakeWave("mini title.wav", 300));
  ASSERT_TRUE(Enabled(program.main(), main_ids::kPlayButton)) << "the song opened";
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  const std::string title = Text(form, mini_ids::kMiniTitleLabel);
  EXPECT_TRUE(title == "mini title.wav" || title == "mini title") << title;
  EXPECT_EQ(title, Text(program.main(), main_ids::kFileNameLabel))
      << "the same title the main window shows";
}

TEST(MiniForm, EscapeAndForeignCommandsLeaveItOpenAndIdle) {
  Program program;
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  PostMessageA(Item(form, mini_ids::kMiniTopmost), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(Item(form, mini_ids::kMiniTopmost), WM_KEYUP, VK_ESCAPE, 0xC0010001);
  PostMessageA(form, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  Command(program, form, IDCANCEL);
  Command(program, form, IDOK);
  // With no song open, a Stop or Play taken for a click would show an error.
  Command(program, form, mini_ids::kMiniStop, BN_SETFOCUS);
  Command(program, form, mini_ids::kMiniPlay, BN_DOUBLECLICKED);
  Command(program, form, mini_ids::kMiniTitleCaption);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(IsWindowVisible(program.main()));
  EXPECT_EQ(MiniModeActive(), 1);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniStop));
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniPlay));
  CloseByCaption(program, form);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

TEST(MiniFormLyrics, PhrasesGoToTheLabelWhileOpenAndToTheMainLineOtherwise) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({{0, kFirst}, {2, kSecond}, {4, kThird}, {6, kFourth}});
  Click(program, program.main(), main_ids::kLyricsToggle);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick();
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFirst);
  EXPECT_EQ(Text(program.main(), main_ids::kLyricLine), "") << "never to both";
  EXPECT_EQ(Text(program.main(), main_ids::kStatusLabel), "1")
      << "the clock runs on behind the form";
  program.Tick(2);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond);
  CloseByCaption(program, form);
  EXPECT_EQ(Text(program.main(), main_ids::kLyricLine), "") << "the last phrase is not copied over";
  program.Tick(2);
  EXPECT_EQ(Text(program.main(), main_ids::kLyricLine), kThird);
  // Opened in the middle of the song: the placeholder until the next phrase.
  form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kLyricHere);
  program.Tick();
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kLyricHere);
  program.Tick();
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFourth);
  EXPECT_EQ(Text(program.main(), main_ids::kLyricLine), kThird);
  program.Tick(5);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFourth) << "the last phrase stays";
  EXPECT_EQ(Text(program.main(), main_ids::kStatusLabel), "12");
}

TEST(MiniFormLyrics, AnEmptyTableEmptiesTheLabelAtTheFirstTickAndShowsNothingMore) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({});
  Click(program, program.main(), main_ids::kLyricsToggle);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick();
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), "");
  SetDlgItemTextA(form, mini_ids::kMiniLyricLabel, kFirst);  // would be overwritten by a later step
  program.Tick(4);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFirst);
  EXPECT_EQ(Text(program.main(), main_ids::kStatusLabel), "5");
}

TEST(MiniFormLyrics, AnEntryNotLaterThanTheOneBeforeHoldsBackTheRest) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({{0, kFirst}, {1, kSecond}, {1, kThird}, {5, kFourth}});
  Click(program, program.main(), main_ids::kLyricsToggle);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick(8);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond);
}

TEST(MiniFormLyrics, ANegativeTimeHoldsBackTheRest) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({{0, kFirst}, {-2, kSecond}, {2, kThird}});
  Click(program, program.main(), main_ids::kLyricsToggle);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick(6);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFirst);
}

// A window's outer size and its children's ids and places, in creation order.
std::string Layout(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  std::string text = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
  for (HWND child : Children(window)) {
    const RECT c = ClientRectIn(window, GetDlgCtrlID(child));
    text += " " + std::to_string(GetDlgCtrlID(child)) + "@" + std::to_string(c.left) + "," +
            std::to_string(c.top);
  }
  return text;
}

std::wstring WideText(HWND parent, int id) {
  wchar_t text[256] = L"";
  GetDlgItemTextW(parent, id, text, 256);
  return text;
}

TEST(MiniFormLyrics, TranslationRowsShowUnderTheLineInBothWindowsWhileTheLyricsHoldAny) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kLyricsToggle);
  const std::string mainToday = Layout(main);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  const std::string miniToday = Layout(form);
  const std::string rowOne = "\xec\x95\x88\xeb\x85\x95", rowThree = "\xd0\x9f\xd1\x80\xd0\xb8";
  // A load on the program's thread, where its windows make the row labels.
  program.RunOnUiThread([&] {
    EditLyrics([&](LyricTable& table) {
      table = LyricTable{};
      table.time = {0, 2, 4};
      table.phrase[0] = kFirst, table.phrase[1] = kSecond, table.phrase[2] = kThird;
      table.detail[0].rows = {rowOne, "second row"};
      table.detail[2].rows = {rowThree};
    });
  });
  EXPECT_EQ(Layout(form),
            "281x104 1004@7,3 1005@7,18 1006@42,3 1007@42,18 1000@218,55 1008@11,59 "
            "1001@164,55 1009@42,32");
  EXPECT_TRUE(IsWindowUnicode(Item(form, mini_ids::kMiniRowLabel)));
  program.Tick();
  EXPECT_EQ(WideText(form, mini_ids::kMiniRowLabel), L"\uc548\ub155") << "the first row only";
  program.Tick(2);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond);
  EXPECT_EQ(WideText(form, mini_ids::kMiniRowLabel), L"") << "a line without a row";
  CloseByCaption(program, form);

  EXPECT_EQ(Layout(main),
            "367x239 1000@10,145 1001@184,145 1002@91,66 1003@263,65 1004@15,13 "
            "1005@82,11 1006@15,43 1007@111,43 1008@272,135 1009@15,68 1010@272,160 "
            "1011@5,91 1012@97,145 1013@5,110");
  EXPECT_EQ(WideText(main, main_ids::kRowLine), L"") << "rows go where their lines go";
  program.Tick(2);
  EXPECT_EQ(Text(main, main_ids::kLyricLine), kThird);
  EXPECT_EQ(WideText(main, main_ids::kRowLine), L"\u041f\u0440\u0438");
  OpenSong(program, MakeWave("rows.wav", 300));
  EXPECT_EQ(WideText(main, main_ids::kRowLine), L"") << "cleared with its line";

  form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Layout(form).substr(0, 7), "281x104");
  program.RunOnUiThread([] { EditLyrics([](LyricTable&) {}); });  // the lines without their rows
  EXPECT_EQ(Layout(form), miniToday);
  CloseByCaption(program, form);
  EXPECT_EQ(Layout(main), mainToday);
}

// Looping is on here so that MCI's own notices for an interrupted play are
// ignored and cannot come between a click and what the test reads.
TEST(MiniFormPlayback, StopAndPlayAreThePlayersCommandsAndNeverClearTheLabel) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  OpenSong(program, MakeWave("mini loop.wav", 20000));
  Click(program, main, main_ids::kLoopToggle);
  Click(program, main, main_ids::kLyricsToggle);
  SetPhrases({{0, kFirst}, {2, kSecond}});
  Click(program, main, main_ids::kPlayButton);
  ASSERT_EQ(Playback.State, PlayState::Playing);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniStop)) << "opened while playing: both usable";
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniPlay));
  program.Tick(3);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond);

  Click(program, form, mini_ids::kMiniStop);
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_FALSE(Enabled(form, mini_ids::kMiniStop));
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniPlay));
  EXPECT_TRUE(Enabled(main, main_ids::kPlayButton));
  EXPECT_FALSE(Enabled(main, main_ids::kStopButton));
  EXPECT_TRUE(Enabled(main, main_ids::kBrowseButton));
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond) << "Stop does not clear it";

  Click(program, form, mini_ids::kMiniPlay);
  EXPECT_EQ(Playback.State, PlayState::Playing);
  EXPECT_TRUE(Enabled(form, mini_ids::kMiniStop));
  EXPECT_FALSE(Enabled(form, mini_ids::kMiniPlay));
  EXPECT_FALSE(Enabled(main, main_ids::kPlayButton));
  EXPECT_TRUE(Enabled(main, main_ids::kStopButton));
  EXPECT_FALSE(Enabled(main, main_ids::kBrowseButton));
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond) << "Play does not clear it";
  program.Tick();
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFirst) << "clock and cursor back at 0";
  EXPECT_EQ(Text(main, main_ids::kStatusLabel), "1");
  program.Tick(2);
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond);

  program.Notify(1);  // the song reached its end and starts again
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kSecond) << "the restart does not clear it";
  program.Tick();
  EXPECT_EQ(Text(form, mini_ids::kMiniLyricLabel), kFirst);
  EXPECT_FALSE(MessageBoxOpen(program));
  CloseByCaption(program, form);
  EXPECT_EQ(Playback.State, PlayState::Playing) << "closing does not stop the song";
}

TEST(MiniFormPlayback, TheEndOfAnUnloopedSongDisablesStopAndEnablesPlay) {
  Program program;
  program.BlockRealTicks(true);
  OpenSong(program, MakeWave("mini short.wav", 300));
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  Click(program, form, mini_ids::kMiniPlay);
  ASSERT_EQ(Playback.State, PlayState::Playing);
  EXPECT_FALSE(Enabled(form, mini_ids::kMiniPlay));
  EXPECT_TRUE(WaitUntil(
      [&] { return Enabled(form, mini_ids::kMiniPlay) && !Enabled(form, mini_ids::kMiniStop); },
      10000));
  program.Flush();
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_FALSE(MessageBoxOpen(program));
}

}  // namespace
}  // namespace velomar::test
