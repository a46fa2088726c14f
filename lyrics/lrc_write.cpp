// Lyric file records to LRC. Every record becomes one "[mm:ss.xx]phrase"
// line in UTF-8 with an LF, in file order: a tick is 100 ms, so the
// hundredths end in 0 unless the record kept an LRC's own, and minutes take
// as many digits as they need (at least two). No [offset:] is written. A
// record's word stamps go back into its phrase as <mm:ss.xx>, and each
// translation row follows as a line of its own with the record's stamp.
//
// A record LRC cannot carry stops the conversion: a negative time (the
// program never writes one), a phrase that is not Shift-JIS (or, from the
// program's lyrics, not UTF-8), one that holds a [m:ss.xx] timestamp or a
// <m:ss.xx> word timestamp (from-lrc would read those as times, or take
// them out). CR bytes in a phrase are left out, as
// the program's own save leaves them out.
//
// What from-lrc would give back otherwise is warned of: blanks at either
// end of a phrase (trimmed), blanks beside a word stamp other than one
// space before it (one space, the stamp after it), a time not after the
// one before (sorted, and joined with a record of the same time), the 398
// twin codes of code page 932, and phrases together beyond kLrcPhraseBytes
// (refused). A table
// written without any note comes back record for record.
#include <algorithm>
#include <memory>

#include "lyrics/lrc_convert.h"
#include "lyrics/lrc_line.h"
#include "lyrics/lyric_file.h"
#include "lyrics/memory_stream.h"
#include "lyrics/number_text.h"
#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

// The reader skips blanks before a record's number field and finds no
// record when the bytes end there.
bool RecordAhead(const std::string& bytes, std::size_t pos) {
  return bytes.find_first_not_of(" \t", pos) != std::string::npos;
}

std::string TwoDigits(std::int64_t value) {
  std::string text = NumberText(value);
  return text.size() < 2 ? "0" + text : text;
}

std::string LrcStamp(std::int64_t hundredths, char open = '[', char close = ']') {
  return open + TwoDigits(hundredths / 6000) + ":" + TwoDigits(hundredths / 100 % 60) + "." +
         TwoDigits(hundredths % 100) + close;
}

// The phrase with its word stamps put back; false when a stamp points
// beyond the phrase or into a character.
bool WithWordStamps(const std::string& phrase, std::int64_t line,
                    const std::vector<WordStamp>& words, std::string& text) {
  std::size_t from = 0;
  for (const WordStamp& word : words) {
    if (word.at < from || word.at > phrase.size() ||
        (word.at < phrase.size() && (static_cast<unsigned char>(phrase[word.at]) & 0xC0) == 0x80)) {
      return false;
    }
    text.append(phrase, from, word.at - from);
    text += LrcStamp(std::max<std::int64_t>(line + word.after, 0), '<', '>');
    from = word.at;
  }
  text.append(phrase, from, std::string::npos);
  return true;
}

// Rows that read back as something else: dropped (empty, or the same as
// the line or a row before) or trimmed.
void NoteRows(const std::string& entry, const LyricRecord& record, Notes& notes) {
  for (std::size_t r = 0; r < record.detail.rows.size(); ++r) {
    const std::string& row = record.detail.rows[r];
    const auto begin = record.detail.rows.begin();
    if (row.empty() || row == record.phrase || std::find(begin, begin + r, row) != begin + r ||
        IsLrcBlank(row.front()) || IsLrcBlank(row.back())) {
      notes.push_back({false, entry + ": translation row " +
                                  NumberText(static_cast<std::int64_t>(r + 1)) +
                                  " does not come back as it is"});
    }
  }
}

