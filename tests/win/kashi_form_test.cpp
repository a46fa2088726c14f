// The Kashi form as the user times lyrics in it: its controls, every press of
// the add button, the pour-in mode and the limit of 3000 phrases.
#include "forms/kashi_form.h"

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
constexpr char kWordLabel[] =                                          // 単語ごとに打つ
    "\x92\x50\x8c\xea\x82\xb2\x82\xc6\x82\xc9\x91\xc5\x82\xc2";
constexpr char kSo[] = "\x83\x5c\x95\x5c";  // ソ表: second bytes are 0x5C
constexpr char kFullHash[] = "\x81\x94";    // ＃, not a separator

constexpr LONG kSe = WS_EX_STATICEDGE;
constexpr LONG kCe = WS_EX_CLIENTEDGE;
constexpr LONG kV = WS_VISIBLE;

const ControlRow kControls[] = {
    {kashi_ids::kPhraseBox, "Edit", "", kSe, kV | ES_AUTOHSCROLL, 24, 8, 353, 19},
    {kashi_ids::kAddButton, "Button", kAddLabel, kSe, kV | BS_PUSHBUTTON, 47, 37, 307, 60},
    {kashi_ids::kRemainingCaption, "Static", kRemainingCaption, 0, kV | SS_LEFT, 22, 247, 111, 12},
    {kashi_ids::kRemainingLabel, "Static", "3000", kSe, kV | SS_CENTER, 133, 245, 42, 14},
    {kashi_ids::kPourInBox, "Edit", "", kCe,
     kV | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL, 13, 102, 380, 125},
    {kashi_ids::kPourInSwitch, "Button", kPourInLabel, 0, kV | BS_AUTOCHECKBOX, 22, 265, 120, 15},
    {kashi_ids::kFileNameBox, "Edit", "", kCe, kV | ES_AUTOHSCROLL, 20, 323, 228, 21},
    {kashi_ids::kFileNameCaption, "Static", kFileNameCaption, 0, kV | SS_LEFT, 22, 304, 186, 12},
    {kashi_ids::kSaveButton, "Button", kSaveLabel, kSe, kV | BS_PUSHBUTTON, 259, 320, 114, 25},
    {kashi_ids::kSaveFrame, "Button", kSaveFrame, 0, kV | BS_GROUPBOX, 13, 286, 370, 93},
    {kashi_ids::kLastCaption, "Static", kLastCaption, 0, kV | SS_LEFT, 188, 247, 108, 12},
    {kashi_ids::kLastTimeLabel, "Static", kTimeLabel, 0, kV | SS_CENTER, 188, 266, 36, 11},
    {kashi_ids::kLastPhraseLabel, "Static", kPhraseLabel, 0, kV | SS_LEFT, 231, 266, 172, 12},
    {kashi_ids::kSavingCaption, "Static", kSavingCaption, 0, kV | SS_LEFT, 48, 354, 42, 12},
    {kashi_ids::kSavingLabel, "Static", "", 0, kV | SS_LEFT, 92, 354, 280, 12},
    {kashi_ids::kWordSwitch, "Button", kWordLabel, 0, kV | BS_AUTOCHECKBOX, 22, 388, 120, 15},
    {kashi_ids::kWordLabel, "Static", "", 0, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 22, 408, 371, 14},
};

void Press(Program& program, HWND kashi) { Click(program, kashi, kashi_ids::kAddButton); }

HWND FocusOf(Program& program) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(program.thread(), &info);
  return info.hwndFocus;
}

TEST(KashiForm, OpensWithItsSeventeenControlsInTableOrderAndFreshCounters) {
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
  EXPECT_FALSE(Checked(kashi, kashi_ids::kPourInSwitch));
  EXPECT_FALSE(Checked(kashi, kashi_ids::kWordSwitch));
  CloseByCaption(program, kashi);
}

