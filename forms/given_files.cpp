#include "forms/given_files.h"

#include "lyrics/lrc_convert.h"
#include "playback/playback.h"
#include "system/late_dll.h"
#include "system/wide_path.h"
#include "ui/lyric_open.h"
#include "ui/lyric_store.h"
#include "ui/main_window.h"

namespace velomar {

namespace {

using DragQueryFile = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishCall = void(WINAPI*)(HDROP);

}  // namespace

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
