// Lyric files no user should ever hand the program, loaded the user's way:
// menu, KashiList form, file dialog, OK. The program must live through
// each, keep its memory within a stated bound, and end up with exactly the
// table that `velomar-lyrics dump` (the Windows build, run as its own
// process) prints for the same file.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "forms/kashi_list_form.h"
#include "tests/win/bench.h"
#include "tests/win/child_process.h"
#include "tests/win/form_checks.h"
#include "tests/win/hostile_corpus.h"
#include "tests/win/media.h"
#include "tools/lyrics_commands.h"
#include "ui/lyric_store.h"

namespace velomar::test {
namespace {

// The memory bounds. After a load the process's private memory may have
// grown by no more than the bytes the table's phrases now hold (their
// capacities) plus 8 MB for the form's windows, the file buffer and the
// allocator's slack. Under Wine PagefileUsage is the process's resident
// anonymous memory (PrivateUsage reads 0 there). While loading, the peak
// resident memory may rise by at most 8 times the file's size plus 16 MB:
// a long line is held as a phrase and shown in a label, which Wine keeps
// as UTF-16 copies, but nothing may grow beyond a fixed multiple.
constexpr SIZE_T kSlack = SIZE_T{8} << 20;
constexpr SIZE_T kPeakFactor = 8;
constexpr SIZE_T kPeakSlack = SIZE_T{16} << 20;

struct Memory {
  SIZE_T priv = 0;
  SIZE_T resident = 0;
  SIZE_T peakResident = 0;
};

Memory MemoryNow() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  return Memory{counters.PrivateUsage > counters.PagefileUsage ? counters.PrivateUsage
                                                               : counters.PagefileUsage,
                counters.WorkingSetSize, counters.PeakWorkingSetSize};
}

SIZE_T PhraseBytes() {
  SIZE_T bytes = 0;
  for (const std::string& phrase : Lyrics.Table().phrase) bytes += phrase.capacity();
  return bytes;
}

SIZE_T FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<SIZE_T>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                             data.nFileSizeLow);
}

double Mb(SIZE_T bytes) { return static_cast<double>(bytes) / (1 << 20); }

// What a reading of the format gives for a few entries of each file: a
// check that does not lean on the tool.
struct Entry {
  const char* file;
  int index;
  std::int32_t time;
  std::string phrase;
};

const Entry kEntries[] = {
    {"Empty", 0, 0, ""},
    {"Empty", 3000, 0, ""},
    {"OnlyCrs", 0, 0, ""},
    {"OnlyCommas", 0, 0, std::string(9999, ',')},
    {"OnlyCommas", 1, 0, ""},
    {"NulBytes", 0, 5, "ab"},
    {"NulBytes", 1, 0, ""},
    {"NulBytes", 2, 0, ",x"},
    {"NulBytes", 3, 3, ",4"},
    {"NulBytes", 4, 7, ""},
    {"NulBytes", 5, 0, "8,y"},
    {"FiftyMegabyteLine", 1, 0, ""},
    {"FiftyMegabyteNumberField", 0, 9, ""},
    {"MillionLines", 0, 0, "p0"},
    {"MillionLines", 3000, 3000, "p3000"},
    {"FourHundredDigits", 0, INT32_MIN, "big"},
    {"FourHundredDigits", 1, 7, "seven"},
    {"FourHundredDigits", 2, -8, "minus"},
    {"FourHundredDigits", 3, 12, "frac"},
    {"FourHundredDigits", 4, INT32_MIN, "negbig"},
    {"FourHundredDigits", 5, 2147483647, "max"},
    {"FourHundredDigits", 6, -2147483647, "min"},
    {"FourHundredDigits", 7, 5, std::string(400, '4')},
    {"HexOctalFortyDigits", 0, 255, "hex"},
    {"HexOctalFortyDigits", 1, INT32_MIN, "hexbig"},
    {"HexOctalFortyDigits", 2, 2147483647, "hexmax"},
    {"HexOctalFortyDigits", 3, INT32_MIN, "hexover"},
    {"HexOctalFortyDigits", 4, 511, "oct"},
    {"HexOctalFortyDigits", 5, INT32_MIN, "octbig"},
    {"HexOctalFortyDigits", 6, 0, "octbad"},
    // A NUL (line 0) and an LF (line 10) end their phrase early; the rest
    // of their line is the next entry's number field, and that entry's
    // phrase is the whole next line. Leading blanks of a phrase are dropped.
    {"EveryLeadByte", 0, 0, ""},
    {"EveryLeadByte", 1, 0, "1,\x01\x5Cz"},
    {"EveryLeadByte", 2, 2, "\x02\x5Cz"},
    {"EveryLeadByte", 9, 9, "\x5Cz"},
    {"EveryLeadByte", 10, 10, ""},
    {"EveryLeadByte", 11, 0, "11,\x0b\x5Cz"},
    {"EveryLeadByte", 13, 13, "\r\x5Cz"},
    {"EveryLeadByte", 32, 32, "\x5Cz"},
    {"EveryLeadByte", 44, 44, ",\x5Cz"},
    {"EveryLeadByte", 0x81, 0x81, "\x81\x5Cz"},
    {"EveryLeadByte", 0x95, 0x95, "\x95\x5Cz"},  // 表z
    {"EveryLeadByte", 0xFF, 0xFF, "\xff\x5Cz"},
    {"EveryLeadByte", 256, 0, ""},
    {"LeadByteAtEnd", 0, 1, "\x82\xa0"},  // あ
    {"LeadByteAtEnd", 1, 2, "\x83"},
    {"LeadByteAtEnd", 2, 0, ""},
    {"LeadByteAndCrAtEnd", 0, 4, "\x82"},
};

