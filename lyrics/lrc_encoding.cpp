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
//    Shift-JIS (code page 932, every code assigned); when it is not valid
//    Shift-JIS throughout, it fails naming the first line that is not.
// 5. A valid Shift-JIS reading of full-width characters, all likely, is
//    Shift-JIS unless every character beyond ASCII stands next to an ASCII
//    letter (the shape of "I\x92m", which would read I知). Half-width
//    katakana alone do not count: "\xD6L" is far likelier German than ﾖL.
// 6. Windows-1252 when it reads as Western text: every byte a character, no
//    word (a run of letters and characters beyond ASCII) of two or more
//    characters beyond ASCII without an ASCII letter, and more ASCII letters
//    than accented letters in words longer than one character. A note says
//    so.
// 7. Windows-1251 when it reads as Cyrillic text: every byte a character,
//    two letters of А-я in a row somewhere, no word that mixes Cyrillic and
//    ASCII letters, and each word in capitals, in small letters, or a
//    capital and small letters. A note says so.
// 8. Any other valid Shift-JIS, unless half-width katakana stand in it
//    beside unlikely characters (a GBK file's shape).
// 9. Nothing else fits: the file fails, naming the line where the last
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
#include "lyrics/number_text.h"
#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

bool StartsWith(const std::string& bytes, const char* mark) {
  return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
}

// The number of the first line (ended by CR LF, LF or CR) that `fits` does
// not accept, 0 when it accepts them all. CR and LF are never trail bytes in
// Shift-JIS or UTF-8.
template <typename Fits>
std::size_t FirstLineNot(const std::string& bytes, Fits fits) {
  std::size_t number = 1;
  for (std::size_t pos = 0; pos < bytes.size(); ++number) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    if (!fits(bytes.substr(pos, end - pos))) return number;
    pos = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return 0;
}

bool LikelyAscii(unsigned c) {
  return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n';
}

bool AsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

bool LikelyCodePoint(char32_t c) {
  if (c < 0x80) return LikelyAscii(c);
  return (c >= 0x3000 && c <= 0x30FF) ||  // CJK punctuation, hiragana, katakana
         (c >= 0x4E00 && c <= 0x9FFF) ||  // kanji
         (c >= 0xFF01 && c <= 0xFF9F);    // full-width forms, half-width katakana
}

struct Utf8Reading {
  std::size_t unlikely = 0;   // unlikely characters and bytes beginning none
  std::size_t multiByte = 0;  // well-formed characters beyond ASCII
};

Utf8Reading ReadAsUtf8(const std::string& bytes) {
  Utf8Reading reading;
  char32_t c;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    if (!NextCodePoint(bytes, pos, c)) {
      ++reading.unlikely;
      ++pos;
      continue;
    }
    if (pos - start > 1) ++reading.multiByte;
    if (!LikelyCodePoint(c)) ++reading.unlikely;
  }
  return reading;
}

// The Shift-JIS reading, judged on the bytes alone, so that no table is
// needed.
struct SjisReading {
  std::size_t unlikely = 0;
  bool kana = false;         // a hiragana or (full-width) katakana
  bool fullWidth = false;    // a character of two bytes
  bool halfWidth = false;    // a half-width katakana
  bool amongLetters = true;  // every character beyond ASCII next to an ASCII letter
  bool Japanese() const { return kana || (fullWidth && unlikely == 0 && !amongLetters); }
  bool GbkShape() const { return halfWidth && unlikely > 0; }
};

SjisReading ReadAsSjis(const std::string& bytes) {
  SjisReading reading;
  const auto letterAt = [&](std::size_t i) {
    return i < bytes.size() && AsciiLetter(static_cast<unsigned char>(bytes[i]));
  };
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      if (!LikelyAscii(lead)) ++reading.unlikely;
      continue;
    }
    const std::size_t length = SjisCharLength(lead);
    if (!(i > 0 && letterAt(i - 1)) && !letterAt(i + length)) reading.amongLetters = false;
    if (length == 1) {
      if (lead < 0xA1 || lead > 0xDF) ++reading.unlikely;
      reading.halfWidth = reading.halfWidth || (lead >= 0xA1 && lead <= 0xDF);
      continue;
    }
    if (i + 1 == bytes.size()) {
      ++reading.unlikely;
      break;
    }
    reading.fullWidth = true;
    const unsigned trail = static_cast<unsigned char>(bytes[++i]);
    const unsigned code = lead << 8 | trail;
    reading.kana =
        reading.kana || (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396);
    // Row 1 punctuation, row 2 digits, letters and hiragana, row 3 katakana.
    const bool likely = (lead >= 0x81 && lead <= 0x83) || (code >= 0x889F && code <= 0x9872);
    if (!likely) ++reading.unlikely;
  }
  return reading;
}

// A line of Western text in Windows-1252 (rule 6), counting its ASCII
// letters, and its accented letters in words longer than one character: a
// word of characters beyond ASCII alone is the shape of double-byte text
// ("\xC4\xE3" of GBK, "\x93\x8C" of Shift-JIS), while "\xD6 \xC4" may
// well be German capitals.
struct WesternCount {
  std::size_t ascii = 0, accented = 0;
};

