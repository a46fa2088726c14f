// How an LRC file's bytes become text, for from-lrc and the program's load.
//
// A byte order mark decides first: EF BB BF is UTF-8, FF FE UTF-16 LE, FE FF
// UTF-16 BE, and the rest must be valid in that encoding. Without one, the
// whole file decides, by the first of these that holds:
//
// 1. A file of even length in which at least one byte in ten is NUL is
//    UTF-16: little-endian when more of its NULs stand at odd offsets (the
//    high bytes of the ASCII of the timestamps), big-endian otherwise.
// 2. Valid UTF-8 holding any multi-byte character is UTF-8, which is what
//    lyric databases serve and what to-lrc writes. Short Shift-JIS can be
//    valid UTF-8 too: a note says so when the Shift-JIS reading looks like
//    Japanese (it holds kana, and no more unlikely characters than the
//    UTF-8 one), and how to force it. Plain ASCII is the same in every
//    reading.
// 3. Bytes that hold multi-byte UTF-8 but are not UTF-8, with fewer
//    unlikely characters read so (every byte that begins no UTF-8
//    character counts) than as Shift-JIS, fail naming the first line that
//    is not UTF-8: a UTF-8 file with a stray Latin-1 "caf\xE9" does not
//    become a page of rare kanji.
// 4. Kana (hiragana, full-width katakana) in the Shift-JIS reading make it
//    Shift-JIS (code page 932, every code assigned). A line that is not
//    valid Shift-JIS is read as Windows-1252 when it reads as Western text
//    (rule 6's words; its count weighs Shift-JIS, which this line is not),
//    else as Windows-1251 when it reads as Cyrillic text (rule 8 on the line
//    alone), and a note names it: a Japanese file with one "Beyonc\xE9"
//    line. A line that reads as none fails the file, naming it.
// 5. A valid Shift-JIS reading of full-width characters, all likely, is
//    Shift-JIS unless every character beyond ASCII stands next to an ASCII
//    letter (the shape of "I\x92m", which would read I知). Half-width
//    katakana alone do not count: "\xD6L" is far likelier German than ﾖL.
// 6. Windows-1252 when it reads as Western text: every byte a character, no
//    word (a run of letters and characters beyond ASCII) of two or more
//    characters beyond ASCII without an ASCII letter, and no fewer ASCII
//    letters than accented letters in words longer than one character. The
//    count is waived when the Shift-JIS reading holds no character of two
//    bytes: half-width katakana are nothing to weigh it against, "\xD6l"
//    is Öl. A note says so.
// 7. A Shift-JIS reading valid on some lines only, whose valid lines read
//    as Japanese by rule 5 (kanji without kana), is read line by line as
//    rule 4 reads; a line that reads in none fails in rule 10's words.
// 8. Windows-1251 when it reads as Cyrillic text: every byte a character,
//    two letters of А-я in a row somewhere, no word that mixes Cyrillic and
//    ASCII letters, and each word in capitals, in small letters, or a
//    capital and small letters. A note says so. (After rule 7: a line of
//    kanji reads as a line of Cyrillic without words, "\x93\x8c" as “Њ.)
// 9. Any other valid Shift-JIS, unless half-width katakana stand in it
//    beside unlikely characters (a GBK file's shape).
// 10. Nothing else fits: the file fails, naming the line where the last
//    reading to hold goes wrong.
//
// Likely characters: ASCII (printable, tab, line ends), hiragana, katakana,
// half-width katakana, CJK punctuation, the full-width letters, digits and
// signs, and kanji: in Shift-JIS those of JIS X 0208 level 1 (0x889F to
// 0x9872, the common ones), in UTF-8 any of U+4E00 to U+9FFF (this rule
// carries no kanji table). Everything else counts against its reading.
//
// --encoding (LrcEncoding other than kDetect) skips all of this: the bytes
// must be valid in that encoding, a mark of the same encoding is skipped.
#include <algorithm>
#include <cstdint>
#include <string>

