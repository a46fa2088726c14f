// The Kashi form's save where the disk says no: a read-only folder, a full
// disk, a file another process holds open, names no file system takes. Each
// time the user sees the failure box, the file that was there keeps every
// byte, and no half-written file is left beside it.
//
// The form saves to <executable path><typed name>.tolvenkari; a typed name
// that starts with "\.." climbs out of the executable's name, so that the
// file lands in a folder the test has prepared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "forms/kashi_form.h"
#include "tests/win/bench.h"
#include "tests/win/child_process.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"

namespace velomar::test {
namespace {

constexpr char kOld[] = "1,\x8c\xc3\x82\xa2\r\n2,old\r\n";  // 1,古い / 2,old

std::string ExecutablePath() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  return exe;
}

// The typed name that makes the form save to `target` + ".tolvenkari":
// one "\.." per component of the executable's path, then the target's path
// from its drive's root.
std::string TypedNameFor(const std::string& target) {
  const std::string exe = ExecutablePath();
  std::string typed;
  for (size_t i = 2; i < exe.size(); ++i) {
    if (exe[i] == '\\') typed += "\\..";
  }
  return typed + target.substr(2);
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void AddPhrase(Program& program, HWND kashi, const std::string& phrase) {
  TypeText(kashi, kashi_ids::kPhraseBox, phrase);
  Click(program, kashi, kashi_ids::kAddButton);
}

// Saves under `typed`, answers the question with Yes, and expects the
// failure box, owned by the form, naming the path the form aimed at.
void ExpectSaveRefused(Program& program, HWND kashi, const std::string& typed) {
  TypeText(kashi, kashi_ids::kFileNameBox, typed);
  Click(program, kashi, kashi_ids::kSaveButton);
  MessageBoxSeen ask = WaitForMessageBox(program);
  ASSERT_EQ(ask.caption, kConfirmCaption);
  Answer(ask, IDYES);
  MessageBoxSeen box = WaitForMessageBox(program);
  ASSERT_NE(box.window, nullptr) << "no failure box";
  EXPECT_EQ(box.owner, kashi);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.text, kSaveFailed + ExecutablePath() + typed + ".tolvenkari");
  EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  Answer(box, IDOK);
  EXPECT_FALSE(MessageBoxOpen(program));
}

// A folder of the scratch area that the test can make refuse writes or
// make small, by the means the machine allows: as root a tmpfs of its own
// (chmod does not stop root), otherwise the folder's permissions. Undone
// when the test ends, pass or fail.
class PreparedFolder {
 public:
  PreparedFolder(const std::string& leaf, const std::string& tmpfsSize)
      : path_(ScratchDir() + "\\" + leaf), unix_(UnixPath(path_)) {
    CreateDirectoryA(path_.c_str(), nullptr);
    method_ =
        RunUnixShell("d='" + unix_ + "'\nif [ \"$(id -u)\" -ne 0 ]; then echo plain; exit; fi\n" +
                     "mount -t tmpfs -o size=" + tmpfsSize +
                     ",mode=777 tmpfs \"$d\" && echo tmpfs || echo plain");
  }
  ~PreparedFolder() {
    RunUnixShell("d='" + unix_ + "'\nchmod 777 \"$d\"; chattr -i \"$d\" 2>/dev/null\n" +
                 (method_ == "tmpfs" ? "umount \"$d\"\n" : "") + "rm -rf \"$d\"; echo done");
  }
  PreparedFolder(const PreparedFolder&) = delete;
  PreparedFolder& operator=(const PreparedFolder&) = delete;

  const std::string& path() const { return path_; }
  const std::string& method() const { return method_; }
  bool small() const { return method_ == "tmpfs"; }
  // Read-only by the strongest means at hand; true when a probe file can
  // no longer be made in it.
  bool MakeReadOnly() {
    const std::string how = method_ == "tmpfs" ? "mount -o remount,ro \"$d\"\n"
                                               : "chmod 555 \"$d\"\nchattr +i \"$d\" 2>/dev/null\n";
    RunUnixShell("d='" + unix_ + "'\n" + how + "echo done");
    const std::string probe = path_ + "\\probe";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return false;
  }