TEST(KashiForm, StandsThreePixelsRightOfTheMainWindowTopsAligned) {
  Program program;
  const RECT m = MoveMain(program, 40, 70);
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  ExpectPlaced(kashi, m.right + 3, m.top, 414, 466);
  CloseByCaption(program, kashi);
}

TEST(KashiForm, EachPressRegistersThePhraseBoxAtTheClock) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  program.BlockRealTicks(true);

  TypeText(kashi, kashi_ids::kPhraseBox, kSo);
  Press(program, kashi);  // before any song was played
  EXPECT_EQ(Lyrics.Table().time[0], 0);
  EXPECT_EQ(Phrase(0), kSo);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "2999");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastTimeLabel), "0");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), kSo);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "") << "the phrase box is emptied";
  EXPECT_EQ(FocusOf(program), Item(kashi, kashi_ids::kPhraseBox));

  program.Tick(23);
  TypeText(kashi, kashi_ids::kPhraseBox, "a#b");  // "#" means nothing in normal mode
  Press(program, kashi);
  Press(program, kashi);  // same tick, empty box
  EXPECT_EQ(Lyrics.Table().time[1], 23);
  EXPECT_EQ(Phrase(1), "a#b");
  EXPECT_EQ(Lyrics.Table().time[2], 23) << "two presses within one tick";
  EXPECT_EQ(Phrase(2), "");
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "2997");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastTimeLabel), "23");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), "");
  EXPECT_EQ(Lyrics.Table().AddedCount, 3);
  EXPECT_EQ(Lyrics.Table().AddIndex, 3);
  CloseByCaption(program, kashi);
}

TEST(KashiForm, AcceptsOnlyClicksOfItsOwnButtons) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, kashi_ids::kPhraseBox, "x");
  Command(program, kashi, kashi_ids::kAddButton, BN_DOUBLECLICKED);
  Command(program, kashi, kashi_ids::kPhraseBox, 0);
  Command(program, kashi, kashi_ids::kFileNameBox, 0);
  EXPECT_EQ(Lyrics.Table().AddedCount, 0);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "3000");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "x");
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
  const LPARAM button = reinterpret_cast<LPARAM>(Item(kashi, kashi_ids::kAddButton));
  for (int i = 0; i < 2999; ++i) {
    PostMessageA(kashi, WM_COMMAND, MAKEWPARAM(kashi_ids::kAddButton, BN_CLICKED), button);
    if (i % 250 == 249) program.Flush();
  }
  program.Flush();
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "1");
  TypeText(kashi, kashi_ids::kPhraseBox, "end");
  Press(program, kashi);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "0") << "the 3000th press is accepted";
  EXPECT_EQ(Phrase(2999), "end");
  EXPECT_EQ(Lyrics.Table().time[2999], 7);
  EXPECT_EQ(Text(kashi, kashi_ids::kLastTimeLabel), "7");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), "end");

  TypeText(kashi, kashi_ids::kPhraseBox, "more");
  Press(program, kashi);
  MessageBoxSeen box = WaitForMessageBox(program);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.owner, program.main());
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.text, kLimitText);
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  Answer(box, IDOK);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "more") << "the refused phrase stays";
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "0");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastTimeLabel), "7");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), "end");
  EXPECT_EQ(Lyrics.Table().time[3000], 77) << "entry 3000 is never written";
  EXPECT_EQ(Phrase(3000), "last");
  EXPECT_EQ(Lyrics.Table().AddedCount, 3000);
  EXPECT_EQ(Lyrics.Table().RemainingLines, 0);
  EXPECT_FALSE(MessageBoxOpen(program));

  // The form outlives the main window, and its boxes are then its own. A
  // press taken right after the close shows a box that waits for the user:
  // the main window's quit must not close it.
  PostMessageA(program.main(), WM_CLOSE, 0, 0);
  PostMessageA(Item(kashi, kashi_ids::kAddButton), BM_CLICK, 0, 0);
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
  Click(program, kashi, kashi_ids::kPourInSwitch);
  ASSERT_TRUE(Checked(kashi, kashi_ids::kPourInSwitch));
  TypeText(kashi, kashi_ids::kPourInBox, "a#b#c#");
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
    EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), steps[i].registered);
    EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), steps[i].phraseBox);
    EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), steps[i].pourInBox);
    EXPECT_EQ(FocusOf(program), Item(kashi, kashi_ids::kPourInBox))
        << "focus goes to the pour-in box";
  }
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "2995");
  CloseByCaption(program, kashi);
}

