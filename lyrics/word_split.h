// How a phrase splits into words: the timing window stamps one word a
// press, and the karaoke fill sweeps them one after another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velomar {

struct PhraseWords {
  // The phrase as the lyrics keep it: without the "|" that marked its words.
  std::string phrase;
  // Where each word begins in `phrase`, strictly increasing and each below
  // phrase.size(); a word runs to the next one's start, the last one to the
  // phrase's end. Empty when nothing is sung.
  std::vector<std::uint32_t> starts;
  bool operator==(const PhraseWords& other) const {
    return phrase == other.phrase && starts == other.starts;
  }
};

// The words of a UTF-8 phrase.
//
// Where it holds "|", only "|" splits, and the "|" are taken out: each piece
// between them that is not empty is a word ("||" and a "|" at either end
// make none). Blanks that begin a piece go with the word before, as
// elsewhere, so that an enhanced LRC gives its stamp back where it was; a
// piece of blanks only is no word of its own.
//
// Otherwise a word ends after each run of blanks (space, tab, U+3000), the
// blanks staying with the word before them; a run of letters of a spaced
// script (Latin, Cyrillic, Hangul, digits, ...) is one word up to its
// blanks, and each kana or kanji is a word of its own. Small kana, ー, 〜,
// sound marks and combining marks, and closing brackets and punctuation
// (、。，．！？」』）】〕〉》”’ ,.!?)]} …) stay with the character before;
// opening brackets (「『（【〔〈《“‘ ([{) go with the character after. ヵ and
// ヶ are sung as syllables of their own ("一ヶ月") and so are words.
//
// Blanks that begin the phrase go with its first word, which starts at 0:
// the line's time is its first word's. A phrase that is empty or only
// blanks has no words; its `phrase` is kept as it is (only the "|" out).
PhraseWords SplitWords(const std::string& utf8);

// Word `i`'s letters: its bytes in the phrase without the blanks before
// (only the first word has any) and after it.
struct ByteRange {
  std::size_t begin, end;
};
ByteRange WordLetters(const PhraseWords& words, std::size_t i);

}  // namespace velomar