#include "lyrics/lrc_convert.h"
#include "lyrics/lrc_readings.h"
#include "lyrics/number_text.h"
#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

bool StartsWith(const std::string& bytes, const char* mark) {
  return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
}

// Calls `each(line, lineBreak)` for each line of `bytes` (ended by CR LF,
// LF or CR; the last one's break may be empty) until it returns false, and
// returns the number of that line, 0 when it never does. CR and LF are never
// trail bytes in Shift-JIS or UTF-8.
template <typename Each>
std::size_t EachLine(const std::string& bytes, Each each) {
  std::size_t number = 1;
  for (std::size_t pos = 0; pos < bytes.size(); ++number) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    const std::size_t next =
        std::min(bytes.size(), end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1));
    if (!each(bytes.substr(pos, end - pos), bytes.substr(end, next - end))) return number;
    pos = next;
  }
  return 0;
}

// The number of the first line that `fits` does not accept, 0 when it
// accepts them all.
template <typename Fits>
std::size_t FirstLineNot(const std::string& bytes, Fits fits) {
  return EachLine(bytes, [&](const std::string& line, const std::string&) { return fits(line); });
}

bool FitsSjis(const std::string& bytes) {
  std::string ignored;
  return SjisToUtf8(bytes, ignored);
}

bool DecodeUtf16(const std::string& bytes, bool bigEndian, std::string& text, Notes& notes) {
  if (Utf16ToUtf8(bytes.data(), bytes.size(), bigEndian, text)) return true;
  notes.push_back({true, std::string("not UTF-16 ") + (bigEndian ? "BE" : "LE")});
  return false;
}

bool Forced(const std::string& bytes, LrcEncoding encoding, std::string& text, Notes& notes) {
  switch (encoding) {
    case LrcEncoding::kUtf16Le:
    case LrcEncoding::kUtf16Be: {
      const bool bigEndian = encoding == LrcEncoding::kUtf16Be;
      const bool marked = StartsWith(bytes, bigEndian ? "\xFE\xFF" : "\xFF\xFE");
      return DecodeUtf16(bytes.substr(marked ? 2 : 0), bigEndian, text, notes);
    }
    case LrcEncoding::kUtf8:
      text = bytes.substr(StartsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0);
      if (IsUtf8(text)) return true;
      notes.push_back({true, LineText(FirstLineNot(text, IsUtf8)) + ": not UTF-8"});
      return false;
    case LrcEncoding::kWindows1252:
    case LrcEncoding::kWindows1251: {
      const bool western = encoding == LrcEncoding::kWindows1252;
      const auto decode = western ? Cp1252ToUtf8 : Cp1251ToUtf8;
      if (decode(bytes, text)) return true;
      const std::size_t line = FirstLineNot(bytes, [&](const std::string& one) {
        std::string ignored;
        return decode(one, ignored);
      });
      notes.push_back({true, LineText(line) + (western ? ": not Windows-1252 (code page 1252)"
                                                       : ": not Windows-1251 (code page 1251)")});
      return false;
    }
    default:
      if (SjisToUtf8(bytes, text)) return true;
      notes.push_back(
          {true, LineText(FirstLineNot(bytes, FitsSjis)) + ": not Shift-JIS (code page 932)"});
      return false;
  }
}

// The byte order the NULs of a file without a mark suggest; false when it
// does not look like UTF-16.
bool LooksUtf16(const std::string& bytes, bool& bigEndian) {
  std::size_t even = 0, odd = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\0') ++(i % 2 == 0 ? even : odd);
  }
  if (bytes.size() % 2 != 0 || (even + odd) * 10 < bytes.size() || even + odd == 0) return false;
  bigEndian = even >= odd;
  return true;
}

constexpr char kNoReading[] =
    "neither UTF-8, Shift-JIS (code page 932), Windows-1252 nor Windows-1251";

