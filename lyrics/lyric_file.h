// The ".tolvenkari" lyric file: one "time,phrase" line per entry in Shift-JIS,
// written by the Kashi form's save and read by the KashiList form's load.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "lyrics/byte_stream.h"
#include "lyrics/lyric_table.h"

namespace velomar {

// The times a lyric file holds: the signed 32-bit range of the reader, which
// the writer writes back exactly.
constexpr std::int32_t kEarliestTime = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kLatestTime = std::numeric_limits<std::int32_t>::max();

// executable path + typed name + ".tolvenkari", nothing added or trimmed.
std::string LyricFileName(const std::string& executablePath, const std::string& typedName);

// One line as written, without its CR LF. CR and LF bytes of the phrase are
// left out so that a record never spans two lines.
std::string LyricLine(std::int32_t time, const std::string& phrase);

// Reads one record (number field, then text field) into entry `index`.
// Fields the source cannot supply keep their old values.
void ReadRecord(ByteSource& source, LyricTable& table, int index);

using SaveProgress = std::function<void(const std::string& line)>;
using LoadProgress = std::function<void(int index)>;

// Writes entries 0..AddedCount-1 as lines with CR LF to `sink`, running the
// progress step for every line even after a write failed. Does not close the
// sink. Returns whether every byte was accepted.
bool WriteLyricLines(const LyricTable& table, ByteSink& sink, const SaveProgress& progress);

// Reads 3001 records from `source` into entries 0..3000 (a null source reads
// nothing), running the progress step after each entry.
// The table's Revision counts the load, so that the display catches up.
void ReadLyricRecords(ByteSource* source, LyricTable& table, const LoadProgress& progress);

// Writes entries 0..AddedCount-1 to LyricFileName(exe, typedName). The lines
// go to a new file beside the target, which replaces the target only when
// every byte is written; on failure an existing file is left as it was.
// A typed name holding ':' fails before any file is made. The progress
// step runs for every line either way. Returns success.
bool SaveLyricFile(const LyricTable& table, const std::string& typedName,
                   const SaveProgress& progress, LyricFileSystem& files);
// The same for entries 0..count-1.
bool SaveLyricLines(const LyricTable& table, int count, const std::string& typedName,
                    const SaveProgress& progress, LyricFileSystem& files);

// A colon in a typed name would make NTFS write into a hidden stream of a
// file named by the part before it: such a name saves nothing.
bool TypedNameAllowed(const std::string& typedName);

// Reads up to 3001 records into entries 0..3000, running the progress step
// after each of the 3001 entries, also when the file cannot be opened. A
// file that opens leaves no add unsaved. Returns whether the file opened.
bool LoadLyricFile(LyricTable& table, const std::string& path, const LoadProgress& progress,
                   LyricFileSystem& files);

}  // namespace velomar
