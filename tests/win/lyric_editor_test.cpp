// Correcting a timing without timing the song again: the keys of the Kashi
// form, a press taken back, the lyric editor's changes, its saves and its
// "play from here", each on the real program.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <gtest/gtest.h>
#include <mmsystem.h>

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

int SelectedLine(HWND editor) {
  return static_cast<int>(
      SendMessageA(Item(editor, kashi_edit_ids::kLineList), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

std::string Cell(HWND editor, int index, int column) {
  char text[256] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  SendMessageA(Item(editor, kashi_edit_ids::kLineList), LVM_GETITEMTEXTA, index,
               reinterpret_cast<LPARAM>(&item));
  return text;
}

void SaveAnswered(Program& program, HWND editor, int button) {
  Click(program, editor, button);
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.owner, editor);
  EXPECT_EQ(ask.caption, kConfirmCaption);
  Answer(ask, IDYES);
}

TEST(LyricEditor, TimeWithKeysTakeBackCorrectSaveAndSeeEveryPhraseAtItsNewTick) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeMidi("editor.mid"));
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, kashi_ids::kPhraseBox, "p1");
  TypeText(kashi, kashi_ids::kPourInBox, "p2#p3#p4#p5#p6#");
  Click(program, kashi, kashi_ids::kPourInSwitch);  // pour-in
  Click(program, main, main_ids::kPlayButton);

  // F5 in the main window and in the form's boxes; a held key adds once.
  const HWND focus[] = {main, Item(kashi, kashi_ids::kPhraseBox),
                        Item(kashi, kashi_ids::kPourInBox), main};
  for (int i = 0; i < 4; ++i) {
    program.Tick(10);
    Key(program, focus[i], VK_F5);
    Key(program, focus[i], VK_F5, true);
  }
  EXPECT_EQ(Lyrics.Table().AddIndex, 4);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "p5");
  program.Tick(3);
  Key(program, Item(kashi, kashi_ids::kPourInBox),
      VK_F6);  // the fourth press was late: take it back
  EXPECT_EQ(Lyrics.Table().AddIndex, 3);
  EXPECT_EQ(Lyrics.Table().AddedCount, 3);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "2997");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastTimeLabel), "30") << "the labels show the entry before";
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), "p3");
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "p4");
  EXPECT_EQ(Text(kashi, kashi_ids::kPourInBox), "p5#p6#")
      << "the phrase it brought up is back with its #";
  program.Tick(2);
  Key(program, main, VK_F5);
  for (int i = 0; i < 2; ++i) {
    program.Tick(5);
    Key(program, main, VK_F5);
  }
  const std::int32_t timed[] = {10, 20, 30, 45, 50, 55};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Lyrics.Table().time[i], timed[i]) << i;
  EXPECT_EQ(Phrase(3), "p4");

  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(IsWindowEnabled(main)) << "Play and Stop stay usable";
  EXPECT_EQ(SendMessageA(Item(editor, kashi_edit_ids::kLineList), LVM_GETITEMCOUNT, 0, 0), 6);
  EXPECT_EQ(Cell(editor, 3, 1), "45");
  EXPECT_EQ(Cell(editor, 3, 2), "0:04.50");
  EXPECT_EQ(Cell(editor, 3, 3), "p4");
  // A line the display would never reach is marked, and counted.
  SelectLine(program, editor, 1);
  for (int i = 0; i < 11; ++i) Key(program, Item(editor, kashi_edit_ids::kLineList), VK_SUBTRACT);
  EXPECT_EQ(Lyrics.Table().time[1], 9);
  EXPECT_EQ(
      Cell(editor, 1, 4),
      "\x91\x4f\x82\xcc\x8d\x73\x82\xe6\x82\xe8\x91\x4f\x82\xcc\x8e\x9e\x8a\xd4");  // 前の行より前の時間
  EXPECT_EQ(
      Text(editor, kashi_edit_ids::kUnreachableLabel),
      "\x95\x5c\x8e\xa6\x82\xb3\x82\xea\x82\xc8\x82\xa2\x8d\x73\x81\x46\x35 \x8d\x73");  // 表示されない行：5
                                                                                         // 行
  Click(program, editor, kashi_edit_ids::kUndoButton);  // undo, one change at a time
  EXPECT_EQ(Lyrics.Table().time[1], 10);
  for (int i = 0; i < 10; ++i) Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(Lyrics.Table().time[1], 20);
  Key(program, Item(editor, kashi_edit_ids::kLineList), VK_ADD);  // nudge one line a tick later
  EXPECT_EQ(Lyrics.Table().time[1], 21);

  // Re-time line 5 against the running clock; the next line is selected.
  Click(program, main, main_ids::kStopButton);
  Click(program, main, main_ids::kPlayButton);
  program.Tick(48);
  SelectLine(program, editor, 4);
  Key(program, Item(editor, kashi_edit_ids::kLineList), VK_SPACE);
  EXPECT_EQ(Lyrics.Table().time[4], 48);
  EXPECT_EQ(SelectedLine(editor), 5);
  // A new phrase for line 6: Enter in the phrase box applies it.
  TypeText(editor, kashi_edit_ids::kPhraseBox, "p6!");
  Key(program, Item(editor, kashi_edit_ids::kPhraseBox), VK_RETURN);
  EXPECT_EQ(Phrase(5), "p6!");

  LyricFileBeside file("edited");
  LyricFileBeside lrc("edited", ".lrc");
  TypeText(editor, kashi_edit_ids::kNameBox, file.name);
  SaveAnswered(program, editor, kashi_edit_ids::kSaveButton);
  EXPECT_EQ(ReadBytes(file.path), "10,p1\r\n21,p2\r\n30,p3\r\n45,p4\r\n48,p5\r\n55,p6!\r\n");
  Click(program, editor,
        kashi_edit_ids::kLrcButton);  // its save dialog, answered with a path beside the program
  EXPECT_EQ(AnswerOpenDialog(program, lrc.path, 5000, editor), "LRC \x82\xc5\x95\xdb\x91\xb6");
  EXPECT_EQ(ReadBytes(lrc.path),
            "[00:01.00]p1\n[00:02.10]p2\n[00:03.00]p3\n[00:04.50]p4\n[00:04.80]p5\n"
            "[00:05.50]p6!\n");
  CloseByCaption(program, editor);
  CloseByCaption(program, kashi);

  // The saved file, loaded again, shows every phrase at its new tick.
  Click(program, main, main_ids::kStopButton);
  EditLyrics([](LyricTable& table) { table = LyricTable{}; });
  ASSERT_TRUE(WaitGone(LoadInList(program, file.path)));
  Click(program, main, main_ids::kLyricsToggle);
  Click(program, main, main_ids::kPlayButton);
  const char* shown[] = {"p1", "p2", "p3", "p4", "p5", "p6!"};
  const int ticks[] = {10, 21, 30, 45, 48, 55};
  int now = 0;
  for (int i = 0; i < 6; ++i) {
    program.Tick(ticks[i] - now);
    EXPECT_NE(Text(main, main_ids::kLyricLine), shown[i]) << "not before its tick";
    program.Tick();
    now = ticks[i] + 1;
    EXPECT_EQ(Text(main, main_ids::kLyricLine), shown[i]);
  }
}

