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
  char32_t c;
  for (std::size_t pos = 0; pos < text.size();) {
    if (!NextCodePoint(text, pos, c)) return false;
  }
  return true;
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

namespace {

// 0x80-0x9F, where Windows-1252 differs from Latin-1; 0 for the bytes it
// leaves undefined.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

// 0x80-0xBF of Windows-1251; 0xC0-0xFF are U+0410-U+044F, А to я.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88-8F
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98-9F
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0-A7
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8-AF
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0-B7
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8-BF
};

bool CodePageToUtf8(const std::string& bytes, char32_t (*charOf)(unsigned char), std::string& out) {
  out.clear();
  out.reserve(bytes.size());
  for (char b : bytes) {
    const char32_t code = charOf(static_cast<unsigned char>(b));
    if (code == 0 && b != 0) return false;
    AppendUtf8(out, code);
  }
  return true;
}

}  // namespace

char32_t Cp1252Char(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c; }

char32_t Cp1251Char(unsigned char c) {
  if (c < 0x80) return c;
  return c < 0xC0 ? kCp1251High[c - 0x80] : 0x0410 + (c - 0xC0);
}

bool Cp1252ToUtf8(const std::string& bytes, std::string& out) {
  return CodePageToUtf8(bytes, Cp1252Char, out);
}

bool Cp1251ToUtf8(const std::string& bytes, std::string& out) {
  return CodePageToUtf8(bytes, Cp1251Char, out);
}

bool Cp1252Letter(unsigned char c) {
  if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
  switch (c) {
    case 0x83:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F: return true;
    default: return false;
  }
}

void DropInvisibles(std::string& utf8) {
  // In UTF-8 the bytes E2 and EF only ever lead a character, so matching
  // bytes cannot cut one in two.
  const auto byte = [&](std::size_t i) -> unsigned {
    return i < utf8.size() ? static_cast<unsigned char>(utf8[i]) : 0;
  };
  std::size_t kept = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned a = byte(i), b = byte(i + 1), c = byte(i + 2);
    const bool invisible = (a == 0xEF && b == 0xBB && c == 0xBF) ||               // U+FEFF
                           (a == 0xE2 && b == 0x80 && c >= 0x8B && c <= 0x8F) ||  // U+200B-U+200F
                           (a == 0xE2 && b == 0x81 && c == 0xA0);                 // U+2060
    if (invisible) {
      i += 3;
    } else {
      utf8[kept++] = utf8[i++];
    }
  }
  utf8.resize(kept);
}

}  // namespace velomar