// The reader takes the blanks beside a word stamp for one space before
// the word: any other blanks there come back as that.
void NoteWordBlanks(const std::string& entry, const std::string& phrase,
                    const std::vector<WordStamp>& words, Notes& notes) {
  for (const WordStamp& word : words) {
    if (word.at == 0 || word.at >= phrase.size()) continue;
    const std::size_t letter = phrase.find_last_not_of(" \t", word.at - 1);
    const std::size_t before = letter == std::string::npos ? word.at : word.at - 1 - letter;
    if (IsLrcBlank(phrase[word.at]) || before > 1 || (before == 1 && phrase[word.at - 1] != ' ')) {
      notes.push_back({false, entry + ": the blanks beside a word stamp come back as one space"});
      return;
    }
  }
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

// Code page 932 codes that Unicode merges with another code come back from
// LRC as the code Windows writes; says so for the first such character.
void NoteTwinCodes(const std::string& entry, const std::string& phrase, const std::string& utf8,
                   Notes& notes) {
  std::string back;
  if (Utf8ToSjis(utf8, back) && back == phrase) return;
  std::string text;
  for (std::size_t i = 0; i < phrase.size();) {
    const std::size_t length = SjisCharLength(static_cast<unsigned char>(phrase[i]));
    const std::string code = phrase.substr(i, length);
    i += length;
    if (SjisToUtf8(code, text) && Utf8ToSjis(text, back) && back != code) {
      notes.push_back({false, entry + ": code " + Hex(code) + " comes back from LRC as " +
                                  Hex(back) + ", the code Windows writes for that character"});
      return;
    }
  }
}

// What from-lrc would give back otherwise, for a record that can be written.
void NoteChanges(const std::string& entry, const std::vector<LyricRecord>& records, std::size_t i,
                 const std::string& phrase, Notes& notes) {
  if (!phrase.empty() && IsLrcBlank(phrase.front())) {
    notes.push_back({false, entry + ": the blanks that begin the phrase do not come back"});
  }
  if (!phrase.empty() && IsLrcBlank(phrase.back())) {
    notes.push_back({false, entry + ": the blanks that end the phrase do not come back"});
  }
  if (i > 0 && (records[i].time <= records[i - 1].time ||
                LineHundredths(records[i].time, records[i].detail) <=
                    LineHundredths(records[i - 1].time, records[i - 1].detail))) {
    notes.push_back({false, entry +
                                ": not after the entry before; comes back sorted by time, joined "
                                "with an entry of the same time"});
  }
}

}  // namespace

std::vector<LyricRecord> RecordsInFile(const std::string& bytes) {
  auto table = std::make_unique<LyricTable>();
  MemorySource source(bytes);
  std::vector<LyricRecord> records;
  for (int i = 0; i < kLyricEntries && RecordAhead(bytes, source.Position()); ++i) {
    ReadRecord(source, *table, i);
    records.push_back({table->time[i], table->phrase[i]});
  }
  return records;
}

std::string LyricFileBytes(const std::vector<LyricRecord>& records) {
  auto table = std::make_unique<LyricTable>();
  const std::size_t count = records.size() < kLyricEntries ? records.size() : kLyricEntries;
  for (std::size_t i = 0; i < count; ++i) {
    table->time[i] = records[i].time;
    table->phrase[i] = records[i].phrase;
  }
  table->AddedCount = static_cast<std::int32_t>(count);
  StringSink sink;
  WriteLyricLines(*table, sink, nullptr);
  return sink.Bytes();
}

void NoteBlanksLost(const std::string& fileBytes, Notes& notes) {
  std::size_t number = 1;
  for (std::size_t pos = 0; pos < fileBytes.size(); ++number) {
    std::size_t end = fileBytes.find('\n', pos);
    if (end == std::string::npos) end = fileBytes.size();
    const std::string line = fileBytes.substr(pos, end - pos);
    pos = end + 1;
    // A time field ends at its comma unless quoted or ended by a blank.
    const std::size_t start = line.find_first_not_of(" \t");
    const std::size_t comma = line.find_first_of(",\" \t", start);
    if (start == std::string::npos || comma == std::string::npos || line[comma] != ',') continue;
    if (comma + 1 < line.size() && (line[comma + 1] == ' ' || line[comma + 1] == '\t')) {
      notes.push_back({false, LineText(number) +
                                  ": the blanks that begin the phrase do not come back (the "
                                  "program's own load skips them too)"});
    }
  }
}