TEST(LyricEditor, PlayFromHereStartsThreeSecondsBeforeTheLine) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  EditLyrics([](LyricTable& table) {
    for (int i = 0; i < 4; ++i) {
      table.time[i] = 20 * (i + 1);
      table.phrase[i] = "line" + std::to_string(i);
    }
  });
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeWave("from_here.wav", 9000));
  Click(program, main, main_ids::kLyricsToggle);
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  SelectLine(program, editor, 3);  // due at 80: 8 s
  Click(program, editor, kashi_edit_ids::kPlayHereButton);
  EXPECT_EQ(Playback.State, PlayState::Playing);
  EXPECT_FALSE(Enabled(main, main_ids::kPlayButton));
  EXPECT_TRUE(Enabled(main, main_ids::kStopButton));
  EXPECT_FALSE(Enabled(main, main_ids::kBrowseButton));
  MCI_STATUS_PARMS position{};
  position.dwItem = MCI_STATUS_POSITION;
  MCIERROR asked = 1;
  program.RunOnUiThread([&] {
    asked = mciSendCommandA(Playback.DeviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                            reinterpret_cast<DWORD_PTR>(&position));
  });
  ASSERT_EQ(asked, 0u);
  EXPECT_GE(position.dwReturn, 5000u) << "the song plays from 5 s";
  EXPECT_LT(position.dwReturn, 7000u);
  program.Tick();
  EXPECT_EQ(Text(main, main_ids::kStatusLabel), "51") << "the clock starts at tick 50";
  EXPECT_EQ(Text(main, main_ids::kLyricLine), "line1") << "what playing from the start shows then";
  program.Tick(9);
  EXPECT_EQ(Text(main, main_ids::kLyricLine), "line1");
  program.Tick();
  EXPECT_EQ(Text(main, main_ids::kLyricLine), "line2") << "the first line due after the start";
  program.Tick(20);
  EXPECT_EQ(Text(main, main_ids::kLyricLine), "line3");

  // Selected at 1 s, the play starts from the beginning.
  SelectLine(program, editor, 0);
  Click(program, editor, kashi_edit_ids::kPlayHereButton);
  program.Tick(21);
  EXPECT_EQ(Text(main, main_ids::kLyricLine), "line0");
  CloseByCaption(program, editor);
}

