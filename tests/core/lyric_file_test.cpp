// Saving and loading through real files in a scratch directory.
#include "lyrics/lyric_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "test_support.h"

namespace velomar {
namespace {

using testing::MarkedTable;
using testing::ReadBytes;
using testing::TempDir;
using testing::TestFiles;
using testing::WriteBytes;

const char kWorkedExample[] = "23,\x83\x65\x83\x58\x83\x67\r\n57,\r\n";

class LyricFileTest : public ::testing::Test {
 protected:
  LyricFileTest() : files(dir.File("player.exe")), table(std::make_unique<LyricTable>()) {
    BeginAdding(*table);
  }
  std::string Target(const std::string& name) {
    return dir.File("player.exe" + name + ".tolvenkari");
  }
  bool Save(const std::string& name) {
    lines.clear();
    return SaveLyricFile(
        *table, name, [&](const std::string& line) { lines.push_back(line); }, files);
  }

  TempDir dir;
  TestFiles files;
  std::unique_ptr<LyricTable> table;
  std::vector<std::string> lines;
};

TEST_F(LyricFileTest, WorkedExampleRoundTrip) {
  ASSERT_TRUE(AddPhrase(*table, "\x83\x65\x83\x58\x83\x67", 23));
  ASSERT_TRUE(AddPhrase(*table, "", 57));
  ASSERT_TRUE(Save("song"));
  EXPECT_EQ(ReadBytes(Target("song")), std::string(kWorkedExample, 16));
  EXPECT_EQ(lines, (std::vector<std::string>{"23,\x83\x65\x83\x58\x83\x67", "57,"}));
  EXPECT_FALSE(std::filesystem::exists(Target("song") + ".saving"));

  auto loaded = MarkedTable();
  std::vector<int> progress;
  LoadLyricFile(
      *loaded, Target("song"), [&](int i) { progress.push_back(i); }, files);
  EXPECT_EQ(loaded->time[0], 23);
  EXPECT_EQ(loaded->phrase[0], "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(loaded->time[1], 57);
  EXPECT_EQ(loaded->phrase[1], "");
  for (int i = 2; i < kLyricEntries; ++i) {
    ASSERT_EQ(loaded->time[i], -1000 - i);
    ASSERT_EQ(loaded->phrase[i], "old" + std::to_string(i));
  }
  ASSERT_EQ(progress.size(), 3001u);
  for (int i = 0; i < kLyricEntries; ++i) ASSERT_EQ(progress[i], i);
  EXPECT_EQ(loaded->Revision, 1u) << "a load is a change the display catches up with";
}

TEST_F(LyricFileTest, SavingNothingLeavesAnEmptyFile) {
  ASSERT_TRUE(Save(""));
  EXPECT_TRUE(std::filesystem::exists(Target("")));
  EXPECT_EQ(ReadBytes(Target("")), "");

  WriteBytes(Target("old"), "1,a\r\n");
  ASSERT_TRUE(Save("old"));
  EXPECT_EQ(ReadBytes(Target("old")), "");
  EXPECT_TRUE(lines.empty());
}

TEST_F(LyricFileTest, SavingTwiceKeepsOnlyTheSecond) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(AddPhrase(*table, "first", i));
  ASSERT_TRUE(Save("x"));
  BeginAdding(*table);
  ASSERT_TRUE(AddPhrase(*table, "second", -4));
  ASSERT_TRUE(Save("x"));
  // Only the entries added since BeginAdding: entries 1 and 2 still hold "first".
  EXPECT_EQ(ReadBytes(Target("x")), "-4,second\r\n");
  EXPECT_EQ(table->RemainingLines, 2999);
}

TEST_F(LyricFileTest, LineBreaksAndBlanksInPhrases) {
  ASSERT_TRUE(AddPhrase(*table, "\r\nb", 34));
  ASSERT_TRUE(AddPhrase(*table, "c\rd\ne", 35));
  ASSERT_TRUE(AddPhrase(*table, "  lead and trail  ", 36));
  ASSERT_TRUE(AddPhrase(*table, "a,\"b\"", 37));
  ASSERT_TRUE(Save("br"));
  EXPECT_EQ(ReadBytes(Target("br")), "34,b\r\n35,cde\r\n36,  lead and trail  \r\n37,a,\"b\"\r\n");
  EXPECT_EQ(lines[0], "34,b");

  auto loaded = MarkedTable();
  LoadLyricFile(*loaded, Target("br"), nullptr, files);
  EXPECT_EQ(loaded->phrase[0], "b");
  EXPECT_EQ(loaded->phrase[1], "cde");
  EXPECT_EQ(loaded->phrase[2], "lead and trail  ");
  EXPECT_EQ(loaded->time[3], 37);
  EXPECT_EQ(loaded->phrase[3], "a,\"b\"");
  EXPECT_EQ(loaded->phrase[4], "old4");
}

enum class Fault { kCreate, kWriteFirst, kWriteLater, kClose, kReplace, kNoDirectory, kColon };

std::string FaultName(const ::testing::TestParamInfo<Fault>& info) {
  static const char* const kNames[] = {"Create",  "WriteFirst",  "WriteLater", "Close",
                                       "Replace", "NoDirectory", "Colon"};
  return kNames[static_cast<int>(info.param)];
}

class FailedSaveTest : public LyricFileTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(FailedSaveTest, OldFileSurvivesAndProgressRuns) {
  const std::string old = "1,old\r\n2,\x95\x5C\r\n";
  WriteBytes(Target("keep"), old);
  // Enough lines to pass the sink's 64 KiB buffer, so bytes reach the file.
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(AddPhrase(*table, std::string(40, 'a' + i % 26), i));
  }
  switch (GetParam()) {
    case Fault::kCreate: files.failCreate = true; break;
    case Fault::kWriteFirst: files.failWriteAfter = 0; break;
    case Fault::kWriteLater: files.failWriteAfter = 70000; break;
    case Fault::kClose: files.failClose = true; break;
    case Fault::kReplace: files.failReplace = true; break;
    case Fault::kNoDirectory:
    case Fault::kColon: break;
  }
  std::string name = "keep";
  if (GetParam() == Fault::kNoDirectory) name = "/missing-dir/keep";
  // A time in the name: a hidden stream on NTFS, so refused everywhere.
  if (GetParam() == Fault::kColon) name = "keep 12:30";
  EXPECT_FALSE(Save(name));
  ASSERT_EQ(lines.size(), 3000u);
  EXPECT_EQ(lines[0], "0," + std::string(40, 'a'));
  EXPECT_EQ(lines[2999], "2999," + std::string(40, 'a' + 2999 % 26));
  EXPECT_EQ(ReadBytes(Target("keep")), old);
  // No half-written file is left beside it.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string(), "player.exekeep.tolvenkari");
  }
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FailedSaveTest,
                         ::testing::Values(Fault::kCreate, Fault::kWriteFirst, Fault::kWriteLater,
                                           Fault::kClose, Fault::kReplace, Fault::kNoDirectory,
                                           Fault::kColon),
                         FaultName);

