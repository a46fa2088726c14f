// Songs and lyrics as users already have them: an LRC file of another
// player through the KashiList form, files whose names Shift-JIS cannot
// hold, and files dropped on the main window.
#include <windows.h>
// after windows.h, which it needs
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "system/wide_path.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

constexpr char kListCaption[] =  // 歌詞ファイルの参照
    "\x89\xcc\x8e\x8c\x83t\x83@\x83\x43\x83\x8b\x82\xcc\x8eQ\x8f\xc6";
constexpr char kRefused[] =  // LRCファイルを読み込めませんでした
    "LRC\x83t\x83@\x83\x43\x83\x8b\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82"
    "\xf1\x82\xc5\x82\xb5\x82\xbd";
constexpr char kA[] = "\x82\xa0";           // あ
constexpr char kIU[] = "\x82\xa2\x82\xa4";  // いう
constexpr char kE[] = "\x82\xa6";           // え

constexpr char kLeftOut[] =  // 曲と歌詞ファイルは一つずつ開きます。…：
    "\x8b\xc8\x82\xc6\x89\xcc\x8e\x8c\x83t\x83@\x83\x43\x83\x8b\x82\xcd\x88\xea\x82\xc2\x82\xb8"
    "\x82\xc2\x8aJ\x82\xab\x82\xdc\x82\xb7\x81\x42\r\n\x8e\x9f\x82\xcc\x83t\x83@\x83\x43\x83\x8b"
    "\x82\xcd\x8aJ\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x46";
constexpr char kCannotOpen[] =  // 歌詞ファイルを開けませんでした
    "\x89\xcc\x8e\x8c\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8a\x4a\x82\xaf\x82\xdc\x82\xb9"
    "\x82\xf1\x82\xc5\x82\xb5\x82\xbd\r\n";

// Another player's LRC: UTF-8 with a mark, CR LF, tags, unsorted lines, a
// word stamp; 0.96 s, 1.5 s and 2.04 s are ticks 10, 15 and 20.
constexpr char kPlayerLrc[] =
    "\xef\xbb\xbf[ti:\xe9\xa2\xa8]\r\n[ar:someone]\r\n\r\n"
    "[00:01.50]\xe3\x81\x82\r\n"
    "[00:00.96]\xe3\x81\x84<00:01.20>\xe3\x81\x86\r\n"
    "[00:02.04]\xe3\x81\x88\r\n";

// A file written under an ASCII name, then given the name `name` (UTF-16)
// in the scratch folder; returns its full UTF-16 path.
std::wstring Named(const std::string& asciiName, const std::string& bytes,
                   const std::wstring& name) {
  const std::string from = ScratchDir() + "\\" + asciiName;
  WriteBytes(from, bytes);
  const std::wstring to = WidePath(ScratchDir()) + L"\\" + name;
  DeleteFileW(to.c_str());
  MoveFileW(WidePath(from).c_str(), to.c_str());
  return to;
}

// Types a UTF-16 path into the open dialog and presses its open button.
void AnswerOpenDialogWide(Program& program, const std::wstring& path) {
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  ASSERT_NE(dialog, nullptr);
  HWND nameBox = Item(dialog, 1148);
  if (nameBox == nullptr) nameBox = Item(dialog, 1152);
  SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) == "Button" && GetDlgCtrlID(child) == IDOK) {
      PostMessageA(child, BM_CLICK, 0, 0);
    }
  }
  WaitUntil([&] { return !IsWindowVisible(dialog); });
  program.Flush();
}

void LoadThroughForm(Program& program, const std::wstring& path) {
  HWND list = OpenKashiList(program);
  ASSERT_NE(list, nullptr);
  Click(program, list, kashi_list_ids::kBrowseButton);
  AnswerOpenDialogWide(program, path);
  EXPECT_EQ(Text(list, kashi_list_ids::kPathBox), ShownPath(path));
  Click(program, list, kashi_list_ids::kLoadButton);
  ASSERT_TRUE(WaitGone(list)) << "the form closes itself after a load";
  program.Flush();
}

// Plays with posted ticks and reads the lyric line after each listed tick.
void ExpectLinesAtTicks(Program& program, const std::vector<std::pair<int, std::string>>& seen) {
  HWND main = program.main();
  if (!Checked(main, main_ids::kLyricsToggle)) Click(program, main, main_ids::kLyricsToggle);
  ASSERT_TRUE(Checked(main, main_ids::kLyricsToggle));
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kPlayButton);
  ASSERT_FALSE(MessageBoxOpen(program));
  int now = 0;
  for (const auto& [tick, line] : seen) {
    program.Tick(tick - now);
    now = tick;
    EXPECT_EQ(Text(main, main_ids::kLyricLine), line) << "after tick " << tick;
  }
  Click(program, main, main_ids::kStopButton);
}