bool WesternLine(const std::string& line, WesternCount& count) {
  std::size_t letters = 0, beyond = 0, accented = 0;  // of the word so far
  for (std::size_t i = 0; i <= line.size(); ++i) {
    const unsigned char c = i < line.size() ? static_cast<unsigned char>(line[i]) : ' ';
    if (c != 0 && Cp1252Char(c) == 0) return false;
    if (AsciiLetter(c) || c >= 0x80) {
      ++(c < 0x80 ? letters : beyond);
      if (Cp1252Letter(c)) ++accented;
      continue;
    }
    if (letters == 0 && beyond > 1) return false;
    count.ascii += letters;
    if (letters + beyond > 1) count.accented += accented;
    letters = beyond = accented = 0;
  }
  return true;
}

// A line of Cyrillic text in Windows-1251 (rule 7); `word` is set by two
// letters of А-я (0xC0-0xFF) in a row. The case pattern is what tells
// Russian from the Windows-1251 reading of GBK, "\xC4\xE3\xC3" reading ДгГ.
bool CyrillicLine(const std::string& line, bool& word) {
  std::size_t ascii = 0, capitals = 0, smalls = 0;  // letters of the word so far
  bool russian = false;                             // the byte before was one of А-я
  for (std::size_t i = 0; i <= line.size(); ++i) {
    const unsigned char byte = i < line.size() ? static_cast<unsigned char>(line[i]) : ' ';
    const char32_t c = Cp1251Char(byte);
    if (c == 0 && byte != 0) return false;
    word = word || (russian && byte >= 0xC0);
    russian = byte >= 0xC0;
    if (AsciiLetter(byte)) {
      ++ascii;
    } else if ((c >= 0x400 && c <= 0x45F) || c == 0x490 || c == 0x491) {
      const bool capital = c <= 0x42F || c == 0x490;
      if (capital ? smalls > 0 : capitals > 1) return false;  // пРИ, ПРи
      ++(capital ? capitals : smalls);
    } else {
      if (ascii > 0 && capitals + smalls > 0) return false;
      ascii = capitals = smalls = 0;
    }
  }
  return true;
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

// Without a mark and not UTF-16: the rules at the top of this file.
bool Detect(const std::string& bytes, std::string& text, Notes& notes) {
  const Utf8Reading utf8 = ReadAsUtf8(bytes);
  const SjisReading sjis = ReadAsSjis(bytes);
  if (IsUtf8(bytes)) {
    if (utf8.multiByte > 0 && sjis.kana && sjis.unlikely <= utf8.unlikely && FitsSjis(bytes)) {
      notes.push_back({false,
                       "reads as UTF-8 and as Shift-JIS; taken as UTF-8 (--encoding shift-jis "
                       "reads it the other way)"});
    }
    text = bytes;
    return true;
  }
  if (utf8.multiByte > 0 && utf8.unlikely < sjis.unlikely) {
    notes.push_back({true, LineText(FirstLineNot(bytes, IsUtf8)) +
                               ": not UTF-8, in a file that otherwise reads as UTF-8"});
    return false;
  }
  const bool sjisFits = SjisToUtf8(bytes, text);
  if (sjisFits && sjis.Japanese()) return true;
  if (sjis.kana) {
    text.clear();
    notes.push_back({true, LineText(FirstLineNot(bytes, FitsSjis)) +
                               ": not Shift-JIS (code page 932), in a file whose kana read as "
                               "Shift-JIS"});
    return false;
  }
  WesternCount count;
  const std::size_t westernLine =
      FirstLineNot(bytes, [&](const std::string& line) { return WesternLine(line, count); });
  if (westernLine == 0 && (count.accented == 0 || count.ascii > count.accented)) {
    Cp1252ToUtf8(bytes, text);
    notes.push_back({false,
                     "taken as Windows-1252: Western text, without kana as Shift-JIS (--encoding "
                     "forces another reading)"});
    return true;
  }
  bool word = false;
  const std::size_t cyrillicLine =
      FirstLineNot(bytes, [&](const std::string& line) { return CyrillicLine(line, word); });
  if (cyrillicLine == 0 && word) {
    Cp1251ToUtf8(bytes, text);
    notes.push_back({false,
                     "taken as Windows-1251: Cyrillic text, without kana as Shift-JIS (--encoding "
                     "forces another reading)"});
    return true;
  }
  if (sjisFits && !sjis.GbkShape()) return true;
  text.clear();
  const std::size_t sjisLine = FirstLineNot(bytes, [](const std::string& line) {
    return FitsSjis(line) && !ReadAsSjis(line).GbkShape();
  });
  // Where the reading that holds longest goes wrong.
  const std::size_t line =
      std::max({FirstLineNot(bytes, IsUtf8), sjisLine, westernLine, cyrillicLine});
  notes.push_back({true, LineText(line) +
                             ": neither UTF-8, Shift-JIS (code page 932), Windows-1252 nor "
                             "Windows-1251"});
  return false;
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
