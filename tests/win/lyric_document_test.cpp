// The lyrics as one document on the real program: timed phrases outlive the
// timing window, every change can be taken back and put back, and unsaved
// work is asked about before the program ends, but not once it is saved.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

void Press(Program& program, HWND kashi, const char* phrase) {
  TypeText(kashi, kashi_ids::kPhraseBox, phrase);
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F5);
}

TEST(LyricDocument, TimedAndFixedLyricsAreKeptUndoneRedoneAskedAboutAndSaved) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeMidi("document.mid"));
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, main, main_ids::kPlayButton);
  for (const char* phrase : {"p1", "p2", "p3"}) {
    program.Tick(10);
    Press(program, kashi, phrase);
  }
  // Closing the timing window loses nothing and asks nothing.
  CloseByCaption(program, kashi);
  EXPECT_FALSE(MessageBoxOpen(program));
  kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "3000");
  CloseByCaption(program, kashi);

  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  SelectLine(program, editor, 1);
  HWND list = Item(editor, kashi_edit_ids::kLineList);
  Key(program, list, VK_ADD);
  EXPECT_EQ(Lyrics.Table().time[1], 21);
  Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(Lyrics.Table().time[1], 20);
  Click(program, editor, kashi_edit_ids::kRedoButton);
  EXPECT_EQ(Lyrics.Table().time[1], 21);
  Key(program, list, 'Z', false, true);
  Key(program, list, 'Z', false, true);
  EXPECT_EQ(Phrase(2), "") << "the undo reaches back into the presses";
  EXPECT_EQ(Lyrics.Table().time[1], 20);
  Key(program, list, 'Y', false, true);
  Key(program, list, 'Y', false, true);
  EXPECT_EQ(Phrase(2), "p3");
  EXPECT_EQ(Lyrics.Table().time[1], 21);
  CloseByCaption(program, editor);

  PostMessageA(main, WM_CLOSE, 0, 0);
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.caption, kQuitCaption);
  EXPECT_EQ(ask.text, kQuitText);
  Answer(ask, IDNO);
  program.Flush();
  ASSERT_TRUE(IsWindow(main));
  EXPECT_EQ(Phrase(2), "p3") << "No keeps everything";

  editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  LyricFileBeside file("document");
  TypeText(editor, kashi_edit_ids::kNameBox, file.name);
  Click(program, editor, kashi_edit_ids::kSaveButton);
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
  HWND list = LoadInList(program, path);
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.caption, kReplaceCaption);
  Answer(ask, IDYES);
  ASSERT_TRUE(WaitGone(list));
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F6);
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(Lyrics.Table().time[0], 5);
  EXPECT_EQ(Phrase(0), "a");
  EXPECT_EQ(Phrase(1), "b");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "") << "F6 handed nothing back";
  CloseByCaption(program, editor);
  CloseByCaption(program, kashi);
}

