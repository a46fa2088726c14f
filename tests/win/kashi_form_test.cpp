// The Kashi form as the user times lyrics in it: its controls, every press of
// the add button, the pour-in mode and the limit of 3000 phrases.
#include <gtest/gtest.h>

#include <string>

#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

constexpr char kKashiCaption[] = "\x89\xcc\x8e\x8c\x92\xc7\x89\xc1";  // 歌詞追加
constexpr char kAddLabel[] =  // このタイミングで追加
    "\x82\xb1\x82\xcc\x83^\x83\x43\x83~\x83\x93\x83O\x82\xc5\x92\xc7\x89\xc1";
constexpr char kRemainingCaption[] =  // 登録できる残り行数：
    "\x93o\x98^\x82\xc5\x82\xab\x82\xe9\x8e\x63\x82\xe8\x8ds\x90\x94\x81\x46";
constexpr char kPourInLabel[] =  // 流し込み機能を使う
    "\x97\xac\x82\xb5\x8d\x9e\x82\xdd\x8b@\x94\x5c\x82\xf0\x8eg\x82\xa4";
constexpr char kFileNameCaption[] =  // ↓歌詞を保存する場合のファイル名
    "\x81\xab\x89\xcc\x8e\x8c\x82\xf0\x95\xdb\x91\xb6\x82\xb7\x82\xe9\x8f\xea\x8d\x87\x82"
    "\xcc\x83t\x83@\x83\x43\x83\x8b\x96\xbc";
constexpr char kSaveLabel[] = "\x89\xcc\x8e\x8c\x82\xcc\x95\xdb\x91\xb6";  // 歌詞の保存
constexpr char kSaveFrame[] =  // 入力し終えた歌詞を次回から読み込めるように保存する
    "\x93\xfc\x97\xcd\x82\xb5\x8fI\x82\xa6\x82\xbd\x89\xcc\x8e\x8c\x82\xf0\x8e\x9f\x89\xf1"
    "\x82\xa9\x82\xe7\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xe9\x82\xe6\x82\xa4\x82\xc9\x95"
    "\xdb\x91\xb6\x82\xb7\x82\xe9";
constexpr char kLastCaption[] =  // 最後に登録した歌詞
    "\x8d\xc5\x8c\xe3\x82\xc9\x93o\x98^\x82\xb5\x82\xbd\x89\xcc\x8e\x8c";
constexpr char kTimeLabel[] = "\x8e\x9e\x8a\xd4";                      // 時間
constexpr char kPhraseLabel[] = "\x83t\x83\x8c\x81[\x83Y";             // フレーズ
constexpr char kSavingCaption[] = "\x95\xdb\x91\xb6\x92\x86\x81\x46";  // 保存中：
constexpr char kSo[] = "\x83\x5c\x95\x5c";  // ソ表: second bytes are 0x5C
constexpr char kFullHash[] = "\x81\x94";    // ＃, not a separator

constexpr LONG kSe = WS_EX_STATICEDGE;
constexpr LONG kCe = WS_EX_CLIENTEDGE;
constexpr LONG kV = WS_VISIBLE;

const ControlRow kControls[] = {
    {1002, "Edit", "", kSe, kV | ES_AUTOHSCROLL, 24, 8, 353, 19},
    {1000, "Button", kAddLabel, kSe, kV | BS_PUSHBUTTON, 47, 37, 307, 60},
    {1004, "Static", kRemainingCaption, 0, kV | SS_LEFT, 22, 247, 111, 12},
    {1005, "Static", "3000", kSe, kV | SS_CENTER, 133, 245, 42, 14},
    {1011, "Edit", "", kCe, kV | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL, 13, 102,
     380, 125},
    {1008, "Button", kPourInLabel, 0, kV | BS_AUTOCHECKBOX, 22, 265, 120, 15},
    {1013, "Edit", "", kCe, kV | ES_AUTOHSCROLL, 20, 323, 228, 21},
    {1006, "Static", kFileNameCaption, 0, kV | SS_LEFT, 22, 304, 186, 12},
    {1001, "Button", kSaveLabel, kSe, kV | BS_PUSHBUTTON, 259, 320, 114, 25},
    {1014, "Button", kSaveFrame, 0, kV | BS_GROUPBOX, 13, 286, 370, 93},
    {1007, "Static", kLastCaption, 0, kV | SS_LEFT, 188, 247, 108, 12},
    {1009, "Static", kTimeLabel, 0, kV | SS_CENTER, 188, 266, 36, 11},
    {1015, "Static", kPhraseLabel, 0, kV | SS_LEFT, 231, 266, 172, 12},
    {1016, "Static", kSavingCaption, 0, kV | SS_LEFT, 48, 354, 42, 12},
    {1017, "Static", "", 0, kV | SS_LEFT, 92, 354, 280, 12},
};

