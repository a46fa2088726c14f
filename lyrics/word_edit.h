// The lyric editor's words: a line's word stamps as its list shows them, and
// the presses that stamp them again while the song plays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lyric_table.h"
#include "lyrics/word_split.h"

namespace velomar {

// Each word with its stamp after the line's time, in seconds with two
// decimals and always a sign, the words apart by one space and without
// their blanks: "風+0.00 が+0.31 吹く+0.72". The end stamp is "/" with its
// time ("/+1.20"); text before the first stamp shows without one. "" for a
// line without stamps.
std::string WordStampsText(const std::string& phrase, const std::vector<WordStamp>& stamps);

// The words a press each stamps in a line: where its stamps are, when it has
// any (the words as they were pressed or loaded; text before the first stamp
// goes with the first word), else SplitWords of the phrase. A phrase that
// still holds a "|" (SplitWords would take it out) is one word.
PhraseWords StampedWords(const std::string& phrase, const std::vector<WordStamp>& stamps);

// One re-timing, carried from press to press.
struct Retiming {
  int line = -1;  // the line its presses stamp; -1 before the first
  PhraseWords words;
  std::vector<WordStamp> made;  // the stamps they made
};

struct RetimeStep {
  int line = -1;                 // the line the press changes; -1: none (past the last line)
  bool setsTime = false;         // its time becomes the press's as well
  std::vector<WordStamp> words;  // the line's stamps after the press
};

// A press at `now` (hundredths of the song) with line `selected` of the
// first `count` lines of `lyrics` selected. The first press of a line gives
// it the press's time and its first word at once, as a timing press does;
// each further one stamps its next word; the press after its last word
// starts the next line. A press carries on while the line still holds the
// stamps the presses made, or fewer of them (a press undone, which the next
// press makes again), and its phrase is unchanged; otherwise it starts
// again on the selected line.
RetimeStep RetimePress(Retiming& retiming, const LyricTable& lyrics, int count, int selected,
                       std::int64_t now);

}  // namespace velomar
