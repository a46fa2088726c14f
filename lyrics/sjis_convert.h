// Strict conversion between Shift-JIS (Windows code page 932, the bytes of a
// lyric file) and UTF-8, for the LRC conversion that the tool and the
// program share and for the lyric file's boundary (lyric_text.h).
//
// The platform does the table work (code_page.h); the checks around it are
// shared, so that both builds accept and refuse the same texts.
#pragma once

#include <string>

namespace velomar {

// False when `sjis` is not well-formed Shift-JIS (a lone 0x80, 0xA0, 0xFD to
// 0xFF, a lead byte without its trail byte) or holds a code that stands for
// no character.
bool SjisToUtf8(const std::string& sjis, std::string& utf8);

// False when `utf8` is not strict UTF-8 or holds a character code page 932
// cannot store; `refused`, when given, then receives the first such
// character (0 for broken UTF-8). Nothing is ever replaced by '?' or by a
// look-alike: U+00A5 and U+203E, which iconv would turn into 0x5C and 0x7E,
// are refused.
//
// Accepted besides Microsoft's own mapping: the JIS code points of seven
// characters other programs write for the same glyphs, stored as their
// CP932 codes: U+301C WAVE DASH and U+FF5E as 0x8160, U+2212 MINUS SIGN as
// 0x817C, U+00A2 as 0x8191, U+00A3 as 0x8192, U+00AC as 0x81CA, U+2016 as
// 0x8161, U+2014 EM DASH as 0x815C.
//
// Where code page 932 has two codes for one character (the NEC-selected IBM
// extensions 0xED40-0xEEFC, nine NEC row 13 symbols 0x8790-0x879C and
// fifteen IBM extensions 0xFA4A-0xFA5B: 398 codes) Unicode keeps only one,
// and this writes the code Windows writes for it, which is what the program
// saves for a typed character: 0xFA40-0xFC4B for the IBM kanji and small
// roman numerals, 0x8754-0x875D for the capital ones, JIS X 0208 codes for
// the symbols (0x81E0 for U+2252, 0x81CA for U+FFE2, ...).
bool Utf8ToSjis(const std::string& utf8, std::string& sjis, char32_t* refused = nullptr);

// The length of the Shift-JIS character starting with `lead`: 2 for a lead
// byte (0x81-0x9F, 0xE0-0xFC), else 1.
int SjisCharLength(unsigned char lead);

}  // namespace velomar
