#include "ui/lyric_open.h"

#include <memory>
#include <utility>
#include <vector>

#include "lyrics/id3_lyrics.h"
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

bool LoadFrom(HWND owner, const std::wstring& path, std::unique_ptr<ByteSource> source,
              const TableProgress& progress) {
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

}  // namespace

bool LoadLyricPath(HWND owner, const std::wstring& path, const TableProgress& progress) {
  return LoadFrom(owner, path, OpenForReading(path), progress);
}

bool LoadGivenLyricPath(HWND owner, const std::wstring& path) {
  if (!MayReplaceUnsavedAdds(owner)) return false;
  std::unique_ptr<ByteSource> source = OpenForReading(path);
  if (source == nullptr) {
    const std::string text = "歌詞ファイルを開けませんでした\r\n" + ShownPath(path);
    ShowMessageBox(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR);
    return false;
  }
  return LoadFrom(owner, path, std::move(source), nullptr);
}

// The timed lyrics of an mp3's own ID3v2 tag, loaded as a lyric file loads.
// A song without them, or with a tag that is cut short or malformed, loads
// nothing and says nothing: the song itself is open and plays.
void LoadLyricsInTag(HWND owner, const std::wstring& song) {
  std::vector<LyricRecord> records;
  Notes notes;
  {
    std::unique_ptr<ByteSource> source = OpenForReading(song, true);
    if (source == nullptr || !Mp3LyricsToRecords(*source, records, notes, LrcPhrases::kUnicode)) {
      return;
    }
  }
  if (!MayReplaceUnsavedAdds(owner)) return;
  Lyrics.Load([&](LyricTable& fresh) {
    LoadRecords(std::move(records), fresh, nullptr);
    return true;
  });
}

void LoadLyricsBeside(HWND owner, const std::wstring& song) {
  const std::wstring stem = FolderOf(song) + NameWithoutExtension(song);
  for (const wchar_t* extension : {L".lrc", L".tolvenkari"}) {
    // Windows finds a name in any case.
    if (IsFile(stem + extension)) {
      LoadGivenLyricPath(owner, stem + extension);
      return;
    }
  }
  if (HasExtension(ShownPath(song), ".mp3")) LoadLyricsInTag(owner, song);
}

}  // namespace velomar
