// How far a line with word stamps is sung at a moment: the karaoke fill's
// edge, as the word it lies in and how much of that word is sung.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lyric_table.h"

namespace velomar {

// A last word with no stamp after it is sung until the next line, but for
// no longer than this: over an instrumental gap before the next line the
// fill would otherwise crawl for many seconds after the word was sung.
constexpr double kLastWordMostMs = 3000.0;

enum class FillState {
  None,     // the line has no word stamps: it shows whole, without a fill
  Filling,  // the edge lies in word `word`
  AllSung,  // every word's end has passed
};

struct KaraokeEdge {
  FillState state = FillState::None;
  // Filling: the word's index among the stamps, its bytes [begin, end) in
  // the phrase, and the part of it sung, 0 to 1. Bytes before `begin` are
  // sung (before the first word's time the edge stands at its start).
  std::size_t word = 0;
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
  double fraction = 0.0;
};

// The edge at `ms`, milliseconds of the song (real time, between the
// clock's ticks too), for a line whose exact time is `lineHundredths`, the
// next line's `nextHundredths` (negative: no next line). A word runs from
// its stamp to the next stamp; a stamp at the phrase's end marks the last
// word's end.
KaraokeEdge KaraokeAt(const std::string& phrase, const std::vector<WordStamp>& words,
                      std::int64_t lineHundredths, std::int64_t nextHundredths, double ms);

// The desktop lyrics take each line at its exact hundredth, where the
// player steps at whole ticks: a press stamped 4.25 s is line 42's tick,
// and an LRC's 4.25 s rounds to tick 43.
struct DueLine {
  int line = -1;               // the line to show: -1 for none
  std::int64_t changeIn = -1;  // ms until the line to show changes; -1: not known before a tick
};

// At `nowMs`, with the player on line `told` (-1: none) and `shown` showing:
// `told` once it is due; before that, what was shown (unless it lies after
// `told`); and the line after `told` as soon as it is due, when the display
// reaches it. `changeIn` is given when that moment comes before the next
// tick (100 ms).
DueLine LineDueAt(const LyricTable& table, int told, int shown, double nowMs);

}  // namespace velomar
