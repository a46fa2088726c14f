// LRC to lyric file records, for `velomar-lyrics from-lrc` and the program.
//
// The bytes become text as lrc_encoding.cpp tells, without the characters
// that show nothing (U+FEFF anywhere, so also a byte order mark at the start
// of a line, U+200B-U+200F and U+2060).
//
// Lines end at CR LF, LF or CR. A line gives records only when it begins
// (after blanks) with one or more timestamps [m:ss], [m:ss.f], [m:ss.ff],
// [m:ss.fff] or [m:ss:ff], which blanks may separate; the rest of the line
// is its phrase, with every <m:ss.xx> and [m:ss.xx] word stamp taken out,
// the blanks around each collapsed to one, and blanks and tabs trimmed at
// both ends. Every other line, tags such as [ti:..] and [ar:..] included, is
// left out. A line that starts like a timestamp but is none ([0:75.00]) is
// reported, as is an [offset:] that is no number, the first hundred of them.
//
// Lines that share a timestamp become one record, their phrases joined with
// " / " in file order: the original and the translation of a bilingual file
// show together. A phrase already there is not repeated, and an empty one
// joins nothing. The program's own load keeps them apart instead: the first
// phrase is the line, the later ones its translation rows.
//
// [offset:+ms] moves every time: a positive offset shows the lyrics sooner,
// a time that would fall below 0 is 0. When a file holds several, the last
// one counts.
//
// Times round to the nearest 100 ms tick, half a tick up (x.x5 s goes to the
// later tick). Since the player shows a file in full only while times
// strictly increase, a record whose tick does not exceed the previous one's
// is moved to one tick after it and reported. The program's own load also
// keeps each time to the hundredth, beside its tick, and the word stamps of
// a line's words, so that LRC written back gives the same stamps.
//
// For a lyric file (from-lrc), a character Shift-JIS cannot store is
// replaced (sjis_fold.h), and one note, no error, counts them and names
// their lines; the program's own load keeps every character.
//
// Nothing is written when: a phrase holds NUL (the program's reader would
// end the phrase there), there are more than the 3001 records the program
// reads, their phrases together exceed kLrcPhraseBytes, a time lies beyond
// the largest lyric file time (2147483647 ticks), or no line is timed at all
// (a wrong file given by mistake would otherwise empty the lyric file it was
// to become). The two limits are checked as the timestamps are read, and
// each phrase is kept once however many timestamps share it, so that a
// small file cannot take the memory that its records would.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lrc_line.h"
#include "lyrics/lyric_table.h"
#include "lyrics/number_text.h"
#include "lyrics/sjis_fold.h"
#include "lyrics/unicode_text.h"

namespace velomar {

std::string LineText(std::size_t line) {
  return "line " + NumberText(static_cast<std::int64_t>(line));
}

namespace {

// "line 4" or "lines 2, 4-6, 9" for lines in increasing order.
std::string LinesText(const std::vector<std::size_t>& lines) {
  std::string text = lines.size() == 1 ? "line " : "lines ";
  for (std::size_t i = 0; i < lines.size();) {
    std::size_t last = i;
    while (last + 1 < lines.size() && lines[last + 1] == lines[last] + 1) ++last;
    if (i > 0) text += ", ";
    text += NumberText(static_cast<std::int64_t>(lines[i]));
    if (last > i) text += "-" + NumberText(static_cast<std::int64_t>(lines[last]));
    i = last + 1;
  }
  return text;
}

constexpr char kJoin[] = " / ";

// The bytes text takes in Shift-JIS: one for ASCII and half-width katakana
// (U+FF61-U+FF9F, EF BD A1 to EF BE 9F in UTF-8), two for any other
// character.
std::size_t ShiftJisWidth(const std::string& utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    if ((b & 0xC0) == 0x80) continue;  // within a character
    bool narrow = b < 0x80;
    if (b == 0xEF && i + 2 < utf8.size()) {
      const unsigned char second = static_cast<unsigned char>(utf8[i + 1]);
      const unsigned char third = static_cast<unsigned char>(utf8[i + 2]);
      narrow = (second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F);
    }
    width += narrow ? 1 : 2;
  }
  return width;
}

// The lines that share one timestamp.
using Stamps = std::vector<LrcWordStamp>;

// The word stamps the records keep, together: a line of 3001 times and
// thousands of word stamps would otherwise take gigabytes. Beyond them a
// line shows without its fill.
constexpr std::size_t kMostWordStamps = 1 << 20;
struct Shared {
  std::size_t line;                         // the first of them
  std::vector<const std::string*> phrases;  // each once, in file order
  std::vector<const Stamps*> stamps;        // each phrase's, null for none
};

class Reader {
 public:
  Reader(Notes& notes, LrcPhrases kept) : notes_(notes), kept_(kept) {}

  // False when the file is refused at once, at a limit.
  bool Line(const std::string& text, std::size_t pos, std::size_t end, std::size_t number);
  bool Records(std::vector<LyricRecord>& records);

