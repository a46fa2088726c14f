// The program's settings files: %APPDATA%\Velomar\<name>, one per feature.
#pragma once

#include <string>

namespace velomar {

// The file's path, its folder made when missing; "" when the system names
// no application data folder.
std::wstring SettingsFilePath(const wchar_t* name);

// The file's bytes; "" when it is missing, unreadable or too large to be
// one of the program's settings (a broken file reads as none).
std::string ReadSettingsFile(const wchar_t* name);

// Writes the whole file at once, as a lyric file is saved; false when it
// could not.
bool WriteSettingsFile(const wchar_t* name, const std::string& bytes);

}  // namespace velomar