// A line's words: shown, cleared and back, pressed again with F5 while the
// song plays from F9, and the lyrics written as SRT; a lyric file says it
// cannot keep them.
TEST(LyricEditor, WordsShowClearPressAgainAndExportAsSubtitles) {
  Program program;
  HWND main = program.main();
  program.BlockRealTicks(true);
  EditLyrics([](LyricTable& table) {
    table.time[0] = 10;
    table.phrase[0] = "ab cd";
    table.detail[0].words = {{0, 0}, {3, 31}, {5, 72}};
    table.time[1] = 30;
    table.phrase[1] = "ef";
  });
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeWave("words.wav", 5000));
  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(Cell(editor, 0, 6), "ab+0.00 cd+0.31 /+0.72");
  Click(program, editor, kashi_edit_ids::kClearWordsButton);
  EXPECT_EQ(Cell(editor, 0, 6), "");
  Click(program, editor, kashi_edit_ids::kUndoButton);
  EXPECT_EQ(Cell(editor, 0, 6), "ab+0.00 cd+0.31 /+0.72");

  LyricFileBeside srt("words", ".srt");
  Click(program, editor, kashi_edit_ids::kExportButton);
  EXPECT_EQ(AnswerOpenDialog(program, srt.path, 5000, editor), "\x8f\x91\x82\xab\x8f\x6f\x82\xb5");
  EXPECT_EQ(ReadBytes(srt.path),
            "1\r\n00:00:01,000 --> 00:00:01,720\r\nab cd\r\n\r\n"
            "2\r\n00:00:03,000 --> 00:00:11,000\r\nef\r\n\r\n");
  LyricFileBeside file("words");
  TypeText(editor, kashi_edit_ids::kNameBox, file.name);
  SaveAnswered(program, editor, kashi_edit_ids::kSaveButton);
  const MessageBoxSeen kept = WaitForMessageBox(program, 5000, editor);
  EXPECT_NE(kept.text.find("\r\n0 \x94\xd4\x82\xcc\x8d\x73"), std::string::npos) << kept.text;
  Answer(kept, IDOK);
  EXPECT_TRUE(Lyrics.IsUnsaved());

  // From F9 on line 0 the clock starts at 0: presses at 1.2 s, 1.5 s, 1.9 s.
  HWND list = Item(editor, kashi_edit_ids::kLineList);
  SelectLine(program, editor, 0);
  Key(program, list, VK_F9);
  const int waits[] = {12, 3, 4};
  for (int ticks : waits) {
    program.Tick(ticks);
    Key(program, list, VK_F5);
  }
  EXPECT_EQ(Cell(editor, 0, 1) + " " + Cell(editor, 0, 6), "12 ab+0.00 cd+0.30");
  EXPECT_EQ(Cell(editor, 1, 1) + " " + Cell(editor, 1, 6), "19 ef+0.00");
  Click(program, editor, kashi_edit_ids::kUndoButton);  // the time and the word, one step
  EXPECT_EQ(Cell(editor, 1, 1) + " " + Cell(editor, 1, 6), "30 ");
  Click(program, main, main_ids::kStopButton);
  CloseByCaption(program, editor);
}

}  // namespace
}  // namespace velomar::test