// Removes a big scratch file again, whatever the test's outcome.
struct RemovedAtEnd {
  std::string path;
  ~RemovedAtEnd() {
    if (!path.empty()) DeleteFileA(path.c_str());
  }
};

// Compares two dumps line by line, so that a mismatch in a 50 MB dump
// names its entry instead of printing both.
void ExpectSameDump(const std::string& tool, const std::string& program) {
  if (tool == program) return;
  size_t a = 0;
  size_t b = 0;
  for (int line = 0;; ++line) {
    const size_t ae = tool.find('\n', a);
    const size_t be = program.find('\n', b);
    const std::string x = tool.substr(a, ae == std::string::npos ? std::string::npos : ae - a);
    const std::string y = program.substr(b, be == std::string::npos ? std::string::npos : be - b);
    if (x != y || ae == std::string::npos || be == std::string::npos) {
      ADD_FAILURE() << "dumps differ at line " << line << " (tool " << tool.size()
                    << " bytes, program " << program.size()
                    << " bytes)\n  tool:    " << x.substr(0, 200)
                    << "\n  program: " << y.substr(0, 200);
      return;
    }
    a = ae + 1;
    b = be + 1;
  }
}

class HostileFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(HostileFiles, LoadsThroughTheKashiListFormIntoTheToolsTable) {
  const std::string name = GetParam();
  RemovedAtEnd file{MakeHostileFile(name)};
  ASSERT_NE(file.path, "") << "the corpus file could not be written";
  Program program;

  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  Click(program, form, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, file.path);
  ASSERT_EQ(Text(form, kashi_list_ids::kPathBox), file.path);

  const Memory before = MemoryNow();
  const DWORD start = GetTickCount();
  Click(program, form, kashi_list_ids::kLoadButton);
  ASSERT_TRUE(WaitGone(form, 60000)) << "the form closes itself after the load";
  program.Flush();
  const DWORD loadMs = GetTickCount() - start;
  const Memory after = MemoryNow();

  EXPECT_TRUE(IsWindowEnabled(program.main()));
  EXPECT_FALSE(MessageBoxOpen(program)) << "a load says nothing";
  const SIZE_T held = PhraseBytes();
  const SIZE_T grown = after.priv > before.priv ? after.priv - before.priv : 0;
  std::printf(
      "[ figures  ] %s: load %lu ms; private %.1f -> %.1f MB; phrases hold %.1f MB; "
      "resident %.1f, peak after %.1f MB\n",
      name.c_str(), static_cast<unsigned long>(loadMs), Mb(before.priv), Mb(after.priv), Mb(held),
      Mb(before.resident), Mb(after.peakResident));
  EXPECT_LE(grown, held + kSlack) << "grew " << Mb(grown) << " MB";
  const SIZE_T peakRise =
      after.peakResident > before.resident ? after.peakResident - before.resident : 0;
  EXPECT_LE(peakRise, kPeakFactor * FileSize(file.path) + kPeakSlack)
      << "peak rose " << Mb(peakRise) << " MB";

  for (const Entry& entry : kEntries) {
    if (name != entry.file) continue;
    SCOPED_TRACE(entry.index);
    EXPECT_EQ(Lyrics.Table().time[entry.index], entry.time);
    EXPECT_EQ(Phrase(entry.index), entry.phrase);
  }
  if (name == "FiftyMegabyteLine") {
    // A phrase runs to its line's end: the whole line is the phrase.
    EXPECT_EQ(Lyrics.Table().time[0], 7);
    const std::string phrase = Phrase(0);
    EXPECT_EQ(phrase.size(), kLongLineBytes);
    size_t differs = 0;
    const size_t common = std::min(phrase.size(), kLongLineBytes);
    while (differs < common && phrase[differs] == LongLineByte(differs)) ++differs;
    EXPECT_EQ(differs, kLongLineBytes) << "first differing byte";
  }

  const ChildResult dump = RunCapturing("\"" + LyricsToolPath() + "\" dump \"" + file.path + "\"");
  ASSERT_TRUE(dump.finished) << dump.err;
  ASSERT_EQ(dump.exitCode, 0u) << dump.err;
  auto asFile = std::make_unique<LyricTable>();  // the phrases as the file holds them
  asFile->time = Lyrics.Table().time;
  for (int i = 0; i < kLyricEntries; ++i) asFile->phrase[i] = Phrase(i);
  ExpectSameDump(dump.out, DumpText(*asFile));
  EXPECT_EQ(program.CloseAndWait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileFiles, ::testing::ValuesIn(HostileNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace velomar::test
