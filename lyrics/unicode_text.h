// ASCII letters, UTF-8, UTF-16, Windows-1252 and Windows-1251 as the LRC
// conversion needs them: strict decoding, so that a damaged file is noticed
// instead of being read as something else.
#pragma once

#include <cstddef>
#include <string>

namespace velomar {

// A-Z as a-z, every other byte as it is: a tag, an extension or a language
// code folds the same in every locale, and no byte beyond ASCII (a
// Shift-JIS lead byte, a UTF-8 one) is ever taken for a letter.
inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Decodes the character at `pos` (below text.size()), advancing `pos`;
// false, `pos` unchanged, on anything that is not the shortest form of a
// scalar value.
bool NextCodePoint(const std::string& text, std::size_t& pos, char32_t& c);

// Whether `text` is UTF-8 without overlong forms, surrogates or code points
// beyond U+10FFFF.
bool IsUtf8(const std::string& text);

// The code points of strict UTF-8; false (and `out` unspecified) otherwise.
bool DecodeUtf8(const std::string& text, std::u32string& out);

void AppendUtf8(std::string& out, char32_t c);

// UTF-16 bytes (no BOM) as UTF-8; false on an odd length or an unpaired
// surrogate.
bool Utf16ToUtf8(const char* data, std::size_t size, bool bigEndian, std::string& out);

// The character of byte `c` in Windows-1252, 0 for 0x81, 0x8D, 0x8F, 0x90
// and 0x9D, the five bytes code page 1252 leaves without one.
char32_t Cp1252Char(unsigned char c);

// The character of byte `c` in Windows-1251 (Cyrillic), 0 for 0x98, the one
// byte code page 1251 leaves without one.
char32_t Cp1251Char(unsigned char c);

// Bytes in one of the two code pages above as UTF-8; false when they hold a
// byte the code page leaves without a character.
bool Cp1252ToUtf8(const std::string& bytes, std::string& out);
bool Cp1251ToUtf8(const std::string& bytes, std::string& out);

// Whether `c` is a letter in Windows-1252 beyond ASCII: the accented letters
// of 0xC0-0xFF (not 0xD7 and 0xF7) and 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E,
// 0x9F, 0x83.
bool Cp1252Letter(unsigned char c);

// Drops, in place, the characters that show nothing and that text copied
// from the web carries: U+FEFF (also a byte order mark where two files were
// joined), U+200B-U+200F and U+2060.
void DropInvisibles(std::string& utf8);

}  // namespace velomar