void Press(Program& program, HWND kashi) { Click(program, kashi, 1000); }

HWND FocusOf(Program& program) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(program.thread(), &info);
  return info.hwndFocus;
}

TEST(KashiForm, OpensWithItsFifteenControlsInTableOrderAndFreshCounters) {
  Program program;
  PressedBefore(9);
  EditLyrics([](LyricTable& table) {
    table.time[0] = 5;
    table.phrase[0] = "old";
  });
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  EXPECT_EQ(Lyrics.Table().AddIndex, 0);
  EXPECT_EQ(Lyrics.Table().RemainingLines, 3000);
  EXPECT_EQ(Lyrics.Table().AddedCount, 0);
  EXPECT_EQ(Lyrics.Table().time[0], 5) << "opening leaves the entries alone";
  EXPECT_EQ(Phrase(0), "old");
  EXPECT_EQ(Text(kashi), kKashiCaption);
  ExpectControls(kashi, kControls, Shell().KashiFont.get(), WS_BORDER);
  EXPECT_FALSE(Checked(kashi, 1008));
  CloseByCaption(program, kashi);
}

TEST(KashiForm, StandsThreePixelsRightOfTheMainWindowTopsAligned) {
  Program program;
  const RECT m = MoveMain(program, 40, 70);
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  ExpectPlaced(kashi, m.right + 3, m.top, 414, 426);
  CloseByCaption(program, kashi);
}

TEST(KashiForm, EachPressRegistersThePhraseBoxAtTheClock) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  program.BlockRealTicks(true);

  TypeText(kashi, 1002, kSo);
  Press(program, kashi);  // before any song was played
  EXPECT_EQ(Lyrics.Table().time[0], 0);
  EXPECT_EQ(Phrase(0), kSo);
  EXPECT_EQ(Text(kashi, 1005), "2999");
  EXPECT_EQ(Text(kashi, 1009), "0");
  EXPECT_EQ(Text(kashi, 1015), kSo);
  EXPECT_EQ(Text(kashi, 1002), "") << "the phrase box is emptied";
  EXPECT_EQ(FocusOf(program), Item(kashi, 1002));

  program.Tick(23);
  TypeText(kashi, 1002, "a#b");  // "#" means nothing in normal mode
  Press(program, kashi);
  Press(program, kashi);  // same tick, empty box
  EXPECT_EQ(Lyrics.Table().time[1], 23);
  EXPECT_EQ(Phrase(1), "a#b");
  EXPECT_EQ(Lyrics.Table().time[2], 23) << "two presses within one tick";
  EXPECT_EQ(Phrase(2), "");
  EXPECT_EQ(Text(kashi, 1005), "2997");
  EXPECT_EQ(Text(kashi, 1009), "23");
  EXPECT_EQ(Text(kashi, 1015), "");
  EXPECT_EQ(Lyrics.Table().AddedCount, 3);
  EXPECT_EQ(Lyrics.Table().AddIndex, 3);
  CloseByCaption(program, kashi);
}

TEST(KashiForm, AcceptsOnlyClicksOfItsOwnButtons) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, 1002, "x");
  Command(program, kashi, 1000, BN_DOUBLECLICKED);
  Command(program, kashi, 1002, 0);
  Command(program, kashi, 1013, 0);
  EXPECT_EQ(Lyrics.Table().AddedCount, 0);
  EXPECT_EQ(Text(kashi, 1005), "3000");
  EXPECT_EQ(Text(kashi, 1002), "x");
  EXPECT_FALSE(MessageBoxOpen(program));
  CloseByCaption(program, kashi);
}

