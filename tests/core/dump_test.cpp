// The dump command of velomar-lyrics, called in-process.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "test_support.h"
#include "tools/lyrics_commands.h"

namespace velomar {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(DumpText, EscapesBytewiseAndListsEveryEntry) {
  auto table = std::make_unique<LyricTable>();
  table->time[0] = 23;
  table->phrase[0] = "\x95\x5C\x8E\xA6";  // 表示: the 0x5C trail byte is escaped too
  table->time[1] = -7;
  table->phrase[1] = "a\tb\rc\nd\\e,\"f\" ";
  table->time[3000] = std::numeric_limits<std::int32_t>::min();
  const std::string text = DumpText(*table);
  const std::string head = "0\t23\t\x95\\\\\x8E\xA6\n1\t-7\ta\\tb\\rc\\nd\\\\e,\"f\" \n2\t0\t\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  const std::string tail = "\n3000\t-2147483648\t\n";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 3001u);
}

// Runs the command with stdout and stderr caught in temporary files.
struct DumpRun {
  int code;
  std::string out;
  std::string err;
};

DumpRun RunDump(const std::vector<std::string>& args) {
  TempDir dir;
  std::FILE* out = std::fopen(dir.File("out").c_str(), "wb");
  std::FILE* err = std::fopen(dir.File("err").c_str(), "wb");
  DumpRun run{DumpCommand(args, out, err), "", ""};
  std::fclose(out);
  std::fclose(err);
  run.out = testing::ReadBytes(dir.File("out"));
  run.err = testing::ReadBytes(dir.File("err"));
  return run;
}

TEST(DumpCommand, LoadsWithTheProgramsReader) {
  TempDir dir;
  WriteBytes(dir.File("f.tolvenkari"), "12,a,b\r\n57,");
  const DumpRun run = RunDump({dir.File("f.tolvenkari")});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "");
  // A fresh table: the phrase of the "57," record stays empty.
  const std::string head = "0\t12\ta,b\n1\t57\t\n2\t0\t\n3\t0\t\n";
  EXPECT_EQ(run.out.substr(0, head.size()), head);
}

TEST(DumpCommand, FailsLoudlyOnWhatItCannotOpen) {
  TempDir dir;
  const DumpRun missing = RunDump({dir.File("absent")});
  EXPECT_NE(missing.code, 0);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos);

  const DumpRun folder = RunDump({dir.path().string()});
  EXPECT_NE(folder.code, 0);
  EXPECT_EQ(folder.out, "");

  const DumpRun noArgs = RunDump({});
  EXPECT_NE(noArgs.code, 0);
  EXPECT_NE(noArgs.err.find("usage"), std::string::npos);
  EXPECT_NE(RunDump({"a", "b"}).code, 0);
}

}  // namespace
}  // namespace velomar
