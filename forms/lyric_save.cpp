#include "forms/lyric_save.h"

#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_file.h"
#include "playback/playback.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar {

namespace {

bool AskToSave(HWND owner) {
  return ShowMessageBox(owner,
                        "歌詞ファイルを保存します。\r\n"
                        "保存中は、歌詞の入力が出来ませんが、よろしいですか?\r\n\r\n"
                        "(同じファイル名があれば、上書きされます)",
                        "新規歌詞保存の確認", MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void FailureBox(HWND owner, const std::string& text) {
  ShowMessageBox(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

// A file that holds every line is the lyrics as they stand when it was
// written; one with fewer lines keeps the rest unsaved.
void MarkSavedIfWhole(LyricDocument::StateId state, int count) {
  if (count >= LyricLineCount(Lyrics.Table())) Lyrics.MarkSaved(state);
}

// The save dialog is the confirmation: it starts beside the open song with
// the song's name, where players look for its lyrics (else beside the
// program with the typed name), and asks itself before replacing a file.
bool AskLrcPath(HWND owner, const std::string& typedName, std::wstring& path) {
  static const char kFilter[] = "LRC ファイル (*.lrc)\0*.lrc\0";
  const std::wstring& song = Playback.SongWidePath;
  const std::wstring folder = FolderOf(song.empty() ? ExecutableWidePath() : song);
  const std::wstring name =
      song.empty() ? WidePath(typedName) : NameWithoutExtension(song) + L".lrc";
  return AskSaveFileName(owner, kFilter, "LRC で保存", L"lrc", folder, name, path);
}

}  // namespace

bool AskAndSaveLyrics(HWND owner, const std::string& typedName, SavedLines lines, int progressId) {
  if (!AskToSave(owner)) return false;
  // Counted now: adds made while the box was up are written too.
  const LyricTable& table = Lyrics.Table();
  const int count = lines == SavedLines::Added ? table.AddedCount : LyricLineCount(table);
  const LyricDocument::StateId state = Lyrics.State();
  ProgressPace pace;
  std::string unshown;
  auto show = [&](const std::string& line) {
    if (progressId != 0) SetControlText(owner, progressId, line);
  };
  const bool saved = SaveLyricLines(table, count, typedName, [&](const std::string& line) {
    if (pace.Due()) {
      show(line);
    } else {
      unshown = line;
    }
  });
  if (pace.Late()) show(unshown);
  if (saved) MarkSavedIfWhole(state, count);
  // A silent failure would let the user believe the work is kept.
  if (!saved) {
    const std::string path = LyricFileName(PlatformFileSystem().ExecutablePath(), typedName);
    FailureBox(owner, "歌詞ファイルを保存できませんでした\r\n" + path);
  }
  return saved;
}

bool AskAndSaveLrc(HWND owner, const std::string& typedName) {
  std::wstring chosen;
  if (!AskLrcPath(owner, typedName, chosen)) return false;
  // Counted once the dialog has returned, as they are written.
  const LyricTable& table = Lyrics.Table();
  const int count = LyricLineCount(table);
  const LyricDocument::StateId state = Lyrics.State();
  std::vector<LyricRecord> records;
  for (int i = 0; i < count; ++i) records.push_back({table.time[i], table.phrase[i]});
  std::string lrc;
  Notes notes;
  const std::string path = ShownPath(chosen);
  std::string failure = "LRC ファイルを保存できませんでした\r\n" + path;
  if (!RecordsToLrc(records, lrc, notes)) {
    for (const Note& note : notes) {
      if (note.error) failure += "\r\n" + note.text;
    }
    FailureBox(owner, failure);
    return false;
  }
  // A colon in the name would write into a hidden stream of another file.
  const bool streamName = chosen.find(L':', FolderOf(chosen).size()) != std::wstring::npos;
  if (streamName || !WriteWholeFile(chosen, lrc)) {
    FailureBox(owner, failure);
    return false;
  }
  MarkSavedIfWhole(state, count);
  return true;
}

}  // namespace velomar