// The editor outlives the main window as the Kashi form does, and closing
// the last of them asks before unsaved lyrics are lost.
TEST(LyricDocument, TheEditorLeftLastAsksBeforeTheProgramEnds) {
  Program program;
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Key(program, Item(editor, kashi_edit_ids::kLineList),
      VK_INSERT);  // a first line on the empty list
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

// Where work used to be lost: a save that wrote fewer lines than the lyrics
// hold marked them saved; the editor's undo of a poured-in press lost its
// phrase; a press made while the reset's first box was up was wiped unasked.
TEST(LyricDocument, ShortSavesUndonePressesAndTheResetLoseNothingUnasked) {
  Program program;
  HWND main = program.main();
  LyricFileBeside file("short");
  WriteBytes(file.path, "5,a\r\n9,b\r\n12,c\r\n");
  ASSERT_TRUE(WaitGone(LoadInList(program, file.path)));
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F5);
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F6);
  TypeText(kashi, kashi_ids::kFileNameBox, file.name);
  Click(program, kashi, kashi_ids::kSaveButton);
  Answer(WaitForMessageBox(program), IDYES);
  MessageBoxSeen told = WaitForMessageBox(program, 5000, kashi);
  EXPECT_EQ(told.caption, kSavedCaption);
  EXPECT_EQ(told.text, std::string(kSavedPrefix) +  // 0 行を保存しました。… 3 行あり…
                           "0 \x8ds\x82\xf0\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
                           "\x42\r\n\x89\xcc\x8e\x8c\x82\xcd 3 \x8ds\x82\xa0\x82\xe8\x81\x41\x8e"
                           "\x63\x82\xe8\x82\xcc\x8ds\x82\xcd\x95\xdb\x91\xb6\x82\xb3\x82\xea\x82"
                           "\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\x81\x42\r\n\x89\xcc\x8e\x8c\x82"
                           "\xcd\x95\xdb\x91\xb6\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xc8\x82\xa2"
                           "\x8f\xf3\x91\xd4\x82\xcc\x82\xdc\x82\xdc\x82\xc5\x82\xb7\x81\x42");
  Answer(told, IDOK);
  EXPECT_EQ(ReadBytes(file.path), "") << "the timing window writes this opening's adds";
  EXPECT_TRUE(LyricsUnsaved()) << "the file does not hold the three lines";

  // Poured in: A is registered, and the editor's undo hands it back.
  Click(program, kashi, kashi_ids::kPourInSwitch);
  TypeText(kashi, kashi_ids::kPhraseBox, "A");
  TypeText(kashi, kashi_ids::kPourInBox, "B#C#");
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F5);
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox) + "|" + Text(kashi, kashi_ids::kPourInBox),
            "A|B#C#");
  Click(program, editor, kashi_edit_ids::kRedoButton);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox) + "|" + Text(kashi, kashi_ids::kPourInBox), "B|C#");
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F5);
  EXPECT_EQ(Phrase(0) + Phrase(1), "AB");
  // Every line saved from the editor: saved, and no box after the question.
  TypeText(editor, kashi_edit_ids::kNameBox, file.name);
  Click(program, editor, kashi_edit_ids::kSaveButton);
  Answer(WaitForMessageBox(program), IDYES);
  program.Flush();
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(ReadBytes(file.path), "0,A\r\n0,B\r\n12,c\r\n");
  CloseByCaption(program, editor);

  // Then a press while the reset's plain first box is up: asked again.
  Command(program, main, main_ids::kMenuReset);
  MessageBoxSeen first = WaitForMessageBox(program, 5000, main);
  EXPECT_EQ(first.text, kResetText);
  Click(program, kashi, kashi_ids::kAddButton);
  Answer(first, IDOK);
  MessageBoxSeen warned = WaitForMessageBox(program, 5000, main);
  EXPECT_EQ(warned.text, std::string(kResetText) + kResetWarning);
  Answer(warned, IDCANCEL);
  program.Flush();
  EXPECT_EQ(Phrase(2), "C") << "cancelled: the press made meanwhile is kept";
  CloseByCaption(program, kashi);
}

// F8 from any lyric window moves every line later, "以降 +0.1" the selected
// line and those after it, F7 every line sooner: one step each.
TEST(LyricDocument, ShiftKeysAndShiftFromHereMoveTheLinesAsOneStepEach) {
  Program program;
  EditLyrics([](LyricTable& table) {
    table.time = {5, 9, 12};
    table.phrase[0] = "a", table.phrase[1] = "b", table.phrase[2] = "c";
  });
  auto times = [] {
    const LyricTable& t = Lyrics.Table();
    return std::to_string(t.time[0]) + " " + std::to_string(t.time[1]) + " " +
           std::to_string(t.time[2]);
  };
  Key(program, program.main(), VK_F8);
  EXPECT_EQ(times(), "6 10 13");
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  SelectLine(program, editor, 1);
  Click(program, editor, kashi_edit_ids::kShiftLaterButton);  // 以降 +0.1
  EXPECT_EQ(times(), "6 11 14");
  Key(program, Item(editor, kashi_edit_ids::kLineList), VK_F7);
  EXPECT_EQ(times(), "5 10 13");
  Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(times(), "6 11 14");
  CloseByCaption(program, editor);
}

}  // namespace
}  // namespace velomar::test
