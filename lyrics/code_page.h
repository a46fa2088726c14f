// Code page 932 (Shift-JIS as Windows has it) to UTF-8 and back, the one
// conversion the platform supplies: glibc's iconv natively, the code page
// calls of Windows in the Windows builds (system/win32_code_page.cpp). Both
// tables are Microsoft's; sjis_convert.cpp checks around them so that both
// builds accept and refuse the same texts.
#pragma once

#include <string>

namespace velomar {

// False when the platform refuses a byte or character; what it returns for
// a character without counterpart is checked by the caller.
bool PlatformDecodeCp932(const std::string& sjis, std::string& utf8);
bool PlatformEncodeCp932(const std::string& utf8, std::string& sjis);

}  // namespace velomar
