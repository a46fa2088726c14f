// Fuzz target for the LRC read: any bytes are read as an LRC file. What it
// gives must be records the program can hold, which to-lrc writes without a
// word and from-lrc reads back as the same; the program's load keeps every
// character at the same times, and what its LRC save writes of them comes
// back too (the leading records, up to a size that keeps each run well
// inside the fuzzer's timeout).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/memory_stream.h"
#include "lyrics/sjis_convert.h"
#include "tests/fuzz/fuzz_check.h"

using velomar::fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velomar;
  std::vector<LyricRecord> records, back, keptRecords, keptBack;
  Notes notes, keptNotes, written;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const bool read = LrcToRecords(input, LrcEncoding::kDetect, records, notes);
  Check(read ==
        LrcToRecords(input, LrcEncoding::kDetect, keptRecords, keptNotes, LrcPhrases::kUnicode));
  Check(keptRecords.size() == records.size());
  Check(read == std::none_of(notes.begin(), notes.end(), [](const Note& n) { return n.error; }));
  Check(read == !records.empty());
  if (!read) return 0;

  std::size_t bytes = 0;
  std::string lrc, utf8;
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(i == 0 || records[i].time > records[i - 1].time);
    Check(keptRecords[i].time == records[i].time);
    Check(SjisToUtf8(records[i].phrase, utf8));
    bytes += records[i].phrase.size();
  }
  Check(records.size() <= kLyricEntries && bytes <= kLrcPhraseBytes);
  // Stamps that share a phrase make the records up to a thousand times the
  // input, and reading all of that back took tens of seconds under the
  // sanitizers: the round trip takes the leading records, about 32 KB of
  // phrases.
  constexpr std::size_t kRoundTripBytes = 32 << 10;
  std::size_t kept = 0;
  for (bytes = 0; kept < records.size() && (kept == 0 || bytes < kRoundTripBytes); ++kept) {
    bytes += records[kept].phrase.size();
  }
  records.resize(kept);
  Check(RecordsToLrc(records, lrc, written) && written.empty());
  Check(LrcToRecords(lrc, LrcEncoding::kDetect, back, notes) && back.size() == records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(back[i].time == records[i].time && back[i].phrase == records[i].phrase);
  }
  // Kept across runs, since a fresh table costs more than the reading; the
  // load writes only entries below the record count, all checked here.
  static auto* const table = new LyricTable;
  MemorySource source(input);
  Check(LoadLrc(&source, *table, nullptr, notes));
  keptRecords.resize(records.size());
  written.clear();
  Check(RecordsToLrc(keptRecords, lrc, written, LrcPhrases::kUnicode));
  Check(LrcToRecords(lrc, LrcEncoding::kDetect, keptBack, notes, LrcPhrases::kUnicode));
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(table->time[i] == records[i].time && table->phrase[i] == keptRecords[i].phrase);
    // What Shift-JIS cannot hold, a blank folded to nothing, may join or trim.
    if (written.empty()) Check(keptBack[i].phrase == keptRecords[i].phrase);
  }
  return 0;
}
