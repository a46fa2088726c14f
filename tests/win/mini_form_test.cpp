// The compact view: its controls, where it stands and what happens to the
// main window, the phrases it shows, its Stop and Play, and the
// always-on-top switch that waits for its own timer.
#include <gtest/gtest.h>

#include <atomic>
#include <utility>
#include <vector>

#include "app/form_host.h"
#include "app/lyric_store.h"
#include "app/shell.h"
#include "forms/forms.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"

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

// Sees the UI thread's queue: counts the form's own timer ticks, and holds
// the thread still while a test posts several messages that must be taken
// together, before any timer can come between them.
std::atomic<int> formTimerTicks{0};
HANDLE holding = nullptr;
HANDLE released = nullptr;
UINT holdMessage = 0;

LRESULT CALLBACK WatchQueue(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == WM_TIMER && msg->hwnd == MiniWindow && msg->wParam == 0) ++formTimerTicks;
    if (msg->message == holdMessage) {
      msg->message = WM_NULL;
      SetEvent(holding);
      WaitForSingleObject(released, 10000);
    }
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

class QueueWatch {
 public:
  explicit QueueWatch(DWORD thread) {
    formTimerTicks = 0;
    holdMessage = RegisterWindowMessageA("VelomarMiniTestHold");
    holding = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    released = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, thread);
    thread_ = thread;
  }
  ~QueueWatch() {
    UnhookWindowsHookEx(hook_);
    SetEvent(released);
  }
  QueueWatch(const QueueWatch&) = delete;
  QueueWatch& operator=(const QueueWatch&) = delete;

  bool Hold() {
    PostThreadMessageA(thread_, holdMessage, 0, 0);
    return WaitForSingleObject(holding, 5000) == WAIT_OBJECT_0;
  }
  void Release(Program& program) {
    SetEvent(released);
    program.Flush();
  }
  // Waits for the form's timer to have ticked `count` times in all and for
  // the tick to have been handled.
  bool WaitForTicks(Program& program, int count) {
    const bool ticked = WaitUntil([&] { return formTimerTicks >= count; });
    program.Flush();
    return ticked;
  }

 private:
  HHOOK hook_ = nullptr;
  DWORD thread_ = 0;
};

HWND OpenMini(Program& program) {
  MiniWindow = nullptr;
  Command(program, program.main(), 1021);
  HWND form = nullptr;
  WaitUntil([&] { return (form = MiniWindow) != nullptr && IsWindowVisible(form); });
  program.Flush();
  return form;
}

void CloseMini(Program& program, HWND form) {
  PostMessageA(form, WM_CLOSE, 0, 0);
  WaitGone(form);
  program.Flush();
}

void OpenSong(Program& program, const std::string& path) {
  PostMessageA(Item(program.main(), 1003), BM_CLICK, 0, 0);
  AnswerOpenDialog(program, path);
}

bool Topmost(HWND form) { return (ExStyle(form) & WS_EX_TOPMOST) != 0; }

// True when an ordinary window brought to the front ends up above the form,
// as another program's window does when the user switches to it.
bool AnOrdinaryWindowCovers(HWND form) {
  HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  bool covers = false;
  for (HWND w = GetTopWindow(nullptr); w != nullptr && w != form; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == other) covers = true;
  }
  DestroyWindow(other);
  return covers;
}

void SetPhrases(std::initializer_list<std::pair<int, const char*>> entries) {
  ResetLyrics(Lyrics);
  int i = 0;
  for (const auto& entry : entries) {
    Lyrics.time[i] = entry.first;
    Lyrics.phrase[i] = entry.second;
    ++i;
  }
}

