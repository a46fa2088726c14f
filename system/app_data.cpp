#include "system/app_data.h"

#include <windows.h>

#include <vector>

#include "system/wide_path.h"

namespace velomar {

namespace {

// Far more than any settings file the program writes.
constexpr std::size_t kLargestSettings = 64 * 1024;

// Windows sets APPDATA for every user session; read from the environment, a
// test can give the program a folder of its own.
std::wstring AppDataFolder() {
  const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (size == 0) return std::wstring();
  std::vector<wchar_t> buffer(size + 1, L'\0');
  const DWORD got = GetEnvironmentVariableW(L"APPDATA", buffer.data(), size + 1);
  if (got == 0 || got > size) return std::wstring();
  return std::wstring(buffer.data(), got);
}

}  // namespace

std::wstring SettingsFilePath(const wchar_t* name) {
  std::wstring folder = AppDataFolder();
  if (folder.empty()) return std::wstring();
  if (folder.back() != L'\\') folder += L'\\';
  folder += L"Velomar";
  // Already there is the usual answer; any other failure shows at the write.
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L'\\' + name;
}

std::string ReadSettingsFile(const wchar_t* name) {
  const std::wstring path = SettingsFilePath(name);
  if (path.empty()) return std::string();
  const std::unique_ptr<ByteSource> file = OpenForReading(path, true);
  if (file == nullptr) return std::string();
  std::string bytes(kLargestSettings + 1, '\0');
  bytes.resize(file->Read(&bytes[0], bytes.size()));
  return bytes.size() > kLargestSettings ? std::string() : bytes;
}

bool WriteSettingsFile(const wchar_t* name, const std::string& bytes) {
  const std::wstring path = SettingsFilePath(name);
  return !path.empty() && WriteWholeFile(path, bytes);
}

}  // namespace velomar