TEST(LrcInThePlayer, APlayersLrcLoadsThroughTheFormAndPlaysOnTime) {
  Program program;
  Click(program, program.main(), main_ids::kBrowseButton);
  AnswerOpenDialog(program, MakeWave("lrc road.wav", 5000));
  ASSERT_TRUE(Enabled(program.main(), main_ids::kPlayButton));
  EditLyrics([](LyricTable& table) {
    table.time[3] = 77;
    table.phrase[3] = "kept";
  });
  LoadThroughForm(program, Named("player.txt", kPlayerLrc, L"player.LRC"));
  EXPECT_EQ(Lyrics.Table().time[0], 10);
  EXPECT_EQ(Phrase(0), kIU);
  EXPECT_EQ(Lyrics.Table().time[1], 15);
  EXPECT_EQ(Phrase(1), kA);
  EXPECT_EQ(Lyrics.Table().time[2], 20);
  EXPECT_EQ(Phrase(2), kE);
  EXPECT_EQ(Lyrics.Table().time[3], 0)
      << "entries after the file's are unwritten, as for a lyric file";
  EXPECT_EQ(Phrase(3), "");
  ExpectLinesAtTicks(program, {{10, ""}, {11, kIU}, {15, kIU}, {16, kA}, {20, kA}, {21, kE}});
}

TEST(LrcInThePlayer, ARefusedLrcNamesLineAndReasonAndLeavesTheTable) {
  Program program;
  EditLyrics([](LyricTable& table) {
    table.time[0] = 5;
    table.phrase[0] = "mine";
  });
  const std::string lrc = ScratchDir() + "\\refused.lrc";
  const char bytes[] = "[00:01.00]a\r\n[00:02.00]b\0c\r\n";
  WriteBytes(lrc, std::string(bytes, sizeof bytes - 1));
  HWND list = LoadInList(program, lrc);
  MessageBoxSeen box = WaitForMessageBox(program, 5000, list);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_EQ(box.text, std::string(kRefused) + "\r\n" + lrc + "\r\nline 2: NUL in the phrase");
  Answer(box, IDOK);
  EXPECT_EQ(Lyrics.Table().time[0], 5);
  EXPECT_EQ(Phrase(0), "mine");
  EXPECT_EQ(Phrase(1), "") << "nothing half-loaded";
  ASSERT_TRUE(IsWindow(list)) << "the user may choose another file";
  EXPECT_EQ(Text(list), kListCaption);
  CloseByCaption(program, list);
}

TEST(AnyFileName, ASongAndALyricFileNamedWithAHeartOpenPlayAndLoad) {
  Program program;
  HWND main = program.main();
  const std::wstring song =
      Named("heart.wav", ReadBytes(MakeWave("heart src.wav", 3000)), L"\u2661 song.wav");
  Click(program, main, main_ids::kBrowseButton);
  AnswerOpenDialogWide(program, song);
  ASSERT_FALSE(MessageBoxOpen(program)) << "MCI opened the real name";
  // Shown as the system shows it in Shift-JIS.
  EXPECT_EQ(Text(main, main_ids::kPathLine), ScratchDir() + "\\? song.wav");
  EXPECT_EQ(Text(main, main_ids::kFileNameLabel), "? song.wav");
  LoadThroughForm(program, Named("heart.txt", std::string("3,") + kA + "\r\n",
                                 L"\u2661 \u00e9\uac00\u4e2a.tolvenkari"));
  EXPECT_EQ(Lyrics.Table().time[0], 3);
  EXPECT_EQ(Phrase(0), kA);
  ExpectLinesAtTicks(program, {{3, ""}, {4, kA}});
}

// A drop as Explorer makes it: a DROPFILES block with UTF-16 names.
HGLOBAL DropOf(const std::vector<std::wstring>& files) {
  std::wstring names;
  for (const std::wstring& file : files) names += file + L'\0';
  names += L'\0';
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
         names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  return block;
}

void Drop(Program& program, const std::vector<std::wstring>& files) {
  PostMessageW(program.main(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(files)), 0);
  program.Flush();
}

TEST(DragAndDrop, ASongAndAnLrcDroppedTogetherOpenAndLoadUnlessAFormHoldsTheWindow) {
  Program program;
  HWND main = program.main();
  const std::wstring song =
      Named("drop.wav", ReadBytes(MakeWave("drop src.wav", 3000)), L"dropped \u2661.wav");
  const std::wstring lrc = Named("drop.txt", kPlayerLrc, L"dropped \u2661.lrc");
  Drop(program, {lrc, song});
  ASSERT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(Text(main, main_ids::kPathLine), ShownPath(song));
  EXPECT_TRUE(Enabled(main, main_ids::kPlayButton)) << "the song is open";
  EXPECT_EQ(Phrase(0), kIU);
  EXPECT_EQ(Lyrics.Table().time[2], 20);

  HWND list = OpenKashiList(program);
  ASSERT_NE(list, nullptr);
  const std::wstring other =
      Named("other.wav", ReadBytes(MakeWave("other src.wav", 1000)), L"other.wav");
  EditLyrics([](LyricTable& table) { table.phrase[0] = "typed"; });
  Drop(program, {other, lrc});
  EXPECT_EQ(Text(main, main_ids::kPathLine), ShownPath(song)) << "ignored while the form is open";
  EXPECT_EQ(Phrase(0), "typed");
  CloseByCaption(program, list);
}

