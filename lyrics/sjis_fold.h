// Unicode text into Shift-JIS for a lyric file, for the LRC read: a lyric
// database's "café" or "Grüße" loads with its accents folded away instead of
// refusing the whole file.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

namespace velomar {

// Converts as Utf8ToSjis does, but a character code page 932 cannot store
// is replaced instead of refused: an accented Latin letter by its base
// letter or letters (é → e, ß → ss, Æ → AE), a combining accent by nothing
// (the letter before it stays), anything else by "?". The replacing is a
// step of its own, on UTF-8, so that the LRC read takes its word stamps out
// of the text as it will stand: a dropped accent may join one together.
//
// Each character is converted alone and remembered, so that a long phrase
// costs one platform call per different character, whatever it holds.
class SjisFolder {
 public:
  // `utf8` with the characters code page 932 cannot store replaced; it must
  // be strict UTF-8. Returns how many characters were replaced.
  std::size_t Fold(const std::string& utf8, std::string& folded);
  // Text that Fold gave, any ASCII taken out or added, in Shift-JIS.
  std::string Encode(const std::string& folded);

 private:
  // The Shift-JIS bytes of the character `utf8` holds, "" when there are none.
  const std::string& Known(char32_t c, const std::string& utf8);

  std::unordered_map<char32_t, std::string> known_;
};

// What an accented Latin letter folds to; "" for any other character.
std::string LatinBaseLetters(char32_t c);

}  // namespace velomar