TEST(KashiForm, ThreeThousandPressesAreAcceptedAndTheNextIsRefused) {
  Program program;
  EditLyrics([](LyricTable& table) {
    table.time[3000] = 77;
    table.phrase[3000] = "last";
  });
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  program.BlockRealTicks(true);
  program.Tick(7);
  const LPARAM button = reinterpret_cast<LPARAM>(Item(kashi, 1000));
  for (int i = 0; i < 2999; ++i) {
    PostMessageA(kashi, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), button);
    if (i % 250 == 249) program.Flush();
  }
  program.Flush();
  EXPECT_EQ(Text(kashi, 1005), "1");
  TypeText(kashi, 1002, "end");
  Press(program, kashi);
  EXPECT_EQ(Text(kashi, 1005), "0") << "the 3000th press is accepted";
  EXPECT_EQ(Phrase(2999), "end");
  EXPECT_EQ(Lyrics.Table().time[2999], 7);
  EXPECT_EQ(Text(kashi, 1009), "7");
  EXPECT_EQ(Text(kashi, 1015), "end");

  TypeText(kashi, 1002, "more");
  Press(program, kashi);
  MessageBoxSeen box = WaitForMessageBox(program);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.owner, program.main());
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.text, kLimitText);
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  Answer(box, IDOK);
  EXPECT_EQ(Text(kashi, 1002), "more") << "the refused phrase stays";
  EXPECT_EQ(Text(kashi, 1005), "0");
  EXPECT_EQ(Text(kashi, 1009), "7");
  EXPECT_EQ(Text(kashi, 1015), "end");
  EXPECT_EQ(Lyrics.Table().time[3000], 77) << "entry 3000 is never written";
  EXPECT_EQ(Phrase(3000), "last");
  EXPECT_EQ(Lyrics.Table().AddedCount, 3000);
  EXPECT_EQ(Lyrics.Table().RemainingLines, 0);
  EXPECT_FALSE(MessageBoxOpen(program));

  // The form outlives the main window, and its boxes are then its own. A
  // press taken right after the close shows a box that waits for the user:
  // the main window's quit must not close it.
  PostMessageA(program.main(), WM_CLOSE, 0, 0);
  PostMessageA(Item(kashi, 1000), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(program.main())) << "no question while the form holds the adds";
  box = WaitForMessageBox(program);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.owner, kashi);
  EXPECT_EQ(box.text, kLimitText);
  Answer(box, IDOK);
  // Its close now ends the program: the unsaved adds are asked about.
  for (int answer : {IDNO, IDYES}) {
    PostMessageA(kashi, WM_CLOSE, 0, 0);
    box = WaitForMessageBox(program);
    EXPECT_EQ(box.owner, kashi);
    EXPECT_EQ(box.caption, kQuitCaption);
    EXPECT_EQ(box.text, kQuitText);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    Answer(box, answer);
    EXPECT_EQ(IsWindowVisible(kashi) != 0, answer == IDNO);
  }
  EXPECT_TRUE(WaitUntil([&] { return program.Finished(); }, 10000));
  EXPECT_EQ(program.ExitCode(), 0);
}

TEST(KashiForm, PourInHandsOutTheHashEndedPhrasesInTurn) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, 1008);
  ASSERT_TRUE(Checked(kashi, 1008));
  TypeText(kashi, 1011, "a#b#c#");
  struct Step {
    const char* registered;
    const char* phraseBox;
    const char* pourInBox;
  } const steps[] = {
      {"", "a", "b#c#"}, {"a", "b", "c#"}, {"b", "c", ""}, {"c", "", ""}, {"", "", ""},
  };
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i + 1);
    Press(program, kashi);
    EXPECT_EQ(Phrase(i), steps[i].registered);
    EXPECT_EQ(Text(kashi, 1015), steps[i].registered);
    EXPECT_EQ(Text(kashi, 1002), steps[i].phraseBox);
    EXPECT_EQ(Text(kashi, 1011), steps[i].pourInBox);
    EXPECT_EQ(FocusOf(program), Item(kashi, 1011)) << "focus goes to the pour-in box";
  }
  EXPECT_EQ(Text(kashi, 1005), "2995");
  CloseByCaption(program, kashi);
}

