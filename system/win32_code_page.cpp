// Code page 932 through the code page calls of Windows, for the Windows
// builds.
#include <windows.h>

#include "lyrics/code_page.h"

namespace velomar {

bool PlatformDecodeCp932(const std::string& sjis, std::string& utf8) {
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

bool PlatformEncodeCp932(const std::string& utf8, std::string& sjis) {
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

}  // namespace velomar
