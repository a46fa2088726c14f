#include "lyrics/sjis_convert.h"

#include <cstddef>

#include "lyrics/code_page.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

bool WellFormedSjis(const std::string& sjis) {
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(sjis[i]);
    if (SjisCharLength(b) == 2) {
      if (++i == sjis.size()) return false;
      const unsigned char trail = static_cast<unsigned char>(sjis[i]);
      if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
    } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
      // Windows maps these to U+0080 and private-use characters and iconv
      // refuses them; neither is text.
      return false;
    }
  }
  return true;
}

// The code points other programs use where code page 932 has its own.
char32_t Cp932CodePoint(char32_t c) {
  switch (c) {
    case 0x301C: return 0xFF5E;
    case 0x2212: return 0xFF0D;
    case 0x00A2: return 0xFFE0;
    case 0x00A3: return 0xFFE1;
    case 0x00AC: return 0xFFE2;
    case 0x2016: return 0x2225;
    case 0x2014: return 0x2015;
    default: return c;
  }
}

// Encodes text already in code page 932's code points, and reads the result
// back: whatever does not return as it went in was replaced or dropped
// (iconv drops U+E0000-U+E007F and turns U+00A5 into 0x5C), so it counts as
// unstorable.
bool EncodeExactly(const std::string& utf8, std::string& sjis) {
  std::string back;
  return PlatformEncodeCp932(utf8, sjis) && WellFormedSjis(sjis) &&
         PlatformDecodeCp932(sjis, back) && back == utf8;
}

}  // namespace

int SjisCharLength(unsigned char lead) {
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

bool SjisToUtf8(const std::string& sjis, std::string& utf8) {
  return WellFormedSjis(sjis) && PlatformDecodeCp932(sjis, utf8) && IsUtf8(utf8);
}

bool Utf8ToSjis(const std::string& utf8, std::string& sjis, char32_t* refused) {
  if (refused != nullptr) *refused = 0;
  std::u32string chars;
  if (!DecodeUtf8(utf8, chars)) return false;
  std::string mapped;
  for (char32_t c : chars) AppendUtf8(mapped, Cp932CodePoint(c));
  if (EncodeExactly(mapped, sjis)) return true;
  if (refused != nullptr) {
    // Character by character only on failure, to name the culprit.
    std::string one;
    std::string ignored;
    for (char32_t c : chars) {
      one.clear();
      AppendUtf8(one, Cp932CodePoint(c));
      if (!EncodeExactly(one, ignored)) {
        *refused = c;
        break;
      }
    }
  }
  sjis.clear();
  return false;
}

}  // namespace velomar