TEST(KashiForm, PourInDropsLineBreaksFromThePhraseOnly) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, 1008);
  const std::string pasted = std::string("a#\r\n") + kSo + kFullHash + "x#\r\nc#";
  TypeText(kashi, 1011, pasted);
  Press(program, kashi);
  EXPECT_EQ(Text(kashi, 1002), "a");
  EXPECT_EQ(Text(kashi, 1011), std::string("\r\n") + kSo + kFullHash + "x#\r\nc#")
      << "the pour-in box keeps its line breaks";
  Press(program, kashi);
  EXPECT_EQ(Phrase(1), "a");
  EXPECT_EQ(Text(kashi, 1002), std::string(kSo) + kFullHash + "x")
      << "no CR LF, and the full-width sign is no separator";
  EXPECT_EQ(Text(kashi, 1011), "\r\nc#");
  Press(program, kashi);
  EXPECT_EQ(Phrase(2), std::string(kSo) + kFullHash + "x");
  EXPECT_EQ(Text(kashi, 1002), "c");
  EXPECT_EQ(Text(kashi, 1011), "");
  CloseByCaption(program, kashi);
}

TEST(KashiForm, PourInTextsWithoutALeadingPhraseOrWithoutAnyHash) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, 1008);
  TypeText(kashi, 1002, "typed");
  TypeText(kashi, 1011, "#abc#def");
  Press(program, kashi);
  EXPECT_EQ(Phrase(0), "typed");
  EXPECT_EQ(Text(kashi, 1002), "") << "the text before the first # is empty";
  EXPECT_EQ(Text(kashi, 1011), "abc#def");

  TypeText(kashi, 1011, "no\r\nhash");
  Press(program, kashi);
  EXPECT_EQ(Phrase(1), "");
  EXPECT_EQ(Text(kashi, 1002), "nohash") << "the whole text moves, line breaks removed";
  EXPECT_EQ(Text(kashi, 1011), "");
  Press(program, kashi);
  EXPECT_EQ(Phrase(2), "nohash");
  CloseByCaption(program, kashi);
}

TEST(KashiForm, UncheckingPourInReturnsToNormalModeAtOnce) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, 1008);
  TypeText(kashi, 1011, "a#b#");
  Press(program, kashi);
  ASSERT_EQ(Text(kashi, 1002), "a");
  Click(program, kashi, 1008);
  ASSERT_FALSE(Checked(kashi, 1008));
  TypeText(kashi, 1002, "typed");
  Press(program, kashi);
  EXPECT_EQ(Phrase(1), "typed");
  EXPECT_EQ(Text(kashi, 1002), "");
  EXPECT_EQ(Text(kashi, 1011), "b#") << "the pour-in box is left alone";
  EXPECT_EQ(FocusOf(program), Item(kashi, 1002));
  CloseByCaption(program, kashi);
}

TEST(KashiForm, OpeningAgainOverwritesFromEntryZeroOnly) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  for (const char* phrase : {"one", "two", "three"}) {
    TypeText(kashi, 1002, phrase);
    Press(program, kashi);
  }
  CloseByCaption(program, kashi);
  EXPECT_EQ(Lyrics.Table().AddedCount, 3) << "the counters outlive the form";

  kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  EXPECT_EQ(Text(kashi, 1005), "3000");
  EXPECT_EQ(Text(kashi, 1015), kPhraseLabel);
  TypeText(kashi, 1002, "new");
  Press(program, kashi);
  EXPECT_EQ(Phrase(0), "new");
  EXPECT_EQ(Phrase(1), "two");
  EXPECT_EQ(Phrase(2), "three");
  EXPECT_EQ(Lyrics.Table().AddedCount, 1);
  CloseByCaption(program, kashi);
}

}  // namespace
}  // namespace velomar::test
