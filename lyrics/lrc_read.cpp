// LRC to lyric file records, for `velomar-lyrics from-lrc` and the program.
//
// The bytes become text as lrc_encoding.cpp tells.
//
// Lines end at CR LF, LF or CR. A line gives records only when it begins
// (after blanks) with one or more timestamps [m:ss], [m:ss.f], [m:ss.ff] or
// [m:ss.fff]: one record per timestamp, each with the rest of the line as
// its phrase, kept as it stands except that <m:ss.xx> word timestamps are
// taken out and leading blanks and tabs dropped (the program's reader skips
// them, so a lyric file cannot carry them). Every other line, tags such as
// [ti:..], [ar:..] and [offset:..] included, is left out; [offset:] is not
// applied. A line that starts like a timestamp but is none ([0:75.00]) is
// reported.
//
// Times round to the nearest 100 ms tick, half a tick up (x.x5 s goes to the
// later tick). Records are sorted by their exact time, lines with equal
// times keeping their order. Since the player shows a file in full only
// while times strictly increase, a record whose tick does not exceed the
// previous one's is moved to one tick after it and reported.
//
// Nothing is written when: a phrase holds a character code page 932 cannot
// store (the line is named), a phrase holds NUL (the program's reader would
// end the phrase there), there are more than the 3001 records the program
// reads, a time lies beyond the largest lyric file time (2147483647
// ticks), or no line is timed at all (a wrong file given by mistake would
// otherwise empty the lyric file it was to become).
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_table.h"
#include "lyrics/number_text.h"
#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

struct Timed {
  std::int64_t ms;
  std::size_t line;
  std::string phrase;  // Shift-JIS
};

std::string LineText(std::size_t line) {
  return "line " + NumberText(static_cast<std::int64_t>(line));
}

// Lines end at CR LF, LF or CR. In Shift-JIS too: CR and LF are never
// trail bytes.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::string WithoutWordStamps(const std::string& text) {
  std::string kept;
  std::size_t end;
  std::int64_t ms;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '<' && ReadLrcStamp(text, i + 1, '>', end, ms)) {
      i = end;
    } else {
      kept += text[i++];
    }
  }
  return kept;
}

std::string CodePointText(char32_t c) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (int shift = 20; shift >= 0; shift -= 4) {
    if (shift < 16 || (c >> shift) != 0) hex += kDigits[(c >> shift) & 0xF];
  }
  return "U+" + hex;
}

// The records of one line, appended to `timed`; false after an error note.
bool ReadLine(const std::string& line, std::size_t number, std::vector<Timed>& timed,
              Notes& notes) {
  std::size_t pos = line.find_first_not_of(" \t");
  if (pos == std::string::npos) return true;
  std::vector<std::int64_t> stamps;
  std::size_t end;
  std::int64_t ms;
  while (pos < line.size() && line[pos] == '[' && ReadLrcStamp(line, pos + 1, ']', end, ms)) {
    stamps.push_back(ms);
    pos = end;
  }
  if (stamps.empty()) {
    if (line[pos] == '[' && pos + 1 < line.size() && line[pos + 1] >= '0' && line[pos + 1] <= '9') {
      notes.push_back({false, LineText(number) + ": not a timestamp, line left out"});
    }
    return true;
  }
  std::string text = WithoutWordStamps(line.substr(pos));
  text.erase(0, text.find_first_not_of(" \t"));
  if (text.find('\0') != std::string::npos) {
    notes.push_back({true, LineText(number) + ": NUL in the phrase"});
    return false;
  }
  std::string sjis;
  char32_t refused;
  if (!Utf8ToSjis(text, sjis, &refused)) {
    notes.push_back({true, LineText(number) + ": " + CodePointText(refused) +
                               " cannot be stored in Shift-JIS (code page 932)"});
    return false;
  }
  for (std::int64_t stamp : stamps) timed.push_back({stamp, number, sjis});
  return true;
}

}  // namespace

bool ReadLrcStamp(const std::string& text, std::size_t pos, char close, std::size_t& end,
                  std::int64_t& ms) {
  const auto digit = [&](std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
  };
  constexpr std::int64_t kManyMinutes = 10000000000;  // far beyond any tick count
  std::int64_t minutes = 0;
  std::size_t i = pos;
  for (; digit(i); ++i) minutes = std::min(minutes * 10 + (text[i] - '0'), kManyMinutes);
  if (i == pos || i >= text.size() || text[i] != ':' || !digit(i + 1) || !digit(i + 2)) {
    return false;
  }
  const int seconds = (text[i + 1] - '0') * 10 + (text[i + 2] - '0');
  if (seconds >= 60) return false;
  i += 3;
  int fraction = 0;
  if (i < text.size() && text[i] == '.') {
    int places = 0;
    for (++i; digit(i) && places < 4; ++i, ++places) fraction = fraction * 10 + (text[i] - '0');
    if (places == 0 || places > 3) return false;
    for (; places < 3; ++places) fraction *= 10;
  }
  if (i >= text.size() || text[i] != close) return false;
  end = i + 1;
  ms = minutes * 60000 + seconds * 1000 + fraction;
  return true;
}

bool LrcToRecords(const std::string& bytes, LrcEncoding encoding, std::vector<LyricRecord>& records,
                  Notes& notes) {
  records.clear();
  std::string text;
  if (!DecodeLrc(bytes, encoding, text, notes)) return false;

  std::vector<Timed> timed;
  bool ok = true;
  const std::vector<std::string> lines = Lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) ok = ReadLine(lines[i], i + 1, timed, notes) && ok;
  if (timed.size() > static_cast<std::size_t>(kLyricEntries)) {
    notes.push_back({true, NumberText(static_cast<std::int64_t>(timed.size())) +
                               " timed phrases; the program reads at most 3001"});
    ok = false;
  }
  if (!ok) return false;

  std::stable_sort(timed.begin(), timed.end(),
                   [](const Timed& a, const Timed& b) { return a.ms < b.ms; });
  std::int64_t previous = -1;
  for (Timed& record : timed) {
    std::int64_t tick = (record.ms + 50) / 100;
    if (tick <= previous) {
      notes.push_back({false, LineText(record.line) + ": tick " + NumberText(tick) + " moved to " +
                                  NumberText(previous + 1) + ", after the one before"});
      tick = previous + 1;
    }
    if (tick > std::numeric_limits<std::int32_t>::max()) {
      notes.push_back({true, LineText(record.line) + ": time beyond the largest lyric file time"});
      records.clear();
      return false;
    }
    records.push_back({static_cast<std::int32_t>(tick), std::move(record.phrase)});
    previous = tick;
  }
  if (records.empty()) {
    notes.push_back({true, "no timed line ([mm:ss.xx] at the start of a line)"});
    return false;
  }
  return true;
}

}  // namespace velomar