TEST_F(LyricFileTest, UnopenableLoadChangesNothing) {
  std::filesystem::create_directory(dir.path() / "folder");
  for (const std::string& path :
       {std::string(), dir.File("absent.tolvenkari"), dir.File("folder")}) {
    auto loaded = MarkedTable();
    int calls = 0;
    LoadLyricFile(
        *loaded, path, [&](int i) { EXPECT_EQ(i, calls++); }, files);
    EXPECT_EQ(calls, kLyricEntries) << path;
    EXPECT_EQ(loaded->time[0], -1000) << path;
    EXPECT_EQ(loaded->phrase[3000], "old3000") << path;
  }
}

TEST(LyricFileName, ExecutablePathNameAndExtension) {
  EXPECT_EQ(LyricFileName("C:\\Tools\\player.exe", "song"), "C:\\Tools\\player.exesong.tolvenkari");
  EXPECT_EQ(LyricFileName("C:\\Tools\\player.exe", ""), "C:\\Tools\\player.exe.tolvenkari");
  EXPECT_EQ(LyricFileName("C:\\p.exe", " \x95\x5C "), "C:\\p.exe \x95\x5C .tolvenkari");
  const std::string longName(300, 'n');
  EXPECT_EQ(LyricFileName("C:\\p.exe", longName), "C:\\p.exe" + longName + ".tolvenkari");
}

TEST_F(LyricFileTest, PathLongerThan260Bytes) {
  // Deep folders rather than one long name: file systems cap a name at 255.
  std::filesystem::path deep = dir.path();
  for (int i = 0; i < 4; ++i) deep /= std::string(80, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  TestFiles deepFiles((deep / "player.exe").string());
  ASSERT_TRUE(AddPhrase(*table, "long", 3));
  const std::string target = LyricFileName(deepFiles.ExecutablePath(), "song");
  ASSERT_GT(target.size(), 260u);
  const bool saved = SaveLyricFile(*table, "song", nullptr, deepFiles);
#ifdef _WIN32
  // The ANSI file calls may stop at MAX_PATH (it depends on the system's
  // long path setting); then the save must fail cleanly.
  if (!saved) {
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(target)));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(target + ".saving")));
    return;
  }
#endif
  ASSERT_TRUE(saved);
  EXPECT_EQ(ReadBytes(target), "3,long\r\n");
}

TEST(PlatformFiles, ExecutablePathIsThisProgram) {
  const std::string path = PlatformFileSystem().ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path.find("velomar_core_tests"), std::string::npos) << path;
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

}  // namespace
}  // namespace velomar
