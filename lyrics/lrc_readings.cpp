#include "lyrics/lrc_readings.h"

#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

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

}  // namespace

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

}  // namespace velomar
