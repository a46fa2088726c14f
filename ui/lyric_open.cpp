#include "ui/lyric_open.h"

#include <memory>

#include "lyrics/lrc_convert.h"
#include "system/wide_path.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar {

namespace {

// The reasons are the tool's own words: they name the line and the
// character or byte, which is what the user has to find in the file.
std::string RefusalText(const std::wstring& path, const Notes& notes) {
  std::string text = "LRCファイルを読み込めませんでした\r\n" + ShownPath(path);
  for (const Note& note : notes) {
    if (note.error) text += "\r\n" + note.text;
  }
  return text;
}

}  // namespace

bool LoadLyricPath(HWND owner, const std::wstring& path, const TableProgress& progress) {
  std::unique_ptr<ByteSource> source = OpenForReading(path);
  const bool lrc = IsLrcPath(ShownPath(path));
  Notes notes;
  if (LoadDocument(Lyrics, source.get(), lrc, progress, notes)) return true;
  if (!lrc) {
    // A lyric file that cannot be opened loads nothing, as ever, and the
    // count still runs down over the lyrics as they stay.
    for (int i = 0; i < kLyricEntries && progress; ++i) progress(Lyrics.Table(), i);
    return true;
  }
  source.reset();  // not held while the box waits
  ShowMessageBox(owner, RefusalText(path, notes).c_str(), "Error", MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace velomar