TEST(MiniForm, ShowsItsSevenControlsInTableOrder) {
  Program program;
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form), kMiniTitle);
  EXPECT_EQ(MiniModeActive, 1);
  struct Expected {
    int id;
    const char* className;
    const char* text;
    LONG exStyle;
    LONG style;
    int x, y, w, h;
  } const expected[] = {
      {1004, "Static", kTitleCaption, 0, SS_CENTER, 7, 3, 30, 12},
      {1005, "Static", kLyricCaption, 0, SS_CENTER, 7, 18, 30, 12},
      {1006, "Static", "", 0, SS_LEFT, 42, 3, 227, 12},  // no song opened yet
      {1007, "Static", kLyricHere, 0, SS_LEFT, 42, 18, 227, 12},
      {1000, "Button", kStop, WS_EX_STATICEDGE, BS_PUSHBUTTON, 218, 41, 51, 21},
      {1008, "Button", kAlwaysOnTop, 0, BS_AUTOCHECKBOX, 11, 45, 104, 15},
      {1001, "Button", kPlay, WS_EX_STATICEDGE, BS_PUSHBUTTON, 164, 41, 51, 21},
  };
  std::vector<HWND> children = Children(form);
  ASSERT_EQ(children.size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(e.id);
    HWND control = children[i];
    EXPECT_EQ(GetDlgCtrlID(control), e.id) << "creation order";
    EXPECT_EQ(ClassOf(control), e.className);
    EXPECT_EQ(Text(control), e.text);
    EXPECT_EQ(ExStyle(control) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), e.exStyle);
    EXPECT_EQ(static_cast<DWORD>(Style(control)) & 0xFFFF0000u,
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(Style(control) & 0xFFFF, e.style) << "no ellipsis, no wrapping style of its own";
    RECT r = ClientRectIn(form, e.id);
    EXPECT_EQ(r.left, e.x);
    EXPECT_EQ(r.top, e.y);
    EXPECT_EQ(r.right - r.left, e.w);
    EXPECT_EQ(r.bottom - r.top, e.h);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
              Shell().MiniFont.get());
  }
  EXPECT_TRUE(Enabled(form, 1000)) << "both buttons start usable";
  EXPECT_TRUE(Enabled(form, 1001));
  EXPECT_FALSE(Checked(form, 1008));
  EXPECT_FALSE(Topmost(form));
  CloseMini(program, form);
  EXPECT_EQ(MiniModeActive, 0);
}

TEST(MiniForm, StandsTenPixelsFromTheMainWindowWhichHidesAndComesBack) {
  Program program;
  const POINT places[] = {{35, 48}, {600, 411}};
  for (const POINT& place : places) {
    SCOPED_TRACE(place.x);
    SetWindowPos(program.main(), nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    program.Flush();
    RECT main{};
    GetWindowRect(program.main(), &main);
    ASSERT_EQ(main.left, place.x);
    HWND form = OpenMini(program);
    ASSERT_NE(form, nullptr);
    RECT r{};
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, main.left + 10);
    EXPECT_EQ(r.top, main.top + 10);
    EXPECT_EQ(r.right - r.left, 281) << "moved, not resized";
    EXPECT_EQ(r.bottom - r.top, 90);
    EXPECT_FALSE(IsWindowVisible(program.main()));
    EXPECT_FALSE(IsWindowEnabled(program.main()));
    // No taskbar button: the only window on screen is a tool window.
    EXPECT_EQ(FindTopLevel(program.thread(), nullptr), form);
    EXPECT_TRUE(ExStyle(form) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ExStyle(form) & WS_EX_APPWINDOW);
    CloseMini(program, form);
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
  ASSERT_TRUE(Enabled(program.main(), 1000)) << "the song opened";
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  const std::string title = Text(form, 1006);
  EXPECT_TRUE(title == "mini title.wav" || title == "mini title") << title;
  EXPECT_EQ(title, Text(program.main(), 1005)) << "the same title the main window shows";
}

TEST(MiniForm, EscapeAndForeignCommandsLeaveItOpenAndIdle) {
  Program program;
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  PostMessageA(Item(form, 1008), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(Item(form, 1008), WM_KEYUP, VK_ESCAPE, 0xC0010001);
  PostMessageA(form, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  Command(program, form, IDCANCEL);
  Command(program, form, IDOK);
  // With no song open, a Stop or Play taken for a click would show an error.
  Command(program, form, 1000, BN_SETFOCUS);
  Command(program, form, 1001, BN_DOUBLECLICKED);
  Command(program, form, 1004);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(IsWindowVisible(program.main()));
  EXPECT_EQ(MiniModeActive, 1);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_TRUE(Enabled(form, 1000));
  EXPECT_TRUE(Enabled(form, 1001));
  CloseMini(program, form);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

TEST(MiniFormLyrics, PhrasesGoToTheLabelWhileOpenAndToTheMainLineOtherwise) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({{0, kFirst}, {2, kSecond}, {4, kThird}, {6, kFourth}});
  Click(program, program.main(), 1010);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick();
  EXPECT_EQ(Text(form, 1007), kFirst);
  EXPECT_EQ(Text(program.main(), 1011), "") << "never to both";
  EXPECT_EQ(Text(program.main(), 1007), "1") << "the clock runs on behind the form";
  program.Tick(2);
  EXPECT_EQ(Text(form, 1007), kSecond);
  CloseMini(program, form);
  EXPECT_EQ(Text(program.main(), 1011), "") << "the last phrase is not copied over";
  program.Tick(2);
  EXPECT_EQ(Text(program.main(), 1011), kThird);
  // Opened in the middle of the song: the placeholder until the next phrase.
  form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form, 1007), kLyricHere);
  program.Tick();
  EXPECT_EQ(Text(form, 1007), kLyricHere);
  program.Tick();
  EXPECT_EQ(Text(form, 1007), kFourth);
  EXPECT_EQ(Text(program.main(), 1011), kThird);
  program.Tick(5);
  EXPECT_EQ(Text(form, 1007), kFourth) << "the last phrase stays";
  EXPECT_EQ(Text(program.main(), 1007), "12");
}

TEST(MiniFormLyrics, AnEmptyTableEmptiesTheLabelAtTheFirstTickAndShowsNothingMore) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({});
  Click(program, program.main(), 1010);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick();
  EXPECT_EQ(Text(form, 1007), "");
  SetDlgItemTextA(form, 1007, kFirst);  // would be overwritten by a later step
  program.Tick(4);
  EXPECT_EQ(Text(form, 1007), kFirst);
  EXPECT_EQ(Text(program.main(), 1007), "5");
}

