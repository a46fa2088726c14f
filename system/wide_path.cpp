#include "system/wide_path.h"

#include <vector>

namespace velomar {

namespace {

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, &narrow[0], bytes, nullptr, nullptr);
  return narrow;
}

std::wstring Widen(const std::string& narrow, UINT codePage) {
  if (narrow.empty()) return std::wstring();
  const int size = static_cast<int>(narrow.size());
  const int units = MultiByteToWideChar(codePage, 0, narrow.data(), size, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(codePage, 0, narrow.data(), size, &wide[0], units);
  return wide;
}

}  // namespace

std::string ShownPath(const std::wstring& path) { return Narrow(path, CP_ACP); }

std::wstring WidePath(const std::string& path) { return Widen(path, CP_ACP); }

std::wstring Utf8ToWide(const std::string& utf8) { return Widen(utf8, CP_UTF8); }

std::string WideToUtf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

namespace {

// A Windows path is at most 32767 UTF-16 units, each at most two bytes in
// the ANSI code page: a buffer of 1 << 16 holds any path in either form
// with its NUL, so a result that still fills one is no path.
constexpr std::size_t kLongestPath = 1u << 16;

// GetModuleFileNameA or W into a buffer grown until the path fits.
template <typename Char, typename Get>
std::basic_string<Char> ModulePath(Get get) {
  std::vector<Char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = get(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::basic_string<Char>();
    // A result that fills the buffer may have been cut short.
    if (n < buffer.size()) return std::basic_string<Char>(buffer.data(), n);
    if (buffer.size() >= kLongestPath) return std::basic_string<Char>();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string ExecutableAnsiPath() { return ModulePath<char>(GetModuleFileNameA); }

std::wstring ExecutableWidePath() { return ModulePath<wchar_t>(GetModuleFileNameW); }

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring NameWithoutExtension(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  return name.substr(0, name.find_last_of(L'.'));
}

}  // namespace velomar
