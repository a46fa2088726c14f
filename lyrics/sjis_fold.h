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
// (the letter before it stays), anything else by "?".
//
// Each character is converted alone and remembered, so that a long phrase
// costs one platform call per different character, whatever it holds.
class SjisFolder {
 public:
  // `utf8` must be strict UTF-8. Returns how many characters were replaced.
  std::size_t Convert(const std::string& utf8, std::string& sjis);

 private:
  std::unordered_map<char32_t, std::string> known_;  // "" for not storable
};

// What an accented Latin letter folds to; "" for any other character.
std::string LatinBaseLetters(char32_t c);

}  // namespace velomar
