// Lyric files to LRC and back, in memory. The commands around these only
// read and write the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velomar {

struct LyricRecord {
  std::int32_t time;   // 100 ms ticks
  std::string phrase;  // Shift-JIS bytes
};

// What a conversion has to say, one line each without a line end; `error`
// marks the ones that stopped it.
struct Note {
  bool error;
  std::string text;
};
using Notes = std::vector<Note>;

// The records present in a lyric file's bytes, read with the program's
// record rules into a fresh table: records stop at the end of the bytes (a
// tail of blanks holds none) and after the 3001 the program reads.
std::vector<LyricRecord> RecordsInFile(const std::string& bytes);

// The bytes the program's save writes for `records` (at most 3001).
std::string LyricFileBytes(const std::vector<LyricRecord>& records);

// "[mm:ss.xx]phrase\n" per record in UTF-8; false, with error notes, when a
// record cannot be carried (see lrc_write.cpp).
bool RecordsToLrc(const std::vector<LyricRecord>& records, std::string& lrc, Notes& notes);

// Records from LRC bytes in any of the accepted encodings, sorted and with
// strictly increasing times; false, with error notes, when the file cannot
// become a lyric file (see lrc_read.cpp).
bool LrcToRecords(const std::string& bytes, std::vector<LyricRecord>& records, Notes& notes);

// Reads "m:ss", "m:ss.f", "m:ss.ff" or "m:ss.fff" followed by `close` at
// `pos` (just after the opening bracket), any number of minute digits,
// seconds below 60. On success sets `end` past `close` and `ms` to the time
// in milliseconds (huge minute counts saturate far beyond any lyric time).
bool ReadLrcStamp(const std::string& text, std::size_t pos, char close, std::size_t& end,
                  std::int64_t& ms);

}  // namespace velomar
