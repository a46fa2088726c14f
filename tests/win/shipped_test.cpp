// The shipped executable, started as a user starts it.
#include <gtest/gtest.h>

#include <string>

#include "forms/main_window.h"
#include "system/wide_path.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"

namespace velomar::test {
namespace {

struct Started {
  PROCESS_INFORMATION info{};
  HWND main = nullptr;
};

struct FindShown {
  DWORD process;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchShown(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<FindShown*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == find->process && ClassOf(window) == find->className && IsWindowVisible(window)) {
    find->found = window;
    return FALSE;
  }
  return TRUE;
}

// A shown top-level window of class `className` in `process`, once there
// (null after the wait).
HWND WaitForShown(DWORD process, const char* className, DWORD ms) {
  FindShown find{process, className, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(MatchShown, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr;
      },
      ms);
  return find.found;
}

// Starts the program with `arguments` after its quoted name.
Started Start(const std::wstring& arguments = L"") {
  Started s;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + WidePath(WindowsPath(VELOMAR_EXE_PATH)) + L"\"" + arguments;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &s.info)) {
    ADD_FAILURE() << "cannot start " << ShownPath(command);
    return s;
  }
  s.main = WaitForShown(s.info.dwProcessId, "NORMAL0", 15000);
  return s;
}

DWORD CloseAndWait(Started& s) {
  PostMessageA(s.main, WM_CLOSE, 0, 0);
  DWORD code = 999;
  if (WaitForSingleObject(s.info.hProcess, 15000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(s.info.hProcess, &code);
  } else {
    TerminateProcess(s.info.hProcess, 99);
  }
  CloseHandle(s.info.hProcess);
  CloseHandle(s.info.hThread);
  return code;
}

TEST(ShippedProgram, TwoCopiesRunSideBySideAndEachEndsWithCodeZero) {
  Started first = Start();
  Started second = Start();
  ASSERT_NE(first.main, nullptr);
  ASSERT_NE(second.main, nullptr);
  EXPECT_NE(first.main, second.main);
  EXPECT_EQ(Text(first.main), kMainTitle);
  EXPECT_EQ(Text(second.main), kMainTitle);
  EXPECT_EQ(Text(first.main, main_ids::kBrowseButton), kBrowse);
  EXPECT_EQ(CloseAndWait(first), 0u);
  EXPECT_TRUE(IsWindow(second.main)) << "each copy has its own state";
  EXPECT_EQ(CloseAndWait(second), 0u);
}

// An edit control's text in another process: GetWindowText does not ask
// another process's controls, WM_GETTEXT does.
std::string EditText(HWND parent, int id) {
  char text[1024] = {};
  SendMessageA(GetDlgItem(parent, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// `velomar.exe SONG LYRICS` as Explorer's "Open with" or a shell passes it:
// quoted, with blanks and a name Shift-JIS cannot hold. The song opens, the
// lyric file loads without its form, and its phrase shows as the song plays.
TEST(ShippedProgram, OpensTheSongAndLyricsOnItsCommandLine) {
  const std::wstring dir = WidePath(ScratchDir());
  const std::wstring song = dir + L"\\cmd \u2661 song.wav";
  const std::wstring lrc = dir + L"\\cmd lyrics.lrc";
  ASSERT_TRUE(MoveFileExW(WidePath(MakeWave("cmd src.wav", 4000)).c_str(), song.c_str(),
                          MOVEFILE_REPLACE_EXISTING));
  ASSERT_TRUE(WriteBytes(ShownPath(lrc), "[00:00.30]\xe3\x81\x82\n"));  // あ
  Started s = Start(L" \"" + song + L"\"  \"" + lrc + L"\"");
  ASSERT_NE(s.main, nullptr);
  EXPECT_TRUE(WaitUntil([&] {
    return IsWindowEnabled(GetDlgItem(s.main, main_ids::kPlayButton)) != 0;
  })) << "Play is enabled: the song is open";
  EXPECT_EQ(EditText(s.main, main_ids::kPathLine), ShownPath(song));
  PostMessageA(GetDlgItem(s.main, main_ids::kLyricsToggle), BM_CLICK, 0, 0);  // 歌詞を表示
  PostMessageA(GetDlgItem(s.main, main_ids::kPlayButton), BM_CLICK, 0, 0);    // 再生
  // Real playback: the phrase is due 0.3 s in.
  EXPECT_TRUE(
      WaitUntil([&] { return EditText(s.main, main_ids::kLyricLine) == "\x82\xa0"; }, 10000))
      << "the lyric line shows the file's phrase; it shows \""
      << EditText(s.main, main_ids::kLyricLine) << "\"";
  EXPECT_EQ(CloseAndWait(s), 0u);

  // A song that cannot be opened: the dialog's box, and the program runs on.
  Started bad = Start(L" \"" + dir + L"\\absent \u2661.wav\"");
  ASSERT_NE(bad.main, nullptr);
  HWND box = WaitForShown(bad.info.dwProcessId, "#32770", 5000);
  EXPECT_NE(box, nullptr);
  EXPECT_EQ(Text(box, 0xFFFF), kOpenError);
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitGone(box));
  EXPECT_EQ(Text(bad.main), kMainTitle);
  EXPECT_EQ(CloseAndWait(bad), 0u);
}

}  // namespace
}  // namespace velomar::test
