#include "lyrics/sjis_fold.h"

#include <cstring>

#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

// One letter for each code point from `first` on: '*' for the few that fold
// to two letters, '?' for the signs that stand among the letters.
struct LatinRun {
  char32_t first;
  const char* letters;
};

const LatinRun kLatinRuns[] = {
    // Latin-1.
    {0x00C0, "AAAAAA*CEEEEIIIIDNOOOOO?OUUUUY**aaaaaa*ceeeeiiiidnooooo?ouuuuy*y"},
    // Latin Extended-A: Polish, Czech, Turkish, Hungarian, ...
    {0x0100,
     "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo**"
     "RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs"},
    // Vietnamese horned letters, pinyin tones, Romanian commas.
    {0x01A0, "Oo"},
    {0x01AF, "Uu"},
    {0x01CD, "AaIiOoUuUuUuUuUu"},
    {0x0218, "SsTt"},
    // Vietnamese letters with two marks.
    {0x1EA0,
     "AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEeEeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy"},
};

const char* TwoLetters(char32_t c) {
  switch (c) {
    case 0x00C6: return "AE";
    case 0x00DE: return "TH";
    case 0x00DF: return "ss";
    case 0x00E6: return "ae";
    case 0x00FE: return "th";
    case 0x0132: return "IJ";
    case 0x0133: return "ij";
    case 0x0152: return "OE";
    case 0x0153: return "oe";
    default: return nullptr;
  }
}

}  // namespace

std::string LatinBaseLetters(char32_t c) {
  for (const LatinRun& run : kLatinRuns) {
    if (c < run.first || c - run.first >= std::strlen(run.letters)) continue;
    const char letter = run.letters[c - run.first];
    if (letter == '*') return TwoLetters(c);
    return letter == '?' ? "" : std::string(1, letter);
  }
  return "";
}

const std::string& SjisFolder::Known(char32_t c, const std::string& utf8) {
  auto found = known_.find(c);
  if (found == known_.end()) {
    std::string bytes;
    if (!Utf8ToSjis(utf8, bytes)) bytes.clear();
    found = known_.emplace(c, std::move(bytes)).first;
  }
  return found->second;
}

std::size_t SjisFolder::Fold(const std::string& utf8, std::string& folded) {
  folded.clear();
  folded.reserve(utf8.size());
  std::size_t replaced = 0;
  char32_t c;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    if (!NextCodePoint(utf8, pos, c)) {
      c = 0xFFFD;  // not for strict UTF-8; a stray byte becomes "?"
      ++pos;
    }
    const std::string one = utf8.substr(start, pos - start);
    if (c < 0x80 || !Known(c, one).empty()) {
      folded += one;
      continue;
    }
    ++replaced;
    if (c >= 0x0300 && c <= 0x036F) continue;  // combining accents
    const std::string base = LatinBaseLetters(c);
    folded += base.empty() ? "?" : base;
  }
  return replaced;
}

std::string SjisFolder::Encode(const std::string& folded) {
  std::string sjis;
  sjis.reserve(folded.size());
  char32_t c;
  for (std::size_t pos = 0; pos < folded.size();) {
    const std::size_t start = pos;
    if (!NextCodePoint(folded, pos, c)) {
      sjis += '?';
      ++pos;
    } else if (c < 0x80) {
      sjis += static_cast<char>(c);
    } else {
      const std::string& bytes = Known(c, folded.substr(start, pos - start));
      sjis += bytes.empty() ? "?" : bytes;
    }
  }
  return sjis;
}

}  // namespace velomar
