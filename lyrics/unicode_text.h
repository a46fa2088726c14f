// UTF-8 and UTF-16 as the LRC conversion needs them: strict decoding, so that a
// damaged file is noticed instead of being read as something else.
#pragma once

#include <cstddef>
#include <string>

namespace velomar {

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

}  // namespace velomar
