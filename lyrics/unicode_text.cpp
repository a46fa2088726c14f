#include "lyrics/unicode_text.h"

namespace velomar {

bool NextCodePoint(const std::string& text, std::size_t& pos, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  int trail;
  char32_t low;  // smallest value the length may carry
  if (lead < 0x80) {
    c = lead;
    ++pos;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
    c = lead & 0x1F;
    low = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2;
    c = lead & 0x0F;
    low = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3;
    c = lead & 0x07;
    low = 0x10000;
  } else {
    return false;
  }
  if (text.size() - pos <= static_cast<std::size_t>(trail)) return false;
  for (int i = 1; i <= trail; ++i) {
    const unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < low || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  pos += trail + 1;
  return true;
}

bool IsUtf8(const std::string& text) {
  std::u32string ignored;
  return DecodeUtf8(text, ignored);
}

bool DecodeUtf8(const std::string& text, std::u32string& out) {
  out.clear();
  std::size_t pos = 0;
  char32_t c;
  while (pos < text.size()) {
    if (!NextCodePoint(text, pos, c)) return false;
    out.push_back(c);
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool Utf16ToUtf8(const char* data, std::size_t size, bool bigEndian, std::string& out) {
  out.clear();
  if (size % 2 != 0) return false;
  const auto unit = [&](std::size_t i) -> char32_t {
    const unsigned char a = static_cast<unsigned char>(data[i]);
    const unsigned char b = static_cast<unsigned char>(data[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  for (std::size_t i = 0; i < size; i += 2) {
    char32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 2 >= size) return false;
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, c);
  }
  return true;
}

}  // namespace velomar