TEST(MiniFormLyrics, AnEntryNotLaterThanTheOneBeforeHoldsBackTheRest) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({{0, kFirst}, {1, kSecond}, {1, kThird}, {5, kFourth}});
  Click(program, program.main(), 1010);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick(8);
  EXPECT_EQ(Text(form, 1007), kSecond);
}

TEST(MiniFormLyrics, ANegativeTimeHoldsBackTheRest) {
  Program program;
  program.BlockRealTicks(true);
  SetPhrases({{0, kFirst}, {-2, kSecond}, {2, kThird}});
  Click(program, program.main(), 1010);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  program.Tick(6);
  EXPECT_EQ(Text(form, 1007), kFirst);
}

// Looping is on here so that MCI's own notices for an interrupted play are
// ignored and cannot come between a click and what the test reads.
TEST(MiniFormPlayback, StopAndPlayAreThePlayersCommandsAndNeverClearTheLabel) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  OpenSong(program, MakeWave("mini loop.wav", 20000));
  Click(program, main, 1008);
  Click(program, main, 1010);
  SetPhrases({{0, kFirst}, {2, kSecond}});
  Click(program, main, 1000);
  ASSERT_EQ(Playback.State, PlayState::Playing);
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Enabled(form, 1000)) << "opened while playing: both usable";
  EXPECT_TRUE(Enabled(form, 1001));
  program.Tick(3);
  EXPECT_EQ(Text(form, 1007), kSecond);

  Click(program, form, 1000);
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_FALSE(Enabled(form, 1000));
  EXPECT_TRUE(Enabled(form, 1001));
  EXPECT_TRUE(Enabled(main, 1000));
  EXPECT_FALSE(Enabled(main, 1001));
  EXPECT_TRUE(Enabled(main, 1003));
  EXPECT_EQ(Text(form, 1007), kSecond) << "Stop does not clear it";

  Click(program, form, 1001);
  EXPECT_EQ(Playback.State, PlayState::Playing);
  EXPECT_TRUE(Enabled(form, 1000));
  EXPECT_FALSE(Enabled(form, 1001));
  EXPECT_FALSE(Enabled(main, 1000));
  EXPECT_TRUE(Enabled(main, 1001));
  EXPECT_FALSE(Enabled(main, 1003));
  EXPECT_EQ(Text(form, 1007), kSecond) << "Play does not clear it";
  program.Tick();
  EXPECT_EQ(Text(form, 1007), kFirst) << "clock and cursor back at 0";
  EXPECT_EQ(Text(main, 1007), "1");
  program.Tick(2);
  EXPECT_EQ(Text(form, 1007), kSecond);

  program.Notify(1);  // the song reached its end and starts again
  EXPECT_EQ(Text(form, 1007), kSecond) << "the restart does not clear it";
  program.Tick();
  EXPECT_EQ(Text(form, 1007), kFirst);
  EXPECT_FALSE(MessageBoxOpen(program));
  CloseMini(program, form);
  EXPECT_EQ(Playback.State, PlayState::Playing) << "closing does not stop the song";
}

