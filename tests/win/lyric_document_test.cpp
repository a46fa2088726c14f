// The lyrics as one document on the real program: timed phrases outlive the
// timing window, every change can be taken back and put back, and unsaved
// work is asked about before the program ends, but not once it is saved.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

enum { kPlay = 1000, kBrowse = 1003 };
enum { kPhrase = 1002, kRemaining = 1005, kList = 1000, kUndo = 1006, kRedo = 1015 };
enum { kNameBox = 1012, kSave = 1013 };

void Press(Program& program, HWND kashi, const char* phrase) {
  TypeText(kashi, kPhrase, phrase);
  Key(program, Item(kashi, kPhrase), VK_F5);
}

TEST(LyricDocument, TimedAndFixedLyricsAreKeptUndoneRedoneAskedAboutAndSaved) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  Click(program, main, kBrowse);
  AnswerOpenDialog(program, MakeMidi("document.mid"));
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, main, kPlay);
  for (const char* phrase : {"p1", "p2", "p3"}) {
    program.Tick(10);
    Press(program, kashi, phrase);
  }
  // Closing the timing window loses nothing and asks nothing.
  CloseByCaption(program, kashi);
  EXPECT_FALSE(MessageBoxOpen(program));
  kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  EXPECT_EQ(Text(kashi, kRemaining), "3000");
  CloseByCaption(program, kashi);

  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  SelectLine(program, editor, 1);
  HWND list = Item(editor, kList);
  Key(program, list, VK_ADD);
  EXPECT_EQ(Lyrics.Table().time[1], 21);
  Click(program, editor, kUndo);
  EXPECT_EQ(Lyrics.Table().time[1], 20);
  Click(program, editor, kRedo);
  EXPECT_EQ(Lyrics.Table().time[1], 21);
  Key(program, list, 'Z', false, true);
  Key(program, list, 'Z', false, true);
  EXPECT_EQ(Lyrics.Table().phrase[2], "") << "the undo reaches back into the presses";
  EXPECT_EQ(Lyrics.Table().time[1], 20);
  Key(program, list, 'Y', false, true);
  Key(program, list, 'Y', false, true);
  EXPECT_EQ(Lyrics.Table().phrase[2], "p3");
  EXPECT_EQ(Lyrics.Table().time[1], 21);
  CloseByCaption(program, editor);

  PostMessageA(main, WM_CLOSE, 0, 0);
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.caption, kQuitCaption);
  EXPECT_EQ(ask.text, kQuitText);
  Answer(ask, IDNO);
  program.Flush();
  ASSERT_TRUE(IsWindow(main));
  EXPECT_EQ(Lyrics.Table().phrase[2], "p3") << "No keeps everything";

  editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  LyricFileBeside file("document");
  TypeText(editor, kNameBox, file.name);
  Click(program, editor, kSave);
  Answer(WaitForMessageBox(program), IDYES);
  EXPECT_EQ(ReadBytes(file.path), "10,p1\r\n21,p2\r\n30,p3\r\n");
  CloseByCaption(program, editor);
  EXPECT_EQ(program.CloseAndWait(), 0) << "saved: the program ends without a question";
}

TEST(LyricDocument, NothingTakesBackIntoLoadedLyrics) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Press(program, kashi, "mine");
  const std::string path = ScratchDir() + "\\loaded.tolvenkari";
  WriteBytes(path, "5,a\r\n9,b\r\n");
  HWND list = OpenKashiList(program);
  ASSERT_NE(list, nullptr);
  Click(program, list, 1000);
  AnswerOpenDialog(program, path);
  Click(program, list, 1001);
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.caption, kReplaceCaption);
  Answer(ask, IDYES);
  ASSERT_TRUE(WaitGone(list));
  Key(program, Item(kashi, kPhrase), VK_F6);
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Click(program, editor, kUndo);
  EXPECT_EQ(Lyrics.Table().time[0], 5);
  EXPECT_EQ(Lyrics.Table().phrase[0], "a");
  EXPECT_EQ(Lyrics.Table().phrase[1], "b");
  EXPECT_EQ(Text(kashi, kPhrase), "") << "F6 handed nothing back";
  CloseByCaption(program, editor);
  CloseByCaption(program, kashi);
}

// The editor outlives the main window as the Kashi form does, and closing
// the last of them asks before unsaved lyrics are lost.
TEST(LyricDocument, TheEditorLeftLastAsksBeforeTheProgramEnds) {
  Program program;
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Key(program, Item(editor, kList), VK_INSERT);  // a first line on the empty list
  ASSERT_EQ(Lyrics.Table().time[0], 1);
  PostMessageA(program.main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitGone(program.main())) << "not the last window: not asked";
  PostMessageA(editor, WM_CLOSE, 0, 0);
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.owner, editor);
  EXPECT_EQ(ask.caption, kQuitCaption);
  Answer(ask, IDNO);
  program.Flush();
  ASSERT_TRUE(IsWindowVisible(editor));
  PostMessageA(editor, WM_CLOSE, 0, 0);
  Answer(WaitForMessageBox(program), IDYES);
  EXPECT_TRUE(WaitUntil([&] { return program.Finished(); }));
}

}  // namespace
}  // namespace velomar::test