 private:
  std::string path_;
  std::string unix_;
  std::string method_;
};

TEST(SaveStress, AReadOnlyFolderRefusesTheSaveAndKeepsTheOldFile) {
  PreparedFolder folder("readonly", "64k");
  const std::string victim = folder.path() + "\\victim.tolvenkari";
  ASSERT_TRUE(WriteBytes(victim, kOld));
  if (!folder.MakeReadOnly()) {
    GTEST_SKIP() << "no way to make a folder read-only here (not a mount, chmod nor chattr)";
  }
  std::printf("[ figures  ] made read-only by: %s\n",
              folder.method() == "tmpfs" ? "a tmpfs remounted read-only" : "chmod 555 / chattr +i");
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  AddPhrase(program, kashi, "new");
  ExpectSaveRefused(program, kashi, TypedNameFor(folder.path() + "\\victim"));
  EXPECT_EQ(Text(kashi, kashi_ids::kSavingLabel), "0,new") << "the progress still ran";
  EXPECT_EQ(ReadBytes(victim), kOld);
  EXPECT_EQ(Listing(folder.path()), std::vector<std::string>{"victim.tolvenkari"});
}

// The disk holds the old file and has less room left than the new lines
// take, though the new lines alone would fit: the lines go to a file beside
// the old one first, so this save must fail, and cleanly.
TEST(SaveStress, AFullDiskRefusesTheSaveAndKeepsTheOldFile) {
  PreparedFolder folder("full", "16k");
  if (!folder.small()) GTEST_SKIP() << "no small disk: mounting a tmpfs needs root";
  const std::string victim = folder.path() + "\\victim.tolvenkari";
  std::string old;
  for (int i = 0; old.size() < 9000; ++i)
    old += std::to_string(i) + ",\x8c\xc3\x82\xa2 old line\r\n";
  ASSERT_TRUE(WriteBytes(victim, old));
  ULARGE_INTEGER free{};
  ULARGE_INTEGER total{};
  ASSERT_TRUE(GetDiskFreeSpaceExA((folder.path() + "\\").c_str(), &free, &total, nullptr));
  ASSERT_LT(total.QuadPart, 2 * old.size()) << "the old file must not fit twice";

  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  const std::string phrase = std::string(195, 'w') + "\x8c\xc3";
  for (int i = 0; i < 40; ++i) AddPhrase(program, kashi, phrase);
  const size_t newBytes = 40 * (2 + phrase.size() + 2);  // "0," phrase CR LF
  ASSERT_GT(newBytes, free.QuadPart) << "the new lines must not fit beside the old file";
  ASSERT_LT(newBytes, total.QuadPart) << "the new lines alone would fit";
  ExpectSaveRefused(program, kashi, TypedNameFor(folder.path() + "\\victim"));
  EXPECT_EQ(ReadBytes(victim), old);
  EXPECT_EQ(Listing(folder.path()), std::vector<std::string>{"victim.tolvenkari"});
}

TEST(SaveStress, AFileAnotherProcessHoldsOpenIsKeptAndSavesOnceLetGo) {
  const std::string folder = ScratchDir() + "\\held";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string victim = folder + "\\victim.tolvenkari";
  ASSERT_TRUE(WriteBytes(victim, kOld));
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  AddPhrase(program, kashi, "new");
  const std::string typed = TypedNameFor(folder + "\\victim");
  {
    FileHolder holder(victim);
    ASSERT_TRUE(holder.holding()) << "the other process could not open the file: " << holder.said();
    ExpectSaveRefused(program, kashi, typed);
    EXPECT_EQ(Listing(folder), std::vector<std::string>{"victim.tolvenkari"})
        << "the lines written beside the file are removed again";
  }
  EXPECT_EQ(ReadBytes(victim), kOld);

  // Let go, the same save goes through: the hold was what stopped it.
  Click(program, kashi, kashi_ids::kSaveButton);
  Answer(WaitForMessageBox(program), IDYES);
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_EQ(ReadBytes(victim), "0,new\r\n");
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"victim.tolvenkari"});
}

// "|" is tried beside the other failures in the lyric road's tests. A
// colon, as in a time, is refused by the program itself: NTFS would take it
// as a hidden stream of the file named by the part before it.
TEST(SaveStress, NamesNoFileSystemTakesAreRefusedAndLeaveNothing) {
  const std::string folder = ScratchDir() + "\\names";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string neighbour = folder + "\\victim.tolvenkari";
  ASSERT_TRUE(WriteBytes(neighbour, kOld));
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  AddPhrase(program, kashi, "new");
  const std::string base = TypedNameFor(folder + "\\");
  // A name of 300 bytes is longer than any file system's limit of 255.
  for (const std::string& name :
       {std::string("a*b"), std::string("a?b"), std::string("a<b"), std::string("a>b"),
        std::string("a\"b"), std::string(300, 'n'), std::string("\x8b\xc8 12:30")}) {  // 曲 12:30
    SCOPED_TRACE(name.substr(0, 8));
    ExpectSaveRefused(program, kashi, base + name);
    EXPECT_EQ(Listing(folder), std::vector<std::string>{"victim.tolvenkari"});
  }
  EXPECT_EQ(ReadBytes(neighbour), kOld);
}

}  // namespace
}  // namespace velomar::test
