// The lyric file between the two forms: the Kashi form's save (asked
// first, byte for byte, and never silent when it fails), and the whole road
// of a user from timing a song's lyrics to seeing them come back on time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/owned.h"

namespace velomar::test {
namespace {

constexpr char kTest[] = "\x83\x65\x83X\x83g";  // テスト
constexpr char kA[] = "\x82\xa0";               // あ
constexpr char kI[] = "\x82\xa2";               // い
constexpr char kU[] = "\x82\xa4";               // う

void Press(Program& program, HWND kashi) { Click(program, kashi, kashi_ids::kAddButton); }

inline void CloseFile(HANDLE file) {
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}
using HeldFile = Owned<HANDLE, CloseFile>;

MessageBoxSeen PressSave(Program& program, HWND kashi) {
  Click(program, kashi, kashi_ids::kSaveButton);
  return WaitForMessageBox(program);
}

TEST(KashiSave, AsksFirstThenWritesTheAddedEntriesByteForByte) {
  Program program;
  LyricFileBeside file("bytes");
  ASSERT_TRUE(WriteBytes(file.path, "an older and longer file"));
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, kashi_ids::kFileNameBox, file.name);
  MessageBoxSeen ask = PressSave(program, kashi);
  ASSERT_NE(ask.window, nullptr);
  EXPECT_EQ(ask.owner, kashi);
  EXPECT_EQ(ask.caption, kConfirmCaption);
  EXPECT_EQ(ask.text, kConfirmText);
  EXPECT_EQ(ask.icon, SystemIcon(IDI_ASTERISK));
  EXPECT_EQ(ask.buttons, (std::vector<int>{IDYES, IDNO}));
  Answer(ask, IDYES);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_TRUE(file.Exists());
  EXPECT_EQ(ReadBytes(file.path), "") << "no add yet: the file is emptied";

  program.BlockRealTicks(true);
  program.Tick(23);
  TypeText(kashi, kashi_ids::kPhraseBox, kTest);
  Press(program, kashi);
  program.Tick(34);
  Press(program, kashi);
  Answer(PressSave(program, kashi), IDYES);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(ReadBytes(file.path), std::string("23,") + kTest + "\r\n57,\r\n");
  EXPECT_EQ(Text(kashi, kashi_ids::kSavingLabel), "57,") << "the last line written stays shown";
  EXPECT_EQ(Text(kashi, kashi_ids::kFileNameBox), file.name);
  EXPECT_EQ(Text(kashi, kashi_ids::kRemainingLabel), "2998") << "a save touches no counter";
  CloseByCaption(program, kashi);
}

TEST(KashiSave, AnsweredNoWritesNothing) {
  Program program;
  LyricFileBeside file("no");
  ASSERT_TRUE(WriteBytes(file.path, "kept"));
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, kashi_ids::kPhraseBox, "a");
  Press(program, kashi);
  TypeText(kashi, kashi_ids::kFileNameBox, file.name);
  MessageBoxSeen ask = PressSave(program, kashi);
  ASSERT_NE(ask.window, nullptr);
  Answer(ask, IDNO);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(ReadBytes(file.path), "kept");
  EXPECT_EQ(Text(kashi, kashi_ids::kSavingLabel), "");
  CloseByCaption(program, kashi);
}

TEST(KashiSave, AFailedSaveIsReportedWithThePathAndKeepsTheOldFile) {
  Program program;
  LyricFileBeside badName("a|b");
  LyricFileBeside inUse("busy");
  ASSERT_TRUE(WriteBytes(inUse.path, "old lines"));
  // Held open, unshared, as another program reading it would.
  HeldFile held(CreateFileA(inUse.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, kashi_ids::kPhraseBox, "x");
  Press(program, kashi);
  for (const LyricFileBeside* file : {&badName, &inUse}) {
    SCOPED_TRACE(file->name);
    TypeText(kashi, kashi_ids::kFileNameBox, file->name);
    Answer(PressSave(program, kashi), IDYES);
    MessageBoxSeen box = WaitForMessageBox(program);
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.owner, kashi);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, kSaveFailed + file->path);
    EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    Answer(box, IDOK);
    EXPECT_FALSE(MessageBoxOpen(program));
    EXPECT_EQ(Text(kashi, kashi_ids::kSavingLabel), "0,x") << "the progress still ran";
  }
  held.Reset();
  EXPECT_FALSE(badName.Exists());
  EXPECT_EQ(ReadBytes(inUse.path), "old lines");
  CloseByCaption(program, kashi);
}