enum class Verdict { kRead, kRefused, kOpen };

// Rules 2 and 3; kOpen leaves the file to the readings after them.
Verdict ByUtf8(const std::string& bytes, const SjisReading& sjis, std::string& text, Notes& notes) {
  const Utf8Reading utf8 = ReadAsUtf8(bytes);
  if (IsUtf8(bytes)) {
    if (utf8.multiByte > 0 && sjis.kana && sjis.unlikely <= utf8.unlikely && FitsSjis(bytes)) {
      notes.push_back({false,
                       "reads as UTF-8 and as Shift-JIS; taken as UTF-8 (--encoding shift-jis "
                       "reads it the other way)"});
    }
    text = bytes;
    return Verdict::kRead;
  }
  if (utf8.multiByte > 0 && utf8.unlikely < sjis.unlikely) {
    notes.push_back({true, LineText(FirstLineNot(bytes, IsUtf8)) +
                               ": not UTF-8, in a file that otherwise reads as UTF-8"});
    return Verdict::kRefused;
  }
  return Verdict::kOpen;
}

// The first line that is not Western text, and the first that is not
// Cyrillic text; 0 where every line is.
struct CodePageFit {
  std::size_t western = 0, cyrillic = 0;
};

// Rule 6.
bool ByWestern(const std::string& bytes, const SjisReading& sjis, std::string& text, Notes& notes,
               CodePageFit& fit) {
  WesternCount count;
  fit.western =
      FirstLineNot(bytes, [&](const std::string& line) { return WesternLine(line, count); });
  // Half-width katakana alone are nothing to weigh Western letters against.
  if (fit.western != 0 || (count.ascii < count.accented && sjis.fullWidth)) return false;
  Cp1252ToUtf8(bytes, text);
  notes.push_back({false,
                   "taken as Windows-1252: Western text, without kana as Shift-JIS (--encoding "
                   "forces another reading)"});
  return true;
}

// Rule 8.
bool ByCyrillic(const std::string& bytes, std::string& text, Notes& notes, CodePageFit& fit) {
  bool word = false;
  fit.cyrillic =
      FirstLineNot(bytes, [&](const std::string& line) { return CyrillicLine(line, word); });
  if (fit.cyrillic != 0 || !word) return false;
  Cp1251ToUtf8(bytes, text);
  notes.push_back({false,
                   "taken as Windows-1251: Cyrillic text, without kana as Shift-JIS (--encoding "
                   "forces another reading)"});
  return true;
}

// A line of a file that is Shift-JIS elsewhere: the name of the code page
// it reads in when it is not Shift-JIS ("" when it is), null when it reads
// in none.
const char* ReadLine(const std::string& line, std::string& text) {
  if (SjisToUtf8(line, text)) return "";
  WesternCount ignored;
  if (WesternLine(line, ignored)) {
    Cp1252ToUtf8(line, text);
    return "Windows-1252";
  }
  bool word = false;
  if (CyrillicLine(line, word) && word) {
    Cp1251ToUtf8(line, text);
    return "Windows-1251";
  }
  return nullptr;
}

// Rules 4 and 7: line by line, each line not Shift-JIS noted; `refusal`
// names what is wrong with a line that reads in nothing.
bool ByLines(const std::string& bytes, std::string& text, Notes& notes, const char* refusal) {
  text.clear();
  Notes read;
  std::size_t number = 0;
  const std::size_t unread =
      EachLine(bytes, [&](const std::string& line, const std::string& lineBreak) {
        std::string one;
        const char* codePage = ReadLine(line, one);
        ++number;
        if (codePage == nullptr) return false;
        if (*codePage != '\0') {
          read.push_back({false, "行 " + NumberText(static_cast<std::int64_t>(number)) + ": " +
                                     codePage + " として読みました"});
        }
        text += one + lineBreak;
        return true;
      });
  if (unread != 0) {
    text.clear();
    notes.push_back({true, LineText(unread) + ": " + refusal});
    return false;
  }
  notes.insert(notes.end(), read.begin(), read.end());
  return true;
}