TEST(KashiForm, PourInDropsLineBreaksFromThePhraseOnly) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  const std::string pasted = std::string("a#\r\n") + kSo + kFullHash + "x#\r\nc#";
  TypeText(kashi, kashi_ids::kPourInBox, pasted);
  Press(program, kashi);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "a");
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), std::string("\r\n") + kSo + kFullHash + "x#\r\nc#")
      << "the pour-in box keeps its line breaks";
  Press(program, kashi);
  EXPECT_EQ(Phrase(1), "a");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), std::string(kSo) + kFullHash + "x")
      << "no CR LF, and the full-width sign is no separator";
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), "\r\nc#");
  Press(program, kashi);
  EXPECT_EQ(Phrase(2), std::string(kSo) + kFullHash + "x");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "c");
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), "");
  CloseByCaption(program, kashi);
}

TEST(KashiForm, PourInTextsWithoutALeadingPhraseOrWithoutAnyHash) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  TypeText(kashi, kashi_ids::kPhraseBox, "typed");
  TypeText(kashi, kashi_ids::kPourInBox, "#abc#def");
  Press(program, kashi);
  EXPECT_EQ(Phrase(0), "typed");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "") << "the text before the first # is empty";
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), "abc#def");

  TypeText(kashi, kashi_ids::kPourInBox, "no\r\nhash");
  Press(program, kashi);
  EXPECT_EQ(Phrase(1), "");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "nohash")
      << "the whole text moves, line breaks removed";
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), "");
  Press(program, kashi);
  EXPECT_EQ(Phrase(2), "nohash");
  CloseByCaption(program, kashi);
}

TEST(KashiForm, UncheckingPourInReturnsToNormalModeAtOnce) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  TypeText(kashi, kashi_ids::kPourInBox, "a#b#");
  Press(program, kashi);
  ASSERT_EQ(Text(kashi, kashi_ids::kPhraseBox), "a");
  Click(program, kashi, kashi_ids::kPourInSwitch);
  ASSERT_FALSE(Checked(kashi, kashi_ids::kPourInSwitch));
  TypeText(kashi, kashi_ids::kPhraseBox, "typed");
  Press(program, kashi);
  EXPECT_EQ(Phrase(1), "typed");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "");
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), "b#") << "the pour-in box is left alone";
  EXPECT_EQ(FocusOf(program), Item(kashi, kashi_ids::kPhraseBox));
  CloseByCaption(program, kashi);
}

TEST(KashiForm, OpeningAgainOverwritesFromEntryZeroOnly) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  for (const char* phrase : {"one", "two", "three"}) {
    TypeText(kashi, kashi_ids::kPhraseBox, phrase);
    Press(program, kashi);
  }
  CloseByCaption(program, kashi);
  EXPECT_EQ(Lyrics.Table().AddedCount, 3) << "the counters outlive the form";

  kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "3000");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), kPhraseLabel);
  TypeText(kashi, kashi_ids::kPhraseBox, "new");
  Press(program, kashi);
  EXPECT_EQ(Phrase(0), "new");
  EXPECT_EQ(Phrase(1), "two");
  EXPECT_EQ(Phrase(2), "three");
  EXPECT_EQ(Lyrics.Table().AddedCount, 1);
  CloseByCaption(program, kashi);
}

}  // namespace
}  // namespace velomar::test
