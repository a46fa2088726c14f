// Corrections of a timed table without timing the whole song again: taking
// presses of the Kashi form back, and the lyric editor's changes with their
// undo. Every change keeps the counters with the entries they point at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lyric_table.h"

namespace velomar {

// What one accepted press overwrote, and whether its phrase came from the
// pour-in box.
struct PressRecord {
  std::int32_t oldTime;
  std::string oldPhrase;
  bool pouredIn;
};

// The presses of one Kashi session (since BeginAdding), newest last.
using PressLog = std::vector<PressRecord>;

// AddPhrase, remembering what the entry held. False when refused.
bool AddPhraseLogged(LyricTable& table, PressLog& log, const std::string& text, double ticks,
                     bool pouredIn);

struct TakenBack {
  std::string phrase;  // what the press registered, to be registered again
  bool pouredIn;
};

// Takes the newest press of the log back: its entry gets back what it held,
// AddIndex, RemainingLines and AddedCount step back by one. False, changing
// nothing, when the log is empty or the table no longer matches it.
bool TakeBackPress(LyricTable& table, PressLog& log, TakenBack& taken);

// The entries that make up the lyrics: 0 up to the last one that is not an
// unwritten entry (time 0, empty phrase).
int LyricLineCount(const LyricTable& table);

// Why line `index` cannot follow the line before it on the display, or None.
enum class Unreachable { None, Negative, SameAsPrevious, BeforePrevious };
Unreachable WhyUnreachable(const LyricTable& table, int index);

// The first entry the display never reaches when the song plays from the
// start; kLyricEntries when it reaches them all. The stepping shows one entry
// per tick value, when the value equals its time, so it stops for good at
// the first entry that is negative or not after the entry before it.
int FirstUnreached(const LyricTable& table);

// Why the display, playing from the start, never shows a line: the first
// line it cannot reach gives its own reason, every line after it
// StoppedEarlier (the display stopped at an earlier line).
enum class NeverShown { No, Negative, SameAsPrevious, BeforePrevious, StoppedEarlier };

struct LineMarks {
  int lines = 0;  // LyricLineCount
  int first = 0;  // the first marked line; `lines` when none is
  NeverShown firstReason = NeverShown::No;
  int Count() const { return lines - first; }
  NeverShown Of(int line) const;
};

LineMarks MarkLines(const LyricTable& table);

// Entries from `at` move up one and the last one falls off; entry `at` is
// left unwritten.
void ShiftEntriesUp(LyricTable& table, int at);
// Entries after `at` move down one over it; the last one becomes unwritten.
void ShiftEntriesDown(LyricTable& table, int at);
// The counters moved with the entries that an insert or a delete at `at` moves.
void MoveCountersForInsert(LyricTable& table, int at);
void MoveCountersForDelete(LyricTable& table, int at);

// A time in ticks as m:ss.t ("-" before negative times).
std::string MinutesText(std::int32_t ticks);

// The lyric editor's changes, each of which it can take back, newest first.
class LyricEdits {
 public:
  // False, changing nothing, when the index is not a line of the table (for
  // Insert: when the table's last entry is in use and would fall off).
  bool SetTime(LyricTable& table, int index, std::int32_t time);
  bool SetPhrase(LyricTable& table, int index, const std::string& phrase);
  bool InsertAfter(LyricTable& table, int index);  // an unwritten entry at index + 1
  bool Delete(LyricTable& table, int index);
  // Takes the newest change back; false when there is none.
  bool Undo(LyricTable& table);
  bool CanUndo() const { return !undo_.empty(); }

 private:
  enum class Kind { Set, Insert, Delete };
  struct Change {
    Kind kind;
    int index;
    std::int32_t time;  // what the entry held (Set, Delete)
    std::string phrase;
    std::int32_t addIndex, remaining, added;
  };
  void Remember(const LyricTable& table, Kind kind, int index);
  std::vector<Change> undo_;
};

}  // namespace velomar
