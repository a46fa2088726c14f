#include "lyrics/lrc_line.h"

#include <algorithm>

#include "lyrics/lrc_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

bool Digit(const std::string& text, std::size_t i) {
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

// Whether `words` ends in a timestamp closed by its last byte; where it
// begins if so. A stamp holds only digits, ':' and '.', so the search back
// stops at the first other byte, and never passes a close that stayed.
bool EndsInStamp(const std::string& words, std::size_t& start) {
  const char close = words.back();
  const char open = close == ']' ? '[' : '<';
  std::size_t i = words.size() - 1;
  while (i > 0 && (Digit(words, i - 1) || words[i - 1] == ':' || words[i - 1] == '.')) --i;
  std::size_t end;
  std::int64_t ms;
  if (i == 0 || words[i - 1] != open || !ReadLrcStamp(words, i, close, end, ms)) return false;
  start = i - 1;
  return end == words.size();
}

}  // namespace

bool IsLrcBlank(char c) { return c == ' ' || c == '\t'; }

bool ReadLrcStamp(const std::string& text, std::size_t pos, char close, std::size_t& end,
                  std::int64_t& ms) {
  constexpr std::int64_t kManyMinutes = 10000000000;  // far beyond any tick count
  std::int64_t minutes = 0;
  std::size_t i = pos;
  for (; Digit(text, i); ++i) minutes = std::min(minutes * 10 + (text[i] - '0'), kManyMinutes);
  if (i == pos || i >= text.size() || text[i] != ':' || !Digit(text, i + 1) ||
      !Digit(text, i + 2)) {
    return false;
  }
  const int seconds = (text[i + 1] - '0') * 10 + (text[i + 2] - '0');
  if (seconds >= 60) return false;
  i += 3;
  int fraction = 0;
  if (i < text.size() && (text[i] == '.' || text[i] == ':')) {
    int places = 0;
    for (++i; Digit(text, i) && places < 4; ++i, ++places)
      fraction = fraction * 10 + (text[i] - '0');
    if (places == 0 || places > 3) return false;
    for (; places < 3; ++places) fraction *= 10;
  }
  if (i >= text.size() || text[i] != close) return false;
  end = i + 1;
  ms = minutes * 60000 + seconds * 1000 + fraction;
  return true;
}

std::string LrcWords(const std::string& text, std::size_t pos, std::size_t end,
                     std::vector<LrcWordStamp>* stamps) {
  // Stamps are taken out as their close comes, so that one put together by
  // taking out another ("[00:0<00:01.00>1.00]") goes too.
  std::string words;
  std::vector<LrcWordStamp> found;
  std::size_t placed = 0;  // stamps before this one stand before a byte
  bool taken = false;      // the last thing was a stamp taken out
  bool gap = false;        // and blanks stood beside it
  for (; pos < end; ++pos) {
    const char c = text[pos];
    if (taken && IsLrcBlank(c)) {
      gap = true;
      continue;
    }
    if (gap && !words.empty()) words += ' ';
    taken = gap = false;
    // A stamp stands before the next byte that stays.
    for (; placed < found.size(); ++placed) found[placed].at = words.size();
    words += c;
    std::size_t start;
    if ((c == ']' || c == '>') && EndsInStamp(words, start)) {
      std::size_t after;
      std::int64_t ms = 0;
      ReadLrcStamp(words, start + 1, c, after, ms);
      words.resize(start);
      const std::size_t kept = words.find_last_not_of(" \t") + 1;
      gap = kept < words.size();
      words.resize(kept);
      while (placed > 0 && found[placed - 1].at >= kept) --placed;
      found.push_back({kept, ms});
      taken = true;
    }
  }
  for (; placed < found.size(); ++placed) found[placed].at = words.size();
  const std::size_t lead = std::min(words.size(), words.find_first_not_of(" \t"));
  words.erase(0, lead);
  words.resize(words.find_last_not_of(" \t") + 1);
  if (stamps != nullptr) {
    for (LrcWordStamp& stamp : found) {
      stamp.at = std::min(stamp.at > lead ? stamp.at - lead : 0, words.size());
    }
    *stamps = std::move(found);
  }
  return words;
}

bool HoldsLrcStamp(const std::string& text, char open, char close) {
  std::size_t end;
  std::int64_t ms;
  for (std::size_t i = text.find(open); i != std::string::npos; i = text.find(open, i + 1)) {
    if (ReadLrcStamp(text, i + 1, close, end, ms)) return true;
  }
  return false;
}

OffsetTag ReadOffsetTag(const std::string& text, std::size_t pos, std::size_t end,
                        std::int64_t& ms) {
  static const char kTag[] = "[offset:";
  for (const char* tag = kTag; *tag != '\0'; ++tag, ++pos) {
    if (pos == end) return OffsetTag::kNone;
    if (AsciiLower(text[pos]) != *tag) return OffsetTag::kNone;
  }
  while (pos < end && IsLrcBlank(text[pos])) ++pos;
  const bool negative = pos < end && text[pos] == '-';
  if (pos < end && (text[pos] == '-' || text[pos] == '+')) ++pos;
  constexpr std::int64_t kFarBeyond = 1000000000000000;  // beyond any time, and no overflow
  const std::size_t digits = pos;
  ms = 0;
  for (; pos < end && Digit(text, pos); ++pos)
    ms = std::min(ms * 10 + (text[pos] - '0'), kFarBeyond);
  if (negative) ms = -ms;
  const bool number = pos > digits;
  while (pos < end && IsLrcBlank(text[pos])) ++pos;
  return number && pos < end && text[pos] == ']' ? OffsetTag::kOffset : OffsetTag::kNotANumber;
}

}  // namespace velomar
