#include "tools/sjis_convert.h"

#include <cstddef>

#include "tools/unicode_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace velomar {

namespace {

#ifdef _WIN32

bool PlatformDecode(const std::string& sjis, std::string& utf8) {
  utf8.clear();
  if (sjis.empty()) return true;
  const int size = static_cast<int>(sjis.size());
  const int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), size, &text[0], wide) != wide) {
    return false;
  }
  const int bytes = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), wide, nullptr,
                                        0, nullptr, nullptr);
  if (bytes <= 0) return false;
  utf8.assign(static_cast<std::size_t>(bytes), '\0');
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), wide, &utf8[0], bytes,
                             nullptr, nullptr) == bytes;
}

bool PlatformEncode(const std::string& utf8, std::string& sjis) {
  sjis.clear();
  if (utf8.empty()) return true;
  const int size = static_cast<int>(utf8.size());
  const int wide =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, &text[0], wide) !=
      wide) {
    return false;
  }
  // Without WC_NO_BEST_FIT_CHARS Windows would store look-alikes; the
  // default character it falls back to must count as a failure, not a '?'.
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), wide, nullptr, 0,
                                        nullptr, &usedDefault);
  if (bytes <= 0 || usedDefault) return false;
  sjis.assign(static_cast<std::size_t>(bytes), '\0');
  return WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), wide, &sjis[0], bytes, nullptr,
                             &usedDefault) == bytes &&
         !usedDefault;
}

#else

bool Iconv(const char* to, const char* from, const std::string& in, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[4096];
  bool ok = true;
  // Both encodings are stateless: nothing is left to flush at the end.
  while (ok && inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (r == static_cast<std::size_t>(-1)) {
      // E2BIG only means the buffer is full; EILSEQ and EINVAL mean a
      // character without a counterpart.
      ok = errno == E2BIG;
    } else if (r != 0) {
      ok = false;  // characters converted irreversibly
    }
  }
  iconv_close(cd);
  return ok;
}

bool PlatformDecode(const std::string& sjis, std::string& utf8) {
  return Iconv("UTF-8", "CP932", sjis, utf8);
}

bool PlatformEncode(const std::string& utf8, std::string& sjis) {
  return Iconv("CP932", "UTF-8", utf8, sjis);
}

#endif

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
    case 0x301C:
      return 0xFF5E;
    case 0x2212:
      return 0xFF0D;
    case 0x00A2:
      return 0xFFE0;
    case 0x00A3:
      return 0xFFE1;
    case 0x00AC:
      return 0xFFE2;
    case 0x2016:
      return 0x2225;
    case 0x2014:
      return 0x2015;
    default:
      return c;
  }
}

// Encodes text already in code page 932's code points, and reads the result
// back: whatever does not return as it went in was replaced or dropped
// (iconv drops U+E0000-U+E007F and turns U+00A5 into 0x5C), so it counts as
// unstorable.
bool EncodeExactly(const std::string& utf8, std::string& sjis) {
  std::string back;
  return PlatformEncode(utf8, sjis) && WellFormedSjis(sjis) && PlatformDecode(sjis, back) &&
         back == utf8;
}

}  // namespace

int SjisCharLength(unsigned char lead) {
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

bool SjisToUtf8(const std::string& sjis, std::string& utf8) {
  return WellFormedSjis(sjis) && PlatformDecode(sjis, utf8) && IsUtf8(utf8);
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