TEST(MiniFormPlayback, TheEndOfAnUnloopedSongDisablesStopAndEnablesPlay) {
  Program program;
  program.BlockRealTicks(true);
  OpenSong(program, MakeWave("mini short.wav", 300));
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  Click(program, form, 1001);
  ASSERT_EQ(Playback.State, PlayState::Playing);
  EXPECT_FALSE(Enabled(form, 1001));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(form, 1001) && !Enabled(form, 1000); }, 10000));
  program.Flush();
  EXPECT_EQ(Playback.State, PlayState::Stopped);
  EXPECT_FALSE(MessageBoxOpen(program));
}

TEST(MiniFormTopmost, TheCheckBoxActsAtTheFormsNextTimerTick) {
  Program program;
  QueueWatch watch(program.thread());
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  Click(program, form, 1008);
  ASSERT_TRUE(watch.WaitForTicks(program, 1));
  EXPECT_TRUE(Checked(form, 1008));
  EXPECT_TRUE(Topmost(form));
  EXPECT_FALSE(AnOrdinaryWindowCovers(form));
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(WaitUntil([] { return formTimerTicks > 1; }, 100)) << "the timer fires once";

  Click(program, form, 1008);
  ASSERT_TRUE(watch.WaitForTicks(program, 2));
  EXPECT_FALSE(Checked(form, 1008));
  EXPECT_FALSE(Topmost(form));
  EXPECT_TRUE(AnOrdinaryWindowCovers(form));
}

TEST(MiniFormTopmost, TwoClicksBeforeTheTickLeaveTheFormAsItWas) {
  Program program;
  QueueWatch watch(program.thread());
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const bool wasTopmost = Topmost(form);
    ASSERT_TRUE(watch.Hold());
    PostMessageA(Item(form, 1008), BM_CLICK, 0, 0);
    PostMessageA(Item(form, 1008), BM_CLICK, 0, 0);
    watch.Release(program);
    ASSERT_TRUE(watch.WaitForTicks(program, 2 * round + 1)) << "one tick for both clicks";
    EXPECT_EQ(Checked(form, 1008), wasTopmost);
    EXPECT_EQ(Topmost(form), wasTopmost);
    // Then a single click, to start the next round from the other state.
    Click(program, form, 1008);
    ASSERT_TRUE(watch.WaitForTicks(program, 2 * round + 2));
    EXPECT_EQ(Topmost(form), !wasTopmost);
  }
}

TEST(MiniFormTopmost, OnlyItsOwnTimerSwitchesAndANewFormStartsOrdinary) {
  Program program;
  QueueWatch watch(program.thread());
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  SendDlgItemMessageA(form, 1008, BM_SETCHECK, BST_CHECKED, 0);  // no click, no timer
  PostMessageA(form, WM_TIMER, 7, 0);
  program.Flush();
  EXPECT_FALSE(Topmost(form)) << "another timer id does nothing";
  PostMessageA(form, WM_TIMER, 0, 0);
  program.Flush();
  EXPECT_TRUE(Topmost(form)) << "the state of the box counts at the tick";
  CloseMini(program, form);

  form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(Topmost(form));
  EXPECT_FALSE(Checked(form, 1008));
  // Closed with the timer still pending: the timer goes with the form.
  ASSERT_TRUE(watch.Hold());
  PostMessageA(Item(form, 1008), BM_CLICK, 0, 0);
  PostMessageA(form, WM_CLOSE, 0, 0);
  watch.Release(program);
  ASSERT_TRUE(WaitGone(form));
  EXPECT_TRUE(IsWindowVisible(program.main()));
  EXPECT_EQ(MiniModeActive, 0);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

}  // namespace
}  // namespace velomar::test
