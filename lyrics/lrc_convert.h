// Lyric files to LRC and back, in memory: the one place where encodings are
// converted, shared by `velomar-lyrics` and the program's own LRC load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lyrics/byte_stream.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_file.h"
#include "lyrics/lyric_table.h"

namespace velomar {

struct LyricRecord {
  std::int32_t time;   // 100 ms ticks
  std::string phrase;  // Shift-JIS bytes, or UTF-8 where LrcPhrases says so
  // With UTF-8 phrases only: what a lyric file cannot hold.
  LineDetail detail{};
};

// The phrases of records: a lyric file's Shift-JIS (from-lrc, to-lrc), or
// every character as the program's lyrics hold it.
enum class LrcPhrases { kShiftJis, kUnicode };

// What a conversion has to say, one line each without a line end; `error`
// marks the ones that stopped it.
struct Note {
  bool error;
  std::string text;
};
using Notes = std::vector<Note>;

// How a note names a line of the file it speaks of: "line 4".
std::string LineText(std::size_t line);

// The records present in a lyric file's bytes, read with the program's
// record rules into a fresh table: records stop at the end of the bytes (a
// tail of blanks holds none) and after the 3001 the program reads.
std::vector<LyricRecord> RecordsInFile(const std::string& bytes);

// The bytes the program's save writes for `records` (at most 3001).
std::string LyricFileBytes(const std::vector<LyricRecord>& records);

// The most phrase bytes an LRC file may give all its records together: one
// line with 3001 timestamps sharing a long phrase would otherwise become a
// lyric file of gigabytes.
constexpr std::size_t kLrcPhraseBytes = 8 << 20;  // 8 MB

// "[mm:ss.xx]phrase\n" per record in UTF-8; false, with error notes, when a
// record cannot be carried, and a warning for each that LrcToRecords would
// not give back as it stands (see lrc_write.cpp): records that pass without
// any note come back exactly.
bool RecordsToLrc(const std::vector<LyricRecord>& records, std::string& lrc, Notes& notes,
                  LrcPhrases given = LrcPhrases::kShiftJis);

// What a line of the lyric file loses on its way through LRC and back that
// the warnings of RecordsToLrc cannot see, one note per line: blanks that
// begin a phrase (the program's reader, and so from-lrc, skip them).
void NoteBlanksLost(const std::string& fileBytes, Notes& notes);

// How LRC bytes are to be read: told by the bytes (lrc_encoding.cpp tells
// how), or as the user says.
enum class LrcEncoding {
  kDetect,
  kUtf8,
  kShiftJis,
  kUtf16Le,
  kUtf16Be,
  kWindows1252,
  kWindows1251
};

// "utf-8", "shift-jis", "utf-16le", "utf-16be", "windows-1252" or
// "windows-1251"; false for anything else.
bool ParseLrcEncoding(const std::string& name, LrcEncoding& encoding);

// The text of LRC bytes in UTF-8; false, with an error note naming the line
// where it can, when they are not text in that encoding. A reading chosen
// where another also fits is noted.
bool DecodeLrc(const std::string& bytes, LrcEncoding encoding, std::string& text, Notes& notes);

// Records from LRC bytes, sorted and with strictly increasing times; false,
// with error notes, when the file cannot become a lyric file (see
// lrc_read.cpp), and also when it holds no timed line at all. For a lyric
// file, characters Shift-JIS cannot store are replaced, with one note that
// is no error; kUnicode keeps every character.
bool LrcToRecords(const std::string& bytes, LrcEncoding encoding, std::vector<LyricRecord>& records,
                  Notes& notes, LrcPhrases kept = LrcPhrases::kShiftJis);

// The bytes `from-lrc` writes for LRC bytes, and their record count.
bool LrcToLyricFile(const std::string& lrc, LrcEncoding encoding, std::string& file,
                    std::size_t& count, Notes& notes);

// Whether `path` ends in `extension` (given in lower case), in any case.
bool HasExtension(const std::string& path, const std::string& extension);
// Whether a path names an LRC file: it ends in ".lrc", in any case.
bool IsLrcPath(const std::string& path);
// Whether it names a lyric file the program loads: ".tolvenkari" or ".lrc",
// in any case; every other file given to the program is taken for a song.
bool IsLyricPath(const std::string& path);

// The program's LRC load: reads `source` whole (a null source, a file that
// could not be opened, reads nothing) and loads its records as
// LrcToRecords reads them, every character kept (UTF-8), into entries from
// 0 on, running the progress step after each of the 3001 entries as a
// lyric file's load does. When from-lrc would refuse the file, returns
// false with the notes and leaves the table and the progress untouched.
bool LoadLrc(ByteSource* source, LyricTable& table, const LoadProgress& progress, Notes& notes);

// Entries 0..count-1 of the lyrics as records, everything they hold kept:
// what "LRC で保存" writes.
std::vector<LyricRecord> LyricsToRecords(const LyricTable& lyrics, int count);

// Records (as LrcToRecords gives them) into entries 0 on, the progress step
// run after each of the 3001 entries; entries after them are left as they
// are.
void LoadRecords(std::vector<LyricRecord> records, LyricTable& table, const LoadProgress& progress);

// A load into the document as the program runs it: `source` (null: the file
// could not be opened) read as LRC when `lrc`, else as a lyric file (its
// phrases made Unicode, lyric_text.h), into a fresh table that replaces the
// document's table only when the file opened and was not refused. The
// progress step sees the table being read. Returns whether the document was
// replaced.
using TableProgress = std::function<void(const LyricTable& table, int index)>;
bool LoadDocument(LyricDocument& doc, ByteSource* source, bool lrc, const TableProgress& progress,
                  Notes& notes);

// The first entry that `file` (null: it did not open), loaded as the
// program loads an LRC or a lyric file, does not give back as `lyrics` hold
// it; -1 when every entry comes back. Only then does the file hold these
// lyrics, and only then may a save mark them saved. A lyric file never
// gives back word stamps: a line that has any is not given back.
int FirstEntryNotReadBack(const LyricTable& lyrics, ByteSource* file, bool lrc);

// Reads "m:ss", "m:ss.f", "m:ss.ff" or "m:ss.fff" followed by `close` at
// `pos` (just after the opening bracket), any number of minute digits,
// seconds below 60; a colon may stand for the point ("m:ss:ff"). On success
// sets `end` past `close` and `ms` to the time in milliseconds (huge minute
// counts saturate far beyond any lyric time).
bool ReadLrcStamp(const std::string& text, std::size_t pos, char close, std::size_t& end,
                  std::int64_t& ms);

}  // namespace velomar
