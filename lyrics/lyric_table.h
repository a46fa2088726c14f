// The process-wide store of timed lyric phrases: 3001 entries and the
// counters the Kashi form drives while adding.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velomar {

constexpr int kLyricEntries = 3001;  // indices 0..3000
constexpr int kMaxAdds = 3000;       // adds allowed per BeginAdding

// Whether `index` names one of the table's entries.
inline bool IsEntry(int index) { return index >= 0 && index < kLyricEntries; }

// An enhanced-LRC word stamp: the word that starts at byte `at` of the
// phrase is sung `after` hundredths of a second after its line's time.
struct WordStamp {
  std::uint32_t at;
  std::int32_t after;
  bool operator==(const WordStamp& other) const { return at == other.at && after == other.after; }
};

// What an LRC line brings beyond its tick and phrase.
struct LineDetail {
  // The line's time in hundredths of a second is time * 10 + hundredths: an
  // LRC's stamp kept exactly while the display steps at its tick.
  std::int8_t hundredths = 0;
  // The later lines that shared its stamp: translations, in file order.
  std::vector<std::string> rows;
  // In increasing `at`; empty for a line without word stamps.
  std::vector<WordStamp> words;
  bool operator==(const LineDetail& other) const {
    return hundredths == other.hundredths && rows == other.rows && words == other.words;
  }
  bool operator!=(const LineDetail& other) const { return !(*this == other); }
};

// The line's exact time in hundredths of a second, never below 0.
std::int64_t LineHundredths(std::int32_t time, const LineDetail& detail);

// The lyrics being worked on hold their phrases in UTF-8; a table read from
// or written to a lyric file holds them as the file's Shift-JIS bytes
// (lyric_text.h converts between the two).
struct LyricTable {
  std::array<std::int32_t, kLyricEntries> time{};
  std::array<std::string, kLyricEntries> phrase;
  // In the lyrics: the lyric file bytes a phrase was read from, written back
  // while the phrase still reads as them.
  std::array<std::string, kLyricEntries> original;
  // In the lyrics only: a lyric file holds none of it.
  std::array<LineDetail, kLyricEntries> detail;
  std::int32_t AddIndex = 0;
  std::int32_t RemainingLines = 0;
  std::int32_t AddedCount = 0;
  // Counts loads and edits of the whole table: the display catches up with
  // a table that changed under a playing song.
  std::uint32_t Revision = 0;
};

// True when any entry carries a translation row: only then do the windows
// make room for one under the lyric line.
bool HoldsTranslations(const LyricTable& table);
// The first translation row of entry `index`, "" for none.
const std::string& FirstRow(const LyricTable& table, int index);

// AddIndex := 0, RemainingLines := 3000, AddedCount := 0; entries untouched.
void BeginAdding(LyricTable& table);

// Stores text and the tick count (truncated toward zero) at AddIndex.
// Returns false, changing nothing, when
// RemainingLines <= 0 or when AddIndex lies outside the table.
bool AddPhrase(LyricTable& table, const std::string& text, double ticks);

// Every entry becomes time 0 and the empty phrase; counters keep their
// values.
void ResetLyrics(LyricTable& table);

// A tick count as stored in the table: truncated toward zero to a signed
// 32-bit integer; NaN and values outside the range give INT32_MIN.
std::int32_t TicksToTime(double ticks);

}  // namespace velomar
