// Fuzz target for the ID3v2 lyrics read: any bytes are read as the start of
// an mp3, and what it gives must be records the program can hold, in order
// (the LRC target checks the rest of what the LRC read gives).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "lyrics/id3_lyrics.h"
#include "lyrics/memory_stream.h"
#include "tests/fuzz/fuzz_check.h"

using velomar::fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velomar;
  MemorySource song(reinterpret_cast<const char*>(data), size);
  std::vector<LyricRecord> records;
  Notes notes;
  const bool read = Mp3LyricsToRecords(song, records, notes);
  // Without a tag, nothing past the header's place is read.
  if (size < 3 || std::memcmp(data, "ID3", 3) != 0) Check(!read && song.Position() <= 10);
  Check(read == !records.empty());
  Check(read || (!notes.empty() && notes.back().error));
  if (!read) return 0;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(i == 0 || records[i].time > records[i - 1].time);
    bytes += records[i].phrase.size();
  }
  Check(records.size() <= kLyricEntries && bytes <= kLrcPhraseBytes);
  return 0;
}