 private:
  // A line that begins with no timestamp: an [offset:] tag, or left out.
  void Untimed(const std::string& text, std::size_t pos, std::size_t end, std::size_t number);
  bool Add(std::int64_t ms, const std::string* phrase, const Stamps* stamps, std::size_t size,
           std::size_t line);
  LyricRecord Record(std::int64_t ms, std::int64_t tick, bool moved, const Shared& shared);
  void NoteLeftOut(std::size_t line, const char* why);

  Notes& notes_;
  const LrcPhrases kept_;
  SjisFolder folder_;
  std::set<std::string> phrases_;
  std::deque<Stamps> stamps_;   // one list a line, however many times it has
  std::size_t wordStamps_ = 0;  // kept in the records
  std::map<std::int64_t, Shared> times_;
  std::set<std::pair<std::int64_t, const std::string*>> added_;
  std::size_t bytes_ = 0;  // of the records' phrases, joins included
  std::int64_t offset_ = 0;
  std::size_t replaced_ = 0;
  std::vector<std::size_t> replacedLines_;
  std::size_t leftOut_ = 0;  // lines noted as left out
  bool refused_ = false;
};

// A hundred notes are enough to mend a file by, and a file of nothing but
// such lines would otherwise bring hundreds of thousands.
void Reader::NoteLeftOut(std::size_t line, const char* why) {
  constexpr std::size_t kMostNoted = 100;
  if (++leftOut_ > kMostNoted) return;
  notes_.push_back(
      {false, LineText(line) + why +
                  (leftOut_ == kMostNoted ? " (from here on such lines are left out without a note)"
                                          : "")});
}

bool Reader::Line(const std::string& text, std::size_t pos, std::size_t end, std::size_t number) {
  while (pos < end && IsLrcBlank(text[pos])) ++pos;
  if (pos == end) return true;
  std::vector<std::int64_t> times;
  std::size_t after;
  std::int64_t ms;
  while (pos < end && text[pos] == '[' && ReadLrcStamp(text, pos + 1, ']', after, ms)) {
    times.push_back(ms);
    for (pos = after; pos < end && IsLrcBlank(text[pos]);) ++pos;
  }
  if (times.empty()) {
    Untimed(text, pos, end, number);
    return true;
  }
  std::string words;
  Stamps stamps;
  if (kept_ == LrcPhrases::kUnicode) {
    words = LrcWords(text, pos, end, &stamps);
  } else {
    std::string folded;
    if (const std::size_t replaced = folder_.Fold(text.substr(pos, end - pos), folded)) {
      replaced_ += replaced;
      replacedLines_.push_back(number);
    }
    words = LrcWords(folded, 0, folded.size());
  }
  if (words.find('\0') != std::string::npos) {
    notes_.push_back({true, LineText(number) + ": NUL in the phrase"});
    refused_ = true;
    return true;
  }
  if (kept_ == LrcPhrases::kShiftJis) words = folder_.Encode(words);
  // The limit is on the lyric file's bytes, whichever phrases the read keeps.
  const std::size_t size = kept_ == LrcPhrases::kShiftJis ? words.size() : ShiftJisWidth(words);
  const std::string* phrase = &*phrases_.insert(std::move(words)).first;
  const Stamps* kept = nullptr;
  if (!stamps.empty()) {
    stamps_.push_back(std::move(stamps));
    kept = &stamps_.back();
  }
  for (std::int64_t time : times) {
    if (!Add(time, phrase, kept, size, number)) return false;
  }
  return true;
}

void Reader::Untimed(const std::string& text, std::size_t pos, std::size_t end,
                     std::size_t number) {
  std::int64_t ms;
  const OffsetTag offset = ReadOffsetTag(text, pos, end, ms);
  if (offset == OffsetTag::kOffset) offset_ = ms;
  if (offset == OffsetTag::kNotANumber) {
    NoteLeftOut(number, ": offset not in whole milliseconds, left out");
  }
  if (offset == OffsetTag::kNone && text[pos] == '[' && pos + 1 < end && text[pos + 1] >= '0' &&
      text[pos + 1] <= '9') {
    NoteLeftOut(number, ": not a timestamp, line left out");
  }
}

bool Reader::Add(std::int64_t ms, const std::string* phrase, const Stamps* stamps, std::size_t size,
                 std::size_t line) {
  if (!added_.emplace(ms, phrase).second) return true;  // the same words again
  auto shared = times_.find(ms);
  if (shared == times_.end()) {
    if (times_.size() == static_cast<std::size_t>(kLyricEntries)) {
      notes_.push_back(
          {true,
           LineText(line) + ": more than 3001 timed phrases; the program reads at most 3001"});
      return false;
    }
    shared = times_.emplace(ms, Shared{line, {}, {}}).first;
  } else if (kept_ == LrcPhrases::kShiftJis) {
    bytes_ += sizeof kJoin - 1;
  }
  shared->second.phrases.push_back(phrase);
  shared->second.stamps.push_back(stamps);
  bytes_ += size;
  if (bytes_ > kLrcPhraseBytes) {
    notes_.push_back({true, LineText(line) + ": the phrases would take more than " +
                                NumberText(static_cast<std::int64_t>(kLrcPhraseBytes >> 20)) +
                                " MB in the lyric file"});
    return false;
  }
  return true;
}

bool Reader::Records(std::vector<LyricRecord>& records) {
  if (refused_) return false;
  if (times_.empty()) {
    notes_.push_back({true, "no timed line ([mm:ss.xx] at the start of a line)"});
    return false;
  }
  if (replaced_ > 0) {
    notes_.push_back({false, "replaced " + NumberText(static_cast<std::int64_t>(replaced_)) +
                                 (replaced_ == 1 ? " character" : " characters") +
                                 " Shift-JIS cannot store (accented letters by their base "
                                 "letters, others by \"?\") on " +
                                 LinesText(replacedLines_)});
  }
  std::int64_t previous = -1;
  for (const auto& [ms, shared] : times_) {
    std::int64_t tick = (std::max<std::int64_t>(ms - offset_, 0) + 50) / 100;
    const bool moved = tick <= previous;
    if (moved) {
      notes_.push_back({false, LineText(shared.line) + ": tick " + NumberText(tick) + " moved to " +
                                   NumberText(previous + 1) + ", after the one before"});
      tick = previous + 1;
    }
    if (tick > std::numeric_limits<std::int32_t>::max()) {
      notes_.push_back({true, LineText(shared.line) + ": time beyond the largest lyric file time"});
      records.clear();
      return false;
    }
    records.push_back(Record(ms, tick, moved, shared));
    previous = tick;
  }
  return true;
}

// Hundredths of a second from milliseconds in the file, the offset applied.
std::int64_t Hundredths(std::int64_t ms, std::int64_t offset) {
  return (std::max<std::int64_t>(ms - offset, 0) + 5) / 10;
}

LyricRecord Reader::Record(std::int64_t ms, std::int64_t tick, bool moved, const Shared& shared) {
  LyricRecord record{static_cast<std::int32_t>(tick), std::string()};
  if (kept_ == LrcPhrases::kShiftJis) {
    for (const std::string* words : shared.phrases) {
      if (words->empty()) continue;
      if (!record.phrase.empty()) record.phrase += kJoin;
      record.phrase += *words;
    }
    return record;
  }
  // Milliseconds round to the hundredth on the tick's side, so that the
  // hundredths written back give the same tick again.
  std::int64_t off = Hundredths(ms, offset_) - tick * 10;
  if (!moved) off = std::min<std::int64_t>(std::max<std::int64_t>(off, -5), 4);
  if (off >= std::numeric_limits<std::int8_t>::min() &&
      off <= std::numeric_limits<std::int8_t>::max()) {
    record.detail.hundredths = static_cast<std::int8_t>(off);
  }
  const std::int64_t line = LineHundredths(record.time, record.detail);
  for (std::size_t i = 0; i < shared.phrases.size(); ++i) {
    const std::string& words = *shared.phrases[i];
    if (words.empty()) continue;
    if (!record.phrase.empty()) {
      record.detail.rows.push_back(words);
      continue;
    }
    record.phrase = words;
    if (shared.stamps[i] == nullptr) continue;
    // Each time of a line takes its own copy of the line's word stamps.
    wordStamps_ += shared.stamps[i]->size();
    if (wordStamps_ > kMostWordStamps) continue;
    for (const LrcWordStamp& stamp : *shared.stamps[i]) {
      record.detail.words.push_back(
          {static_cast<std::uint32_t>(stamp.at),
           static_cast<std::int32_t>(std::min<std::int64_t>(
               std::max<std::int64_t>(Hundredths(stamp.ms, offset_) - line,
                                      std::numeric_limits<std::int32_t>::min()),
               std::numeric_limits<std::int32_t>::max()))});
    }
  }
  return record;
}

}  // namespace

bool LrcToRecords(const std::string& bytes, LrcEncoding encoding, std::vector<LyricRecord>& records,
                  Notes& notes, LrcPhrases kept) {
  records.clear();
  std::string text;
  if (!DecodeLrc(bytes, encoding, text, notes)) return false;
  // A byte order mark where two files were joined would hide the stamps of
  // its line, and invisible characters copied from the web would each
  // become a "?" in Shift-JIS.
  DropInvisibles(text);
  Reader reader(notes, kept);
  // CR and LF are never part of a character in the text's UTF-8.
  std::size_t number = 1;
  for (std::size_t pos = 0; pos < text.size(); ++number) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    if (!reader.Line(text, pos, end, number)) return false;
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return reader.Records(records);
}

}  // namespace velomar