// The lines of `bytes` that are valid Shift-JIS, with their line breaks.
std::string SjisLines(const std::string& bytes) {
  std::string lines;
  EachLine(bytes, [&](const std::string& line, const std::string& lineBreak) {
    if (FitsSjis(line)) lines += line + lineBreak;
    return true;
  });
  return lines;
}

// Rule 10: where the reading that holds longest goes wrong.
bool Refuse(const std::string& bytes, const CodePageFit& fit, std::string& text, Notes& notes) {
  text.clear();
  const std::size_t sjisLine = FirstLineNot(bytes, [](const std::string& line) {
    return FitsSjis(line) && !ReadAsSjis(line).GbkShape();
  });
  const std::size_t line =
      std::max({FirstLineNot(bytes, IsUtf8), sjisLine, fit.western, fit.cyrillic});
  notes.push_back({true, LineText(line) + ": " + kNoReading});
  return false;
}

// Without a mark and not UTF-16: the rules at the top of this file (the
// readings they weigh are in lrc_readings.cpp).
bool Detect(const std::string& bytes, std::string& text, Notes& notes) {
  const SjisReading sjis = ReadAsSjis(bytes);
  const Verdict utf8 = ByUtf8(bytes, sjis, text, notes);
  if (utf8 != Verdict::kOpen) return utf8 == Verdict::kRead;
  const bool sjisFits = SjisToUtf8(bytes, text);
  if (sjisFits && sjis.Japanese()) return true;
  if (sjis.kana) {
    return ByLines(bytes, text, notes,
                   "not Shift-JIS (code page 932), in a file whose kana read as Shift-JIS");
  }
  CodePageFit fit;
  if (ByWestern(bytes, sjis, text, notes, fit)) return true;
  if (!sjisFits && ReadAsSjis(SjisLines(bytes)).Japanese()) {
    return ByLines(bytes, text, notes, kNoReading);
  }
  if (ByCyrillic(bytes, text, notes, fit)) return true;
  if (sjisFits && !sjis.GbkShape()) return true;
  return Refuse(bytes, fit, text, notes);
}

}  // namespace

bool ParseLrcEncoding(const std::string& name, LrcEncoding& encoding) {
  static const std::pair<const char*, LrcEncoding> kNames[] = {
      {"utf-8", LrcEncoding::kUtf8},
      {"shift-jis", LrcEncoding::kShiftJis},
      {"utf-16le", LrcEncoding::kUtf16Le},
      {"utf-16be", LrcEncoding::kUtf16Be},
      {"windows-1252", LrcEncoding::kWindows1252},
      {"windows-1251", LrcEncoding::kWindows1251},
  };
  for (const auto& [text, value] : kNames) {
    if (name == text) {
      encoding = value;
      return true;
    }
  }
  return false;
}

bool DecodeLrc(const std::string& bytes, LrcEncoding encoding, std::string& text, Notes& notes) {
  text.clear();
  if (encoding != LrcEncoding::kDetect) return Forced(bytes, encoding, text, notes);
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    text = bytes.substr(3);
    if (IsUtf8(text)) return true;
    notes.push_back({true, "begins with a UTF-8 byte order mark but is not UTF-8"});
    return false;
  }
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    const bool bigEndian = bytes[0] == '\xFE';
    if (Utf16ToUtf8(bytes.data() + 2, bytes.size() - 2, bigEndian, text)) return true;
    notes.push_back({true, std::string("begins with a UTF-16 ") + (bigEndian ? "BE" : "LE") +
                               " byte order mark but is not UTF-16"});
    return false;
  }
  bool bigEndian = false;
  if (LooksUtf16(bytes, bigEndian)) return DecodeUtf16(bytes, bigEndian, text, notes);
  return Detect(bytes, text, notes);
}

}  // namespace velomar