// The user's road: open a song, time three phrases while it plays (the
// first typed, the others poured in from a pasted text), save them, reset,
// load the file again and see each phrase come up in the main window's lyric
// line at its tick.
TEST(LyricRoad, TimedPhrasesComeBackOnTimeAfterSaveResetAndLoad) {
  Program program;
  HWND main = program.main();
  LyricFileBeside file("road");
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeWave("road.wav", 5000));
  ASSERT_TRUE(Enabled(main, main_ids::kPlayButton)) << "the song is open";

  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  Click(program, kashi, kashi_ids::kPourInSwitch);
  TypeText(kashi, kashi_ids::kPhraseBox, kA);
  TypeText(kashi, kashi_ids::kPourInBox, std::string(kI) + "#\r\n" + kU + "#\r\n");
  // The song really plays; the clock's ticks are posted so that every press
  // lands on a known tick.
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kPlayButton);
  ASSERT_FALSE(MessageBoxOpen(program));
  ASSERT_TRUE(Enabled(main, main_ids::kStopButton)) << "playing";
  int now = 0;
  for (int at : {10, 20, 35}) {
    program.Tick(at - now);
    now = at;
    Press(program, kashi);
  }
  EXPECT_EQ(Text(main, main_ids::kStatusLabel), "35");
  EXPECT_EQ(Text(kashi, kashi_ids::kLastPhraseLabel), kU) << "poured in without the line break";
  Click(program, main, main_ids::kStopButton);
  TypeText(kashi, kashi_ids::kFileNameBox, file.name);
  Answer(PressSave(program, kashi), IDYES);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(ReadBytes(file.path),
            std::string("10,") + kA + "\r\n20," + kI + "\r\n35," + kU + "\r\n");
  CloseByCaption(program, kashi);

  Command(program, main, main_ids::kMenuReset);
  for (const char* caption : {kResetCaption, kResetDoneCaption}) {
    MessageBoxSeen box = WaitForMessageBox(program);
    ASSERT_EQ(box.caption, caption);
    Answer(box, IDOK);
  }
  ASSERT_EQ(Phrase(0), "");
  ASSERT_EQ(Lyrics.Table().time[0], 0);

  HWND list = OpenByMenu(program, main_ids::kMenuKashiList, &KashiListWindow);
  ASSERT_NE(list, nullptr);
  Click(program, list, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, file.path);
  EXPECT_EQ(Text(list, kashi_list_ids::kPathBox), file.path);
  Click(program, list, kashi_list_ids::kLoadButton);
  ASSERT_TRUE(WaitGone(list));
  program.Flush();

  Click(program, main, main_ids::kLyricsToggle);
  ASSERT_TRUE(Checked(main, main_ids::kLyricsToggle));
  Click(program, main, main_ids::kPlayButton);
  ASSERT_TRUE(Enabled(main, main_ids::kStopButton)) << "playing again";
  struct Seen {
    int tick;
    const char* line;
  } const expected[] = {{10, ""}, {11, kA}, {20, kA}, {21, kI}, {35, kI}, {36, kU}};
  now = 0;
  for (const Seen& seen : expected) {
    program.Tick(seen.tick - now);
    now = seen.tick;
    EXPECT_EQ(Text(main, main_ids::kStatusLabel), std::to_string(seen.tick));
    EXPECT_EQ(Text(main, main_ids::kLyricLine), seen.line) << "after tick " << seen.tick;
  }
  Click(program, main, main_ids::kStopButton);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

// A yes-or-no question owned by `owner`, with the warning icon.
MessageBoxSeen ExpectQuestion(Program& program, HWND owner, const char* caption, const char* text) {
  MessageBoxSeen ask = WaitForMessageBox(program);
  EXPECT_EQ(ask.owner, owner);
  EXPECT_EQ(ask.caption, caption);
  EXPECT_EQ(ask.text, text);
  EXPECT_EQ(ask.icon, SystemIcon(IDI_EXCLAMATION));
  EXPECT_EQ(ask.buttons, (std::vector<int>{IDYES, IDNO}));
  return ask;
}

// Timed phrases that no save has written are never replaced or lost
// without a question: a load while the Kashi form holds them, and the close
// that ends the program (the main window's here; the Kashi form's with the
// Kashi form's tests). Saved ones go without one.
TEST(UnsavedAdds, ALoadAndTheLastCloseAskFirst) {
  {
    Program program;
    HWND main = program.main();
    const std::string lyrics = ScratchDir() + "\\unsaved.tolvenkari";
    ASSERT_TRUE(WriteBytes(lyrics, "5,loaded\r\n"));
    HWND kashi = OpenKashi(program);
    ASSERT_NE(kashi, nullptr);
    TypeText(kashi, kashi_ids::kPhraseBox, "timed");
    Press(program, kashi);
    HWND list = LoadInList(program, lyrics);
    Answer(ExpectQuestion(program, list, kReplaceCaption, kReplaceText), IDNO);
    EXPECT_EQ(Phrase(0), "timed") << "No loads nothing";
    ASSERT_TRUE(IsWindowVisible(list));
    Click(program, list, kashi_list_ids::kLoadButton);
    Answer(ExpectQuestion(program, list, kReplaceCaption, kReplaceText), IDYES);
    ASSERT_TRUE(WaitGone(list));
    EXPECT_EQ(Phrase(0), "loaded");

    Press(program, kashi);
    CloseByCaption(program, kashi);
    EXPECT_FALSE(MessageBoxOpen(program)) << "the main window is still there";
    PostMessageA(main, WM_CLOSE, 0, 0);
    Answer(ExpectQuestion(program, main, kQuitCaption, kQuitText), IDNO);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_FALSE(program.Finished());
    PostMessageA(main, WM_CLOSE, 0, 0);
    Answer(ExpectQuestion(program, main, kQuitCaption, kQuitText), IDYES);
    EXPECT_TRUE(WaitUntil([&] { return program.Finished(); }, 10000));
    EXPECT_EQ(program.ExitCode(), 0);
  }
  {
    Program program;
    LyricFileBeside file("unsaved");
    HWND kashi = OpenKashi(program);
    ASSERT_NE(kashi, nullptr);
    Press(program, kashi);
    TypeText(kashi, kashi_ids::kFileNameBox, file.name);
    Answer(PressSave(program, kashi), IDYES);
    ASSERT_TRUE(file.Exists());
    CloseByCaption(program, kashi);
    EXPECT_EQ(program.CloseAndWait(), 0) << "nothing unsaved, no question";
  }
}

}  // namespace
}  // namespace velomar::test
