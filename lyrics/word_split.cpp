#include "lyrics/word_split.h"

#include <algorithm>

#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

enum class Kind {
  kBlank,
  kOpen,    // goes with the character after
  kAttach,  // stays with the character before
  kOwn,     // kana and kanji: a word each
  kRun,     // letters of spaced scripts and everything else
  kStray,   // a byte that is no UTF-8: never begins a word
};

const char kWideBlank[] = "\xe3\x80\x80";  // U+3000

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == 0x3000; }

bool In(char32_t c, const char32_t* set) {
  for (; *set != 0; ++set) {
    if (*set == c) return true;
  }
  return false;
}

// Small kana, ー, 〜, sound marks, closing brackets and punctuation.
const char32_t kAttached[] = {
    0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083, 0x3085, 0x3087, 0x308E, 0x3095,
    0x3096, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30C3, 0x30E3, 0x30E5, 0x30E7, 0x30EE,
    0x30FC, 0x309B, 0x309C, 0x301C, 0xFF5E, 0xFF70, 0xFF9E, 0xFF9F, 0x3001, 0x3002, 0xFF0C,
    0xFF0E, 0xFF01, 0xFF1F, 0xFF1A, 0xFF1B, 0x300D, 0x300F, 0xFF09, 0x3011, 0x3015, 0x3009,
    0x300B, 0x3017, 0x3019, 0x301F, 0xFF3D, 0xFF5D, 0x201D, 0x2019, 0x2026, 0x2025, 0xFF61,
    0xFF63, 0xFF64, ',',    '.',    '!',    '?',    ')',    ']',    '}',    0};
const char32_t kOpening[] = {0x300C, 0x300E, 0xFF08, 0x3010, 0x3014, 0x3008, 0x300A,
                             0x3016, 0x3018, 0x301D, 0xFF3B, 0xFF5B, 0x201C, 0x2018,
                             0xFF62, '(',    '[',    '{',    0};

bool IsMark(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || c == 0x3099 || c == 0x309A || c == 0x200D ||
         (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) ||
         (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF67 && c <= 0xFF6F);
}

bool IsKanaOrKanji(char32_t c) {
  return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3003 && c <= 0x3007) || c == 0x303B ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF66 && c <= 0xFF9D) ||
         (c >= 0x20000 && c <= 0x3FFFF);
}

Kind KindOf(char32_t c) {
  if (IsBlank(c)) return Kind::kBlank;
  if (IsMark(c) || In(c, kAttached)) return Kind::kAttach;
  if (In(c, kOpening)) return Kind::kOpen;
  return IsKanaOrKanji(c) ? Kind::kOwn : Kind::kRun;
}

struct Unit {
  std::uint32_t at;
  Kind kind;
};

std::vector<Unit> Units(const std::string& text) {
  std::vector<Unit> units;
  for (std::size_t pos = 0; pos < text.size();) {
    const auto at = static_cast<std::uint32_t>(pos);
    char32_t c;
    if (NextCodePoint(text, pos, c)) {
      units.push_back({at, KindOf(c)});
    } else {
      units.push_back({at, Kind::kStray});
      ++pos;
    }
  }
  return units;
}

// The words of a phrase without "|". `base` is the kind of the last
// character of the word that was no mark (kBlank: none yet), `opened`
// whether opening brackets wait for the character after them.
std::vector<std::uint32_t> ScriptWords(const std::string& text) {
  const std::vector<Unit> units = Units(text);
  std::vector<std::uint32_t> starts;
  Kind base = Kind::kBlank;
  bool spaced = false, opened = false;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const Kind kind = units[i].kind;
    if (kind == Kind::kBlank) {
      spaced = !starts.empty();
      continue;
    }
    if (kind == Kind::kStray) continue;
    bool begins = starts.empty() || spaced;
    if (!begins && kind != Kind::kAttach && !opened && base != Kind::kBlank) {
      Kind next = kind;
      for (std::size_t j = i; next == Kind::kOpen || next == Kind::kStray; ++j) {
        next = j + 1 < units.size() ? units[j + 1].kind : Kind::kBlank;
      }
      // Brackets before a blank or the end hang on to the word before.
      const bool lone = kind == Kind::kOpen && (next == Kind::kBlank || next == Kind::kAttach);
      begins = !lone && (base == Kind::kOwn || next == Kind::kOwn);
    }
    if (begins) {
      starts.push_back(starts.empty() ? 0 : units[i].at);
      base = Kind::kBlank;
      spaced = opened = false;
    }
    if (kind == Kind::kOpen) opened = true;
    if (kind == Kind::kOwn || kind == Kind::kRun) {
      base = kind;
      opened = false;
    }
  }
  return starts;
}

void BarWords(const std::string& text, PhraseWords& words) {
  for (std::size_t pos = 0; pos <= text.size();) {
    std::size_t bar = text.find('|', pos);
    if (bar == std::string::npos) bar = text.size();
    if (bar > pos) {
      const std::size_t start = words.phrase.size();
      const std::size_t lead = std::min(text.find_first_not_of(" \t", pos), bar) - pos;
      words.phrase.append(text, pos, bar - pos);
      // A piece of blanks only stays with the word before, or goes with the
      // first word.
      if (lead < bar - pos) {
        words.starts.push_back(static_cast<std::uint32_t>(words.starts.empty() ? 0 : start + lead));
      }
    }
    pos = bar + 1;
  }
}

}  // namespace

ByteRange WordLetters(const PhraseWords& words, std::size_t i) {
  const std::string& text = words.phrase;
  ByteRange range{words.starts[i], i + 1 < words.starts.size() ? words.starts[i + 1] : text.size()};
  const auto blankAt = [&](std::size_t pos) {
    if (text[pos] == ' ' || text[pos] == '\t') return std::size_t{1};
    return text.compare(pos, 3, kWideBlank) == 0 ? std::size_t{3} : std::size_t{0};
  };
  for (std::size_t n; range.begin < range.end && (n = blankAt(range.begin)) > 0;) range.begin += n;
  for (bool trimmed = true; trimmed && range.end > range.begin;) {
    trimmed = false;
    if (text[range.end - 1] == ' ' || text[range.end - 1] == '\t') {
      --range.end;
      trimmed = true;
    } else if (range.end >= range.begin + 3 && blankAt(range.end - 3) == 3) {
      range.end -= 3;
      trimmed = true;
    }
  }
  return range;
}

PhraseWords SplitWords(const std::string& utf8) {
  PhraseWords words;
  if (utf8.find('|') == std::string::npos) {
    words.phrase = utf8;
    words.starts = ScriptWords(utf8);
  } else {
    BarWords(utf8, words);
  }
  const PhraseWords whole{words.phrase, {0}};
  if (!words.phrase.empty() && WordLetters(whole, 0).begin == words.phrase.size()) {
    words.starts.clear();  // blanks only
  }
  return words;
}

}  // namespace velomar
