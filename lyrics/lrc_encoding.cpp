// How an LRC file's bytes become text, for from-lrc and the program's load.
//
// A byte order mark decides first: EF BB BF is UTF-8, FF FE UTF-16 LE, FE FF
// UTF-16 BE, and the rest must be valid in that encoding. Without one, the
// whole file decides:
//
// - A file of even length in which at least one byte in ten is NUL is
//   UTF-16: little-endian when more of its NULs stand at odd offsets (the
//   high bytes of the ASCII of the timestamps), big-endian otherwise.
// - Valid UTF-8 holding any multi-byte character is UTF-8, which is what
//   lyric databases serve and what to-lrc writes. Short Shift-JIS can be
//   valid UTF-8 too: a note says so when the Shift-JIS reading looks like
//   Japanese (it holds kana, and no more unlikely characters than the UTF-8
//   one), and how to force it. Plain ASCII is the same in every reading.
// - When the bytes hold multi-byte UTF-8 but are not UTF-8, the two readings
//   are weighed, with every byte that begins no UTF-8 character counted as
//   unlikely: a UTF-8 file with a stray byte (a Latin-1 "caf\xE9") fails and
//   names the first line that is not UTF-8, instead of becoming a page of
//   rare kanji.
// - Otherwise Shift-JIS (code page 932, every code assigned), unless that
//   reading is implausible: it holds no hiragana or katakana, and either
//   every character beyond ASCII stands next to an ASCII letter (the shape
//   of "I\x92m" or "Stra\xDFe") or one is unlikely in Japanese lyrics. Then
//   the file is Windows-1252 when it reads as Western text: every byte is a
//   character there, and each line with accented letters holds more ASCII
//   letters than accented ones (a GBK file does not). A note says so.
// - A Shift-JIS reading that is implausible only by its shape is still
//   taken when Windows-1252 does not fit; anything else fits no reading and
//   fails, naming the first line that fits none on its own.
//
// Likely characters: ASCII (printable, tab, line ends), hiragana, katakana,
// half-width katakana, CJK punctuation, the full-width letters, digits and
// signs, and kanji: in Shift-JIS those of JIS X 0208 level 1 (0x889F to
// 0x9872, the common ones), in UTF-8 any of U+4E00 to U+9FFF (this rule
// carries no kanji table). Everything else counts against its reading.
//
// --encoding (LrcEncoding other than kDetect) skips all of this: the bytes
// must be valid in that encoding, a mark of the same encoding is skipped.
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

std::string LineText(std::size_t line) {
  return "line " + NumberText(static_cast<std::int64_t>(line));
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
  bool amongLetters = true;  // every character beyond ASCII next to an ASCII letter
  bool Implausible() const { return !kana && (amongLetters || unlikely > 0); }
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
      continue;
    }
    if (i + 1 == bytes.size()) {
      ++reading.unlikely;
      break;
    }
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

// Western text in Windows-1252: every byte a character, and in each line
// with accented letters more ASCII letters than accented ones.
bool ReadAsWestern(const std::string& bytes, std::string& text) {
  if (!Cp1252ToUtf8(bytes, text)) return false;
  std::size_t ascii = 0, accented = 0;
  for (std::size_t i = 0; i <= bytes.size(); ++i) {
    const unsigned char c = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : '\n';
    if (c == '\r' || c == '\n') {
      if (accented > 0 && ascii <= accented) return false;
      ascii = accented = 0;
    } else if (AsciiLetter(c)) {
      ++ascii;
    } else if (Cp1252Letter(c)) {
      ++accented;
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
      if (Cp1252ToUtf8(bytes, text)) return true;
      notes.push_back({true, LineText(FirstLineNot(bytes,
                                                   [](const std::string& line) {
                                                     std::string ignored;
                                                     return Cp1252ToUtf8(line, ignored);
                                                   })) +
                                 ": not Windows-1252 (code page 1252)"});
      return false;
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
  if (sjisFits && !sjis.Implausible()) return true;
  std::string western;
  if (ReadAsWestern(bytes, western)) {
    text = std::move(western);
    notes.push_back({false,
                     "taken as Windows-1252: Western text, without kana as Shift-JIS (--encoding "
                     "forces another reading)"});
    return true;
  }
  if (sjisFits && sjis.unlikely == 0) return true;
  text.clear();
  const auto fitsOne = [](const std::string& line) {
    std::string ignored;
    return IsUtf8(line) || (FitsSjis(line) && !ReadAsSjis(line).Implausible()) ||
           ReadAsWestern(line, ignored);
  };
  // Lines that each fit some reading, but not the same one: the first that
  // is not UTF-8.
  std::size_t line = FirstLineNot(bytes, fitsOne);
  if (line == 0) line = FirstLineNot(bytes, IsUtf8);
  notes.push_back(
      {true, LineText(line) + ": neither UTF-8, Shift-JIS (code page 932) nor Windows-1252"});
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
