// How LRC bytes read in each encoding that lrc_encoding.cpp weighs against
// the others, judged on the bytes alone so that no table is needed.
#pragma once

#include <cstddef>
#include <string>

namespace velomar {

struct Utf8Reading {
  std::size_t unlikely = 0;   // unlikely characters and bytes beginning none
  std::size_t multiByte = 0;  // well-formed characters beyond ASCII
};

Utf8Reading ReadAsUtf8(const std::string& bytes);

struct SjisReading {
  std::size_t unlikely = 0;
  bool kana = false;         // a hiragana or (full-width) katakana
  bool fullWidth = false;    // a character of two bytes
  bool halfWidth = false;    // a half-width katakana
  bool amongLetters = true;  // every character beyond ASCII next to an ASCII letter
  bool Japanese() const { return kana || (fullWidth && unlikely == 0 && !amongLetters); }
  bool GbkShape() const { return halfWidth && unlikely > 0; }
};

SjisReading ReadAsSjis(const std::string& bytes);

// A line of Western text in Windows-1252, counting its ASCII letters, and
// its accented letters in words longer than one character: a word of
// characters beyond ASCII alone is the shape of double-byte text
// ("\xC4\xE3" of GBK, "\x93\x8C" of Shift-JIS), while "\xD6 \xC4" may well
// be German capitals.
struct WesternCount {
  std::size_t ascii = 0, accented = 0;
};

bool WesternLine(const std::string& line, WesternCount& count);

// A line of Cyrillic text in Windows-1251; `word` is set by two letters of
// А-я (0xC0-0xFF) in a row. The case pattern is what tells Russian from the
// Windows-1251 reading of GBK, "\xC4\xE3\xC3" reading ДгГ.
bool CyrillicLine(const std::string& line, bool& word);

}  // namespace velomar