namespace {

// Why a phrase or row cannot go into LRC; null when it can. `utf8` gets
// its text.
const char* Refusal(const std::string& phrase, bool sjis, std::string& utf8) {
  std::size_t end;
  std::int64_t ms;
  if (sjis ? !SjisToUtf8(phrase, utf8) : !IsUtf8(utf8 = phrase)) {
    return sjis ? ": the phrase is not Shift-JIS (code page 932)" : ": the phrase is not UTF-8";
  }
  if (!utf8.empty() && utf8[0] == '[' && ReadLrcStamp(utf8, 1, ']', end, ms)) {
    return ": the phrase begins with a timestamp";
  }
  if (HoldsLrcStamp(utf8, '[', ']')) return ": the phrase holds a [m:ss.xx] timestamp";
  if (HoldsLrcStamp(utf8, '<', '>')) return ": the phrase holds a <m:ss.xx> word timestamp";
  return nullptr;
}

std::string WithoutCr(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c != '\r') kept += c;
  }
  return kept;
}

// A record's phrase and translation rows as they are written: without CR
// bytes, which the program's own save leaves out too.
struct Written {
  std::string phrase;
  std::vector<std::string> rows;
};

Written WrittenTexts(const std::string& entry, const LyricRecord& record, Notes& notes) {
  Written written{WithoutCr(record.phrase), {}};
  bool cr = written.phrase.size() != record.phrase.size();
  for (const std::string& row : record.detail.rows) {
    written.rows.push_back(WithoutCr(row));
    cr = cr || written.rows.back().size() != row.size();
  }
  if (cr) {
    notes.push_back({false, entry + ": CR left out of the phrase, as the program's save does"});
  }
  return written;
}

// Appends record `i` as LRC lines; false, with an error note, when LRC
// cannot carry it. `bytes` counts its phrase bytes either way.
bool AppendRecord(const std::vector<LyricRecord>& records, std::size_t i, bool sjis,
                  std::size_t& bytes, std::string& lrc, Notes& notes) {
  const LyricRecord& record = records[i];
  const std::string entry = "entry " + NumberText(static_cast<std::int64_t>(i));
  Written written = WrittenTexts(entry, record, notes);
  bytes += written.phrase.size();
  for (const std::string& row : written.rows) bytes += row.size();
  const std::int64_t time = LineHundredths(record.time, record.detail);
  std::string utf8, line;
  const char* refused = Refusal(written.phrase, sjis, utf8);
  for (std::size_t r = 0; r < written.rows.size() && refused == nullptr; ++r) {
    std::string text;
    refused = Refusal(written.rows[r], sjis, text);
    written.rows[r] = text;
  }
  if (record.time < 0) {
    notes.push_back({true, entry + ": negative time " + NumberText(record.time)});
    return false;
  }
  if (refused != nullptr) {
    notes.push_back({true, entry + refused});
    return false;
  }
  if (!WithWordStamps(utf8, time, record.detail.words, line)) {
    notes.push_back({true, entry + ": a word stamp lies outside the phrase"});
    return false;
  }
  NoteChanges(entry, records, i, written.phrase, notes);
  NoteRows(entry, record, notes);
  NoteWordBlanks(entry, utf8, record.detail.words, notes);
  if (sjis) NoteTwinCodes(entry, written.phrase, utf8, notes);
  const std::string stamp = LrcStamp(time);
  lrc += stamp + line + "\n";
  for (const std::string& row : written.rows) lrc += stamp + row + "\n";
  return true;
}

}  // namespace

bool RecordsToLrc(const std::vector<LyricRecord>& records, std::string& lrc, Notes& notes,
                  LrcPhrases given) {
  const bool sjis = given == LrcPhrases::kShiftJis;
  lrc.clear();
  bool ok = true;
  std::size_t bytes = 0;
  // Every record is looked at, so that the notes name all that is wrong.
  for (std::size_t i = 0; i < records.size(); ++i) {
    ok = AppendRecord(records, i, sjis, bytes, lrc, notes) && ok;
  }
  if (bytes > kLrcPhraseBytes) {
    notes.push_back({false, "the phrases take more than " +
                                NumberText(static_cast<std::int64_t>(kLrcPhraseBytes >> 20)) +
                                " MB: from-lrc and the program refuse such an LRC file"});
  }
  if (!ok) lrc.clear();
  return ok;
}

}  // namespace velomar
