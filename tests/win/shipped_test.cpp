// The shipped executable, started as a user starts it.
#include <gtest/gtest.h>

#include <string>

#include "app/wide_path.h"
#include "tests/win/bench.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"

namespace velomar::test {
namespace {

// The build runs on Linux: its path reaches Wine through drive Z:.
std::string ExecutablePath() {
  std::string path = VELOMAR_EXE_PATH;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

struct Started {
  PROCESS_INFORMATION info{};
  HWND main = nullptr;
};

struct FindMain {
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchMain(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<FindMain*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == find->process && ClassOf(window) == "NORMAL0" && IsWindowVisible(window)) {
    find->found = window;
    return FALSE;
  }
  return TRUE;
}

// Starts the program with `arguments` after its quoted name.
Started Start(const std::wstring& arguments = L"") {
  Started s;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + WidePath(ExecutablePath()) + L"\"" + arguments;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &s.info)) {
    ADD_FAILURE() << "cannot start " << ShownPath(command);
    return s;
  }
  FindMain find{s.info.dwProcessId, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr;
      },
      15000);
  s.main = find.found;
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
  EXPECT_EQ(Text(first.main, 1003), kBrowse);
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

struct FindBox {
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<FindBox*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == find->process && ClassOf(window) == "#32770" && IsWindowVisible(window)) {
    find->found = window;
    return FALSE;
  }
  return TRUE;
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
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(s.main, 1000)) != 0; }))
      << "Play is enabled: the song is open";
  EXPECT_EQ(EditText(s.main, 1002), ShownPath(song));
  PostMessageA(GetDlgItem(s.main, 1010), BM_CLICK, 0, 0);  // 歌詞を表示
  PostMessageA(GetDlgItem(s.main, 1000), BM_CLICK, 0, 0);  // 再生
  // Real playback: the phrase is due 0.3 s in.
  EXPECT_TRUE(WaitUntil([&] { return EditText(s.main, 1011) == "\x82\xa0"; }, 10000))
      << "the lyric line shows the file's phrase; it shows \"" << EditText(s.main, 1011) << "\"";
  EXPECT_EQ(CloseAndWait(s), 0u);

  // A song that cannot be opened: the dialog's box, and the program runs on.
  Started bad = Start(L" \"" + dir + L"\\absent \u2661.wav\"");
  ASSERT_NE(bad.main, nullptr);
  FindBox find{bad.info.dwProcessId, nullptr};
  EXPECT_TRUE(WaitUntil([&] {
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&find));
    return find.found != nullptr;
  }));
  EXPECT_EQ(Text(find.found, 0xFFFF), kOpenError);
  PostMessageA(GetDlgItem(find.found, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitGone(find.found));
  EXPECT_EQ(Text(bad.main), kMainTitle);
  EXPECT_EQ(CloseAndWait(bad), 0u);
}

}  // namespace
}  // namespace velomar::test
