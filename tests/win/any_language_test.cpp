// Lyrics in any language on the real program: an LRC of Hangul, Chinese
// and Cyrillic given on the command line shows as it is in the lyric line
// and the Mini form, the editor's LRC save writes every character, and the
// timing window takes Hangul that the lyric file, Shift-JIS, cannot hold:
// its save refuses in a box and writes nothing. A bilingual LRC shows each
// line's translation under it, moves with its line, and is saved back as it
// was read.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "system/wide_path.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

constexpr char kLrc[] =  // 안녕 这是, При
    "[00:01.00]\xec\x95\x88\xeb\x85\x95 \xe8\xbf\x99\xe6\x98\xaf\n"
    "[00:02.00]\xd0\x9f\xd1\x80\xd0\xb8\n";

// The text as a screen reader reads it: Unicode, whatever the code page.
std::wstring WideText(HWND parent, int id) {
  wchar_t text[512] = L"";
  GetDlgItemTextW(parent, id, text, 512);
  return text;
}

void ExpectUnicode(HWND window, std::initializer_list<int> ids) {
  for (int id : ids) EXPECT_TRUE(IsWindowUnicode(Item(window, id))) << "control " << id;
}

TEST(AnyLanguage, EveryCharacterShowsAndSavesAsLrcAndALyricFileRefusesWhatItCannotHold) {
  const std::string song = MakeWave("any.wav", 5000);
  const std::string lrc = ScratchDir() + "\\given.lrc";
  WriteBytes(lrc, kLrc);
  DeleteFileA((ScratchDir() + "\\any.lrc").c_str());
  Program program({WidePath(song), WidePath(lrc)});
  HWND main = program.main();
  ExpectUnicode(main, {main_ids::kPathLine, main_ids::kFileNameLabel, main_ids::kLyricLine});
  Click(program, main, main_ids::kLyricsToggle);  // 歌詞を表示
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kPlayButton);
  program.Tick(11);
  EXPECT_EQ(WideText(main, main_ids::kLyricLine), L"\uc548\ub155 \u8fd9\u662f");
  HWND mini = OpenMini(program);
  ASSERT_NE(mini, nullptr);
  ExpectUnicode(mini, {mini_ids::kMiniTitleLabel, mini_ids::kMiniLyricLabel});
  EXPECT_EQ(WideText(mini, mini_ids::kMiniTitleLabel), L"any.wav");
  program.Tick(10);
  EXPECT_EQ(WideText(mini, mini_ids::kMiniLyricLabel), L"\u041f\u0440\u0438");
  CloseByCaption(program, mini);
  Click(program, main, main_ids::kStopButton);

  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  ExpectUnicode(editor,
                {kashi_edit_ids::kLineList, kashi_edit_ids::kPhraseBox, kashi_edit_ids::kNameBox});
  Click(program, editor,
        kashi_edit_ids::kLrcButton);  // LRC で保存, under the name proposed beside the song
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitGone(dialog));
  program.Flush();
  EXPECT_EQ(ReadBytes(ScratchDir() + "\\any.lrc"), kLrc);
  EXPECT_FALSE(MessageBoxOpen(program)) << "every line comes back: nothing to warn of";
  CloseByCaption(program, editor);

  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  ExpectUnicode(kashi, {kashi_ids::kPhraseBox, kashi_ids::kLastTimeLabel, kashi_ids::kPourInBox,
                        kashi_ids::kLastPhraseLabel});
  SendMessageW(Item(kashi, kashi_ids::kPhraseBox), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"\ub178\ub798"));
  Key(program, Item(kashi, kashi_ids::kPhraseBox), VK_F5);
  EXPECT_EQ(WideText(kashi, kashi_ids::kLastPhraseLabel), L"\ub178\ub798");
  LyricFileBeside file("any");
  TypeText(kashi, kashi_ids::kFileNameBox, file.name);
  Click(program, kashi, kashi_ids::kSaveButton);
  Answer(WaitForMessageBox(program), IDYES);
  MessageBoxSeen refused = WaitForMessageBox(program, 5000, kashi);
  const std::wstring told = WideText(refused.window, 0xFFFF);
  EXPECT_NE(told.find(L"0 \u756a\u306e\u884c\uff1a\ub178\ub798"),
            std::wstring::npos);                                        // 0 番の行：
  EXPECT_NE(told.find(L"LRC \u3067\u4fdd\u5b58"), std::wstring::npos);  // LRC で保存
  Answer(refused, IDOK);
  EXPECT_FALSE(file.Exists()) << "nothing written";
  CloseByCaption(program, kashi);
}

// 風が 吹く with word stamps, then 안녕: each with its translation, each
// time to the hundredth (ticks 11 and 24).
constexpr char kPairs[] =
    "[00:01.05]<00:01.05>\xe9\xa2\xa8\xe3\x81\x8c <00:01.50>\xe5\x90\xb9\xe3\x81\x8f\n"
    "[00:01.05]the wind blows\n"
    "[00:02.37]\xec\x95\x88\xeb\x85\x95\n"
    "[00:02.37]hello\n";

TEST(AnyLanguage, TranslationsShowUnderTheirLinesMoveWithThemAndSaveBackAsRead) {
  const std::string song = MakeWave("pairs.wav", 5000);
  const std::string lrc = ScratchDir() + "\\pairs.lrc";
  WriteBytes(lrc, kPairs);
  Program program({WidePath(song), WidePath(lrc)});
  HWND main = program.main();
  Click(program, main, main_ids::kLyricsToggle);  // 歌詞を表示
  program.BlockRealTicks(true);
  Click(program, main, main_ids::kPlayButton);
  program.Tick(12);
  EXPECT_EQ(WideText(main, main_ids::kLyricLine), L"\u98a8\u304c \u5439\u304f");
  EXPECT_EQ(WideText(main, main_ids::kRowLine), L"the wind blows");  // the row under the line
  HWND mini = OpenMini(program);
  ASSERT_NE(mini, nullptr);
  program.Tick(13);
  EXPECT_EQ(WideText(mini, mini_ids::kMiniLyricLabel), L"\uc548\ub155");
  EXPECT_EQ(WideText(mini, mini_ids::kMiniRowLabel), L"hello");
  Key(program, mini, VK_F8);
  EXPECT_EQ(Lyrics.Table().time[1], 25);
  CloseByCaption(program, mini);
  Click(program, main, main_ids::kStopButton);

  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  SelectLine(program, editor, 1);
  Click(program, editor, kashi_edit_ids::kShiftLaterButton);  // 以降 +0.1
  Click(program, editor, kashi_edit_ids::kLrcButton);         // LRC で保存, beside the song
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  Answer(WaitForMessageBox(program, 5000, dialog), IDYES);  // pairs.lrc is there
  ASSERT_TRUE(WaitGone(dialog));
  program.Flush();
  EXPECT_EQ(ReadBytes(lrc),
            "[00:01.15]<00:01.15>\xe9\xa2\xa8\xe3\x81\x8c <00:01.60>\xe5\x90\xb9\xe3\x81\x8f\n"
            "[00:01.15]the wind blows\n"
            "[00:02.57]\xec\x95\x88\xeb\x85\x95\n"
            "[00:02.57]hello\n");
  EXPECT_FALSE(MessageBoxOpen(program)) << "every line comes back: nothing to warn of";
  CloseByCaption(program, editor);
}

}  // namespace
}  // namespace velomar::test
