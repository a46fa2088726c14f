#include "lyrics/word_press.h"

#include <algorithm>
#include <limits>

namespace velomar {

namespace {

// The time from the line's to `now`, no earlier than the last stamp's.
std::int32_t After(const std::vector<WordStamp>& stamps, std::int64_t line, std::int64_t now) {
  const std::int64_t least = stamps.empty() ? 0 : stamps.back().after;
  const std::int64_t after = std::max(now - line, least);
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(after, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::size_t NextWord(const PhraseWords& words, const std::vector<WordStamp>& stamps) {
  if (stamps.empty()) return words.starts.size();
  const auto past = std::upper_bound(words.starts.begin(), words.starts.end(), stamps.back().at);
  return static_cast<std::size_t>(past - words.starts.begin());
}

std::vector<WordStamp> FirstStamps(const PhraseWords& words) {
  if (words.starts.empty()) return {};
  return {{0, 0}};
}

WordPress PressWord(const PhraseWords& words, const std::vector<WordStamp>& stamps,
                    std::int64_t line, std::int64_t now) {
  const std::size_t next = NextWord(words, stamps);
  if (next >= words.starts.size()) return {true, {0, 0}};
  return {false, {words.starts[next], After(stamps, line, now)}};
}

bool EndWord(const PhraseWords& words, const std::vector<WordStamp>& stamps, std::int64_t line,
             std::int64_t now, WordStamp& stamp) {
  const auto end = static_cast<std::uint32_t>(words.phrase.size());
  if (stamps.empty() || stamps.back().at >= end) return false;
  stamp = {end, After(stamps, line, now)};
  return true;
}

std::string WordLabel(const PhraseWords& words, std::size_t next) {
  const std::string& phrase = words.phrase;
  if (next >= words.starts.size()) return phrase;
  const ByteRange letters = WordLetters(words, next);
  return phrase.substr(0, letters.begin) + "\xe3\x80\x8c" +
         phrase.substr(letters.begin, letters.end - letters.begin) + "\xe3\x80\x8d" +
         phrase.substr(letters.end);
}

}  // namespace velomar
