// What the lyric editor shows of a table (its lines, the marks of lines the
// display never reaches, times as m:ss.t or m:ss.xx) and the entry moves the lyric
// document's changes are made of.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lyric_table.h"

namespace velomar {

struct TakenBack {
  std::string phrase;  // what the press registered, to be registered again
  bool pouredIn;
};

// The entries that make up the lyrics: 0 up to the last one that is not an
// unwritten entry (time 0, empty phrase).
int LyricLineCount(const LyricTable& table);
// Time 0 with nothing to show: no line.
bool Unwritten(const LyricTable& table, int index);

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
// A line's time to the hundredth, ticks * 10 + hundredths as LineDetail
// holds them, as m:ss.xx ("-" before negative times).
std::string MinutesText(std::int32_t ticks, std::int8_t hundredths);

}  // namespace velomar
