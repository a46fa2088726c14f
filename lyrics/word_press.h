// The word presses of the timing window, as a rule the window drives: the
// first press of a phrase stores it as a new line (its time is its first
// word's), each further press stamps the line's next word, the end key (F4)
// marks where the word being sung ends, and the press after the last word,
// or after the end key, stores the next phrase.
//
// A line's stamps are its LineDetail::words, as enhanced LRC keeps them: a
// stamp at each word's start, and the end stamp at the phrase's end
// (at == phrase.size()), which LRC writes as a last <mm:ss.xx>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lyric_table.h"
#include "lyrics/word_split.h"

namespace velomar {

// The word the next press stamps, for a line of `words` (SplitWords of the
// text as it was typed, whose phrase the line holds) with the stamps these
// presses made; words.starts.size() when the next press stores the next
// phrase: every word stamped, the end stamp made, or no words at all (also
// the PhraseWords{} of no line pressed yet).
std::size_t NextWord(const PhraseWords& words, const std::vector<WordStamp>& stamps);

// The stamps a line starts with when a press stores it: its first word at
// the line's own time; none for a phrase without words.
std::vector<WordStamp> FirstStamps(const PhraseWords& words);

struct WordPress {
  bool newLine;     // store the next phrase, its stamps FirstStamps
  WordStamp stamp;  // when not: the stamp to add to the line's
};

// A press at `now` for the line being pressed, whose exact time is `line`
// (LineHundredths), both in hundredths of a second. A stamp is never
// earlier than the one before it (the song played again meanwhile).
WordPress PressWord(const PhraseWords& words, const std::vector<WordStamp>& stamps,
                    std::int64_t line, std::int64_t now);

// The end key at `now`: true with the end stamp to add, false when no word
// is being sung (no line pressed, or its end stamp made). Before the last
// word it ends the line all the same: the words not yet stamped are sung
// with the word before them.
bool EndWord(const PhraseWords& words, const std::vector<WordStamp>& stamps, std::int64_t line,
             std::int64_t now, WordStamp& stamp);

// The timing window's label: the phrase with word `next` between 「 and 」,
// the blanks around the word left outside: "風が「吹く」", "「Hello」 world";
// the phrase as it is when `next` is no word. The window shows the line
// being pressed at NextWord and, once that is past its words, the phrase
// the next press stores at 0.
std::string WordLabel(const PhraseWords& words, std::size_t next);

}  // namespace velomar