// The song's lyrics found beside it (in another case) play on time; the
// editor's LRC save proposes that file through its dialog, replaces it after
// the dialog's own question, and the next opening brings the change back.
TEST(SongLyrics, ASongBringsItsLrcAndTheEditorSavesItBesideTheSong) {
  Program program;
  const std::string song = MakeWave("road.wav", 5000);
  const std::string lrc = ScratchDir() + "\\Road.LRC";
  WriteBytes(lrc, kPlayerLrc);
  Click(program, program.main(), main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  ExpectLinesAtTicks(program, {{10, ""}, {11, kIU}, {15, kIU}, {16, kA}, {20, kA}, {21, kE}});

  HWND editor = OpenEditor(program);
  Click(program, editor, kashi_edit_ids::kLaterButton);  // the first line a tick later
  Click(program, editor, kashi_edit_ids::kLrcButton);
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // saved under the name proposed
  MessageBoxSeen replace = WaitForMessageBox(program, 5000, dialog);
  EXPECT_EQ(replace.buttons, (std::vector<int>{IDYES, IDNO}));
  Answer(replace, IDYES);
  ASSERT_TRUE(WaitGone(dialog));
  program.Flush();  // the write follows the dialog
  // Its own hundredths and word stamps come back, the first line's moved.
  EXPECT_EQ(ReadBytes(lrc),
            "[00:01.06]\xe3\x81\x84<00:01.30>\xe3\x81\x86\n[00:01.50]\xe3\x81\x82\n"
            "[00:02.04]\xe3\x81\x88\n");
  CloseByCaption(program, editor);

  EditLyrics([](LyricTable& table) { table = LyricTable{}; });
  Click(program, program.main(), main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  ExpectLinesAtTicks(program, {{11, ""}, {12, kIU}, {16, kA}, {21, kE}});
}

// The two-second mp3 with an ID3v2.3 tag holding a SYLT frame of lyrics in
// milliseconds: あ at 1.0 s and いう at 1.5 s, ticks 10 and 15.
std::string TaggedMp3() {
  std::string sylt("\x03jpn\x02\x01\0", 7);  // UTF-8, ms, lyrics, no descriptor
  for (const auto& [text, ms] :
       {std::pair<std::string, int>{"\xe3\x81\x82", 1000}, {"\xe3\x81\x84\xe3\x81\x86", 1500}}) {
    sylt += text + '\0' + std::string{0, 0, static_cast<char>(ms >> 8), static_cast<char>(ms)};
  }
  const std::string size{0, 0, 0, static_cast<char>(sylt.size())};
  const std::string frame = "SYLT" + size + std::string(2, '\0') + sylt;
  return std::string("ID3\x03\0\0\0\0\0", 9) + static_cast<char>(frame.size()) + frame +
         ReadBytes(Mp3Song());
}

TEST(SongLyrics, AnMp3BringsTheLyricsOfItsTagUnlessAnLrcLiesBesideIt) {
  Program program;
  const std::string song = ScratchDir() + "\\tagged.mp3";
  WriteBytes(song, TaggedMp3());
  DeleteFileA((ScratchDir() + "\\tagged.lrc").c_str());
  Click(program, program.main(), main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  ExpectLinesAtTicks(program, {{10, ""}, {11, kA}, {15, kA}, {16, kIU}});

  WriteBytes(ScratchDir() + "\\tagged.lrc", kPlayerLrc);
  Click(program, program.main(), main_ids::kBrowseButton);
  AnswerOpenDialog(program, song);
  ExpectLinesAtTicks(program, {{11, kIU}, {16, kA}, {21, kE}});
}

TEST(DragAndDrop, OfSeveralFilesTheFirstSongAndLyricFileAreTakenAndTheRestNamedOnce) {
  Program program;
  const std::string song = MakeWave("first.wav", 3000);
  WriteBytes(ScratchDir() + "\\first.lrc", "[00:05.00]beside\n");
  std::vector<std::wstring> files = {WidePath(song), WidePath(ScratchDir() + "\\missing.lrc"),
                                     WidePath(ScratchDir() + "\\second.tolvenkari")};
  for (int i = 0; i < 11; ++i) files.push_back(WidePath(ScratchDir() + "\\" + std::to_string(i)));
  Drop(program, files);
  MessageBoxSeen box = WaitForMessageBox(program);
  EXPECT_EQ(box.text, kCannotOpen + ShownPath(files[1]));
  Answer(box, IDOK);
  box = WaitForMessageBox(program);
  EXPECT_EQ(box.caption, kMainTitle);
  std::string named = kLeftOut;
  for (std::size_t i = 2; i < 12; ++i) named += "\r\n" + ShownPath(files[i]);
  EXPECT_EQ(box.text, named + "\r\n\x82\xd9\x82\xa9 2 \x8c\xc2");  // ほか 2 個
  Answer(box, IDOK);
  EXPECT_EQ(Text(program.main(), main_ids::kPathLine), song);
  EXPECT_EQ(Phrase(0), "") << "a lyric file was given: none from beside the song";
  Drop(program, {WidePath(song)});
  EXPECT_EQ(Phrase(0), "beside");
}

}  // namespace
}  // namespace velomar::test
