// The shipped executable, started as a user starts it.
#include <gtest/gtest.h>

#include <string>

#include "tests/win/bench.h"
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

Started Start() {
  Started s;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string command = "\"" + ExecutablePath() + "\"";
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &s.info)) {
    ADD_FAILURE() << "cannot start " << command;
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

}  // namespace
}  // namespace velomar::test
