#include "forms/given_files.h"

#include "forms/main_window.h"
#include "lyrics/lrc_convert.h"
#include "lyrics/number_text.h"
#include "playback/playback.h"
#include "system/late_dll.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_open.h"

namespace velomar {

namespace {

using DragQueryFile = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishCall = void(WINAPI*)(HDROP);

// Named one a line; a long drop is cut short so that the box fits the screen.
constexpr std::size_t kNamesShown = 10;

void ShowLeftOut(const std::vector<std::wstring>& leftOut) {
  std::string text =
      "曲と歌詞ファイルは一つずつ開きます。\r\n"
      "次のファイルは開きませんでした：";
  for (std::size_t i = 0; i < leftOut.size() && i < kNamesShown; ++i) {
    text += "\r\n" + ShownPath(leftOut[i]);
  }
  if (leftOut.size() > kNamesShown) {
    text += "\r\nほか " + NumberText(static_cast<int>(leftOut.size() - kNamesShown)) + " 個";
  }
  // Not an error: captioned with the program's name, as a note.
  ShowMessageBox(MainWindow(), text.c_str(), WindowText(MainWindow()).c_str(),
                 MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void OpenGivenFiles(const std::vector<std::wstring>& files) {
  const std::wstring* song = nullptr;
  const std::wstring* lyrics = nullptr;
  std::vector<std::wstring> leftOut;
  for (const std::wstring& file : files) {
    const std::wstring*& taken = IsLyricPath(ShownPath(file)) ? lyrics : song;
    if (taken == nullptr) {
      taken = &file;
    } else {
      leftOut.push_back(file);
    }
  }
  // As the browse button: no other song while one plays.
  const bool songsOpen = IsWindowEnabled(GetDlgItem(MainWindow(), main_ids::kBrowseButton)) != 0;
  const bool opened = song != nullptr && songsOpen && OpenSongFile(*song);
  if (lyrics != nullptr) {
    LoadGivenLyricPath(MainWindow(), *lyrics);
  } else if (opened) {
    LoadLyricsBeside(MainWindow(), *song);
  }
  if (!leftOut.empty()) ShowLeftOut(leftOut);
}

void OnDropFiles(HDROP drop) {
  const auto query = LateCall<DragQueryFile>("shell32.dll", "DragQueryFileW");
  const auto finish = LateCall<DragFinishCall>("shell32.dll", "DragFinish");
  std::vector<std::wstring> files;
  // A form that disables the main window owns the user's attention.
  if (query != nullptr && IsWindowEnabled(MainWindow())) {
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
