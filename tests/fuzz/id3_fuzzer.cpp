// Fuzz target for the ID3v2 lyrics read: any bytes are read as the start of
// an mp3. Nothing beyond the tag and, for times in MPEG frames, the audio
// looked through may be read, and what it gives must be records the program
// can hold, sorted, that the LRC load gives back as they are.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "lyrics/id3_lyrics.h"
#include "lyrics/id3_tag.h"
#include "lyrics/memory_stream.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velomar;
  MemorySource song(reinterpret_cast<const char*>(data), size);
  std::vector<LyricRecord> records, back;
  Notes notes;
  const bool read = Mp3LyricsToRecords(song, records, notes);
  // The header, the tag, a footer and the 64 KB looked through for audio.
  Check(song.Position() <= 10 + kId3TagBytes + 10 + 64 * 1024);
  Check(read == !records.empty());
  Check(read || (!notes.empty() && notes.back().error));
  if (!read) return 0;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(i == 0 || records[i].time > records[i - 1].time);
    bytes += records[i].phrase.size();
  }
  Check(records.size() <= kLyricEntries && bytes <= kLrcPhraseBytes);
  std::string lrc;
  Check(RecordsToLrc(records, lrc, notes));
  Check(LrcToRecords(lrc, LrcEncoding::kUtf8, back, notes) && back.size() == records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(back[i].time == records[i].time && back[i].phrase == records[i].phrase);
  }
  return 0;
}
