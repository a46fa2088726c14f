#include "app/given_files.h"

#include "app/late_dll.h"
#include "app/lyric_open.h"
#include "app/lyric_store.h"
#include "app/main_window.h"
#include "app/wide_path.h"
#include "lyrics/lrc_convert.h"
#include "playback/playback.h"

namespace velomar {

namespace {

using CommandLineToArgv = LPWSTR*(WINAPI*)(LPCWSTR, int*);
using DragQueryFile = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishCall = void(WINAPI*)(HDROP);

// Where the program's own name ends, by the rule Windows splits argument 0
// with: quoted up to the next quote, else up to the first blank.
const wchar_t* AfterProgramName(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  return line;
}

bool OnlyBlanks(const wchar_t* text) {
  for (; *text != L'\0'; ++text) {
    if (*text != L' ' && *text != L'\t') return false;
  }
  return true;
}

}  // namespace

std::vector<std::wstring> CommandLineFiles() {
  const wchar_t* line = GetCommandLineW();
  std::vector<std::wstring> files;
  if (OnlyBlanks(AfterProgramName(line))) return files;
  const auto split = LateCall<CommandLineToArgv>("shell32.dll", "CommandLineToArgvW");
  int count = 0;
  LPWSTR* arguments = split != nullptr ? split(line, &count) : nullptr;
  if (arguments == nullptr) return files;
  for (int i = 1; i < count; ++i) files.emplace_back(arguments[i]);
  LocalFree(arguments);
  return files;
}

void OpenGivenFiles(const std::vector<std::wstring>& files) {
  // As the browse button: no other song while one plays.
  const bool songsOpen = IsWindowEnabled(GetDlgItem(MainWindow, kBrowseButton)) != 0;
  for (const std::wstring& file : files) {
    if (songsOpen && !IsLyricPath(ShownPath(file))) OpenSongFile(file);
  }
  for (const std::wstring& file : files) {
    // A drop while phrases are being timed asks first, as the lyric list does.
    if (!IsLyricPath(ShownPath(file)) || !MayReplaceUnsavedAdds(MainWindow)) continue;
    LoadLyricPath(MainWindow, file, nullptr);
  }
}

void OnDropFiles(HDROP drop) {
  const auto query = LateCall<DragQueryFile>("shell32.dll", "DragQueryFileW");
  const auto finish = LateCall<DragFinishCall>("shell32.dll", "DragFinish");
  std::vector<std::wstring> files;
  // A form that disables the main window owns the user's attention.
  if (query != nullptr && IsWindowEnabled(MainWindow)) {
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      std::wstring name(query(drop, i, nullptr, 0) + 1, L'\0');
      name.resize(query(drop, i, &name[0], static_cast<UINT>(name.size())));
      files.push_back(name);
    }
  }
  if (finish != nullptr) finish(drop);
  OpenGivenFiles(files);
}

}  // namespace velomar
