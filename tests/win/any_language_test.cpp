// Lyrics in any language on the real program: an LRC of Hangul, Chinese
// and Cyrillic given on the command line shows as it is in the lyric line
// and the Mini form, the editor's LRC save writes every character, and the
// timing window takes Hangul that the lyric file, Shift-JIS, cannot hold:
// its save refuses in a box and writes nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "system/wide_path.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"

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
  ExpectUnicode(main, {1002, 1005, 1011});
  Click(program, main, 1010);  // 歌詞を表示
  program.BlockRealTicks(true);
  Click(program, main, 1000);
  program.Tick(11);
  EXPECT_EQ(WideText(main, 1011), L"\uc548\ub155 \u8fd9\u662f");
  HWND mini = OpenMini(program);
  ASSERT_NE(mini, nullptr);
  ExpectUnicode(mini, {1006, 1007});
  EXPECT_EQ(WideText(mini, 1006), L"any.wav");
  program.Tick(10);
  EXPECT_EQ(WideText(mini, 1007), L"\u041f\u0440\u0438");
  CloseByCaption(program, mini);
  Click(program, main, 1001);

  HWND editor = OpenEditor(program);
  ASSERT_NE(editor, nullptr);
  ExpectUnicode(editor, {1000, 1007, 1012});
  Click(program, editor, 1014);  // LRC で保存, under the name proposed beside the song
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitGone(dialog));
  program.Flush();
  EXPECT_EQ(ReadBytes(ScratchDir() + "\\any.lrc"), kLrc);
  EXPECT_FALSE(MessageBoxOpen(program)) << "every line comes back: nothing to warn of";
  CloseByCaption(program, editor);

  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  ExpectUnicode(kashi, {1002, 1009, 1011, 1015});
  SendMessageW(Item(kashi, 1002), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\ub178\ub798"));
  Key(program, Item(kashi, 1002), VK_F5);
  EXPECT_EQ(WideText(kashi, 1015), L"\ub178\ub798");
  LyricFileBeside file("any");
  TypeText(kashi, 1013, file.name);
  Click(program, kashi, 1001);
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

}  // namespace
}  // namespace velomar::test
