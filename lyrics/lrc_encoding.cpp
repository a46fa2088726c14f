// How an LRC file's bytes become text, for from-lrc and the program's load.
//
// A byte order mark decides first: EF BB BF is UTF-8, FF FE UTF-16 LE, FE FF
// UTF-16 BE, and the rest must be valid in that encoding. Without one:
//
// - A file of even length in which at least one byte in ten is NUL is
//   UTF-16: little-endian when more of its NULs stand at odd offsets (the
//   high bytes of the ASCII of the timestamps), big-endian otherwise.
// - Otherwise the whole file is read both as UTF-8 and as Shift-JIS (code
//   page 932, every code assigned). Plain ASCII is the same either way. When
//   only one reading fits, it is taken. When both fit, the reading with fewer
//   characters that are unlikely in Japanese lyrics is taken, UTF-8 on a tie,
//   and a note says so and how to force the other.
// - When only Shift-JIS fits but the bytes also hold multi-byte UTF-8, the
//   two readings are weighed the same way, with every byte that begins no
//   UTF-8 character counted as unlikely: a UTF-8 file with a stray byte
//   (a Latin-1 "caf\xE9") fails and names the first line that is not UTF-8,
//   instead of becoming a page of rare kanji.
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
// not accept. CR and LF are never trail bytes in Shift-JIS or UTF-8.
template <typename Fits>
std::size_t FirstLineNot(const std::string& bytes, Fits fits) {
  std::size_t number = 1;
  for (std::size_t pos = 0; pos < bytes.size(); ++number) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    if (!fits(bytes.substr(pos, end - pos))) return number;
    pos = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return number;
}

bool LikelyAscii(unsigned c) {
  return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n';
}

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

// Counted on the bytes alone, so that no table is needed.
std::size_t UnlikelyInSjis(const std::string& bytes) {
  std::size_t unlikely = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned lead = static_cast<unsigned char>(bytes[i]);
    if (SjisCharLength(lead) == 1) {
      if (!LikelyAscii(lead) && !(lead >= 0xA1 && lead <= 0xDF)) ++unlikely;
      continue;
    }
    if (i + 1 == bytes.size()) {
      ++unlikely;
      break;
    }
    const unsigned code = lead << 8 | static_cast<unsigned char>(bytes[++i]);
    // Row 1 punctuation, row 2 digits, letters and hiragana, row 3 katakana.
    const bool likely = (lead >= 0x81 && lead <= 0x83) || (code >= 0x889F && code <= 0x9872);
    if (!likely) ++unlikely;
  }
  return unlikely;
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
    default:
      if (SjisToUtf8(bytes, text)) return true;
      notes.push_back({true, LineText(FirstLineNot(bytes,
                                                   [](const std::string& line) {
                                                     std::string ignored;
                                                     return SjisToUtf8(line, ignored);
                                                   })) +
                                 ": not Shift-JIS (code page 932)"});
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

}  // namespace

bool ParseLrcEncoding(const std::string& name, LrcEncoding& encoding) {
  static const std::pair<const char*, LrcEncoding> kNames[] = {
      {"utf-8", LrcEncoding::kUtf8},
      {"shift-jis", LrcEncoding::kShiftJis},
      {"utf-16le", LrcEncoding::kUtf16Le},
      {"utf-16be", LrcEncoding::kUtf16Be},
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

  const Utf8Reading utf8 = ReadAsUtf8(bytes);
  std::string sjisText;
  const bool sjisFits = SjisToUtf8(bytes, sjisText);
  const bool utf8Fits = IsUtf8(bytes);
  const std::size_t sjisUnlikely = UnlikelyInSjis(bytes);
  if (utf8Fits && sjisFits && utf8.multiByte > 0) {
    const bool takeSjis = sjisUnlikely < utf8.unlikely;
    const bool tie = sjisUnlikely == utf8.unlikely;
    notes.push_back(
        {false, std::string("reads as UTF-8 and as Shift-JIS; taken as ") +
                    (takeSjis ? "Shift-JIS" : "UTF-8") +
                    (tie ? ", as plausible as the other" : ", the more plausible text") +
                    " (--encoding " + (takeSjis ? "utf-8" : "shift-jis") +
                    " reads it the other way)"});
    text = takeSjis ? sjisText : bytes;
    return true;
  }
  if (utf8Fits) {
    text = bytes;
    return true;
  }
  if (utf8.multiByte > 0 && utf8.unlikely < sjisUnlikely) {
    notes.push_back({true, LineText(FirstLineNot(bytes, IsUtf8)) +
                               ": not UTF-8, in a file that otherwise reads as UTF-8"});
    return false;
  }
  if (sjisFits) {
    text = sjisText;
    return true;
  }
  notes.push_back({true, LineText(FirstLineNot(bytes,
                                               [](const std::string& line) {
                                                 std::string ignored;
                                                 return SjisToUtf8(line, ignored);
                                               })) +
                             ": neither UTF-8 nor Shift-JIS (code page 932)"});
  return false;
}

}  // namespace velomar
