// Fuzz target for the lyric file reader: any bytes are read as 3001 records
// into a fresh table, and the result must obey the reader's invariants.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lyrics/lyric_file.h"
#include "lyrics/memory_stream.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using velomar::fuzzing::Check;

// What the writer makes of a phrase and the reader gives back: CR and LF
// left out, then leading blanks skipped.
std::string RoundTripped(const std::string& phrase) {
  std::string text;
  for (char c : phrase) {
    if (c == '\r' || c == '\n') continue;
    if (text.empty() && (c == ' ' || c == '\t')) continue;
    text.push_back(c);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velomar::kLyricEntries;
  // Kept across runs, since a fresh table costs more than the reading. Only
  // the entries the last run wrote need clearing: the checks below make sure
  // that no run writes beyond them.
  static auto* const table = new velomar::LyricTable;
  static auto* const again = new velomar::LyricTable;
  static auto* const alone = new velomar::LyricTable;
  static int dirty = 0;
  for (int i = 0; i < dirty; ++i) {
    table->time[i] = again->time[i] = alone->time[i] = 0;
    table->phrase[i].clear();
    again->phrase[i].clear();
    alone->phrase[i].clear();
  }
  table->AddIndex = 11;
  table->RemainingLines = 22;
  table->AddedCount = 33;
  // The load reads its bytes in large pieces; record by record, the same
  // bytes must give the same entries.
  const char* bytes = reinterpret_cast<const char*>(data);
  velomar::MemorySource stream(bytes, size);
  int supplied = 0;  // records up to the last one that took any bytes
  for (int i = 0; i < kLyricEntries; ++i) {
    const std::size_t before = stream.Position();
    velomar::ReadRecord(stream, *alone, i);
    if (stream.Position() > before) supplied = i + 1;
  }
  velomar::MemorySource source(bytes, size);
  int progress = 0;
  velomar::ReadLyricRecords(&source, *table, [&](int index) { Check(index == progress++); });
  Check(progress == kLyricEntries);
  Check(table->AddIndex == 11 && table->RemainingLines == 22 && table->AddedCount == 33);
  for (int i = 0; i < kLyricEntries; ++i) {
    Check(table->time[i] == alone->time[i] && table->phrase[i] == alone->phrase[i]);
  }

  for (int i = 0; i < supplied; ++i) {
    const std::string& phrase = table->phrase[i];
    // A phrase ends at NUL or LF and never starts with a blank.
    Check(phrase.find('\0') == std::string::npos && phrase.find('\n') == std::string::npos);
    Check(phrase.empty() || (phrase[0] != ' ' && phrase[0] != '\t'));
  }
  // Entries the bytes did not reach keep their values.
  for (int i = supplied; i < kLyricEntries; ++i) {
    Check(table->time[i] == 0 && table->phrase[i].empty());
  }

  // The writer's lines read back to the same entries, line breaks aside.
  table->AddedCount = supplied;
  velomar::StringSink sink;
  Check(velomar::WriteLyricLines(*table, sink, nullptr));
  velomar::MemorySource written(sink.Bytes());
  for (int i = 0; i < supplied; ++i) velomar::ReadRecord(written, *again, i);
  Check(written.Position() == sink.Bytes().size());
  for (int i = 0; i < supplied; ++i) {
    Check(again->time[i] == table->time[i]);
    Check(again->phrase[i] == RoundTripped(table->phrase[i]));
  }
  dirty = supplied;
  return 0;
}
