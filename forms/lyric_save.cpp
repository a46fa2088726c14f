#include "forms/lyric_save.h"

#include <memory>
#include <vector>

#include "forms/forms.h"
#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_edit.h"
#include "lyrics/lyric_file.h"
#include "lyrics/lyric_text.h"
#include "lyrics/number_text.h"
#include "lyrics/subtitle_write.h"
#include "playback/playback.h"
#include "system/platform_files.h"
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

// A box, not a beep: the user has to know that the file does not hold
// every line before closing the program on it.
void WarningBox(HWND owner, const std::string& text) {
  ShowMessageBox(owner, text.c_str(), "歌詞の保存", MB_OK | MB_ICONWARNING);
}

// The file as written is read back as the program would load it: only a
// file that gives back every entry marks the lyrics saved, any other leaves
// them unsaved. Returns the first entry it does not give back, -1 when none.
int MarkSavedIfReadBack(LyricDocument::StateId state, std::unique_ptr<ByteSource> file, bool lrc) {
  const int first = FirstEntryNotReadBack(Lyrics.Table(), file.get(), lrc);
  if (first < 0) {
    Lyrics.MarkSaved(state);
  } else {
    Lyrics.MarkUnsaved();  // it may have been written over the file they came from
  }
  return first;
}

// The lyric file holds fewer lines than the lyrics, or lines that do not
// come back as they are (a line break, blanks at the start, word stamps).
void NotAllKeptBox(HWND owner, int written, int lines, int first) {
  std::string text = "歌詞ファイルに " + NumberText(written) + " 行を保存しました。\r\n";
  if (written < lines) {
    text += "歌詞は " + NumberText(lines) + " 行あり、残りの行は保存されていません。";
  } else {
    text += NumberText(first) + " 番の行は、このファイルから同じには読み込めません。";
    if (!Lyrics.Table().detail[first].words.empty()) {
      text += "\r\n歌詞ファイルには単語の時間を保存できません。「LRC で保存」なら保存できます。";
    }
  }
  WarningBox(owner, text + "\r\n歌詞は保存されていない状態のままです。");
}

// A lyric file holds Shift-JIS: a line with a character it lacks would be
// written with "?", which the user never typed. Nothing is written.
void NotShiftJisBox(HWND owner, int line, const std::string& phrase) {
  const std::wstring text = WidePath(
                                "歌詞ファイルは Shift-JIS "
                                "のため、次の行の文字を保存できません。保存しませんでした。\r\n" +
                                NumberText(line) + " 番の行：") +
                            Utf8ToWide(phrase) +
                            WidePath("\r\n「LRC で保存」なら、すべての文字を保存できます。");
  ShowWideMessageBox(owner, text, "歌詞の保存", MB_OK | MB_ICONWARNING);
}

// The notes of a written file, one line each, so that the user sees which
// lines it will not give back and why.
void NotesBox(HWND owner, std::string text, const Notes& notes) {
  constexpr std::size_t kShown = 10;
  std::size_t shown = 0;
  for (const Note& note : notes) {
    if (shown++ < kShown) text += (shown == 1 ? "\r\n\r\n" : "\r\n") + note.text;
  }
  if (shown > kShown)
    text += "\r\nほか " + NumberText(static_cast<std::int64_t>(shown - kShown)) + " 件";
  WarningBox(owner, text);
}

void LrcWarningBox(HWND owner, const Notes& notes, int first) {
  std::string text = "LRC ファイルを保存しました。";
  if (first >= 0) {
    text += "\r\nただし、読み込み直すと " + NumberText(first) +
            " 番の行から同じには戻りません。歌詞は保存されていない状態のままです。";
  }
  NotesBox(owner, text, notes);
}

// The save dialog is the confirmation: it starts beside the open song with
// the song's name, where players look for its lyrics, else beside the lyric
// file last chosen with its name, else beside the program with the typed
// name; it asks itself before replacing a file.
bool AskPath(HWND owner, const char* filter, const char* title, const wchar_t* extension,
             const std::wstring& typedName, std::wstring& path, DWORD* chosen = nullptr) {
  const std::wstring& song = Playback.SongWidePath;
  const std::wstring& from = song.empty() ? LyricFilePath.wide : song;
  const std::wstring folder = FolderOf(from.empty() ? ExecutableWidePath() : from);
  const std::wstring name = from.empty() ? typedName : NameWithoutExtension(from);
  return AskSaveFileName(owner, filter, title, extension, folder, name, path, chosen);
}

// A colon in the name would write into a hidden stream of another file.
bool WriteChosenFile(const std::wstring& chosen, const std::string& bytes) {
  const bool streamName = chosen.find(L':', FolderOf(chosen).size()) != std::wstring::npos;
  return !streamName && WriteWholeFile(chosen, bytes);
}

// The name's own extension says which, else the filter chosen.
bool NamesAss(const std::wstring& path, DWORD filter) {
  const std::size_t dot = path.find_last_of(L'.');
  const std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot);
  if (lstrcmpiW(extension.c_str(), L".ass") == 0) return true;
  return lstrcmpiW(extension.c_str(), L".srt") != 0 && filter == 2;
}

}  // namespace

bool AskAndSaveLyrics(HWND owner, const std::string& typedName, SavedLines lines, int progressId) {
  if (!AskToSave(owner)) return false;
  // Counted now: adds made while the box was up are written too.
  const LyricTable& table = Lyrics.Table();
  const int count = lines == SavedLines::Added ? table.AddedCount : LyricLineCount(table);
  const LyricDocument::StateId state = Lyrics.State();
  auto file = std::make_unique<LyricTable>();
  const int refused = ToFileTable(table, count, *file);
  if (refused >= 0) {
    NotShiftJisBox(owner, refused, table.phrase[refused]);
    return false;
  }
  ProgressPace pace;
  std::string unshown;
  auto show = [&](const std::string& line) {
    if (progressId != 0) SetControlText(owner, progressId, line);
  };
  const SaveProgress step = [&](const std::string& line) {
    if (pace.Due()) {
      show(line);
    } else {
      unshown = line;
    }
  };
  const bool saved = SaveLyricLines(*file, count, typedName, step, PlatformFileSystem());
  if (pace.Late()) show(unshown);
  const std::string path = LyricFileName(PlatformFileSystem().ExecutablePath(), typedName);
  // A silent failure would let the user believe the work is kept.
  if (!saved) {
    FailureBox(owner, "歌詞ファイルを保存できませんでした\r\n" + path);
    return false;
  }
  const int first = MarkSavedIfReadBack(state, PlatformFileSystem().OpenRead(path), false);
  if (first >= 0) NotAllKeptBox(owner, count, LyricLineCount(table), first);
  return true;
}

bool AskAndSaveLrc(HWND owner, const std::wstring& typedName) {
  std::wstring chosen;
  static const char kFilter[] = "LRC ファイル (*.lrc)\0*.lrc\0";
  if (!AskPath(owner, kFilter, "LRC で保存", L"lrc", typedName, chosen)) return false;
  // Counted once the dialog has returned, as they are written.
  const LyricTable& table = Lyrics.Table();
  const int count = LyricLineCount(table);
  const LyricDocument::StateId state = Lyrics.State();
  const std::vector<LyricRecord> records = LyricsToRecords(table, count);
  std::string lrc;
  Notes notes;
  const std::string path = ShownPath(chosen);
  std::string failure = "LRC ファイルを保存できませんでした\r\n" + path;
  if (!RecordsToLrc(records, lrc, notes, LrcPhrases::kUnicode)) {
    for (const Note& note : notes) {
      if (note.error) failure += "\r\n" + note.text;
    }
    FailureBox(owner, failure);
    return false;
  }
  if (!WriteChosenFile(chosen, lrc)) {
    FailureBox(owner, failure);
    return false;
  }
  const int first = MarkSavedIfReadBack(state, OpenForReading(chosen), true);
  if (first >= 0 || !notes.empty()) LrcWarningBox(owner, notes, first);
  return true;
}

bool AskAndExportSubtitles(HWND owner, const std::wstring& typedName) {
  static const char kFilter[] = "SRT 字幕 (*.srt)\0*.srt\0ASS 字幕 (*.ass)\0*.ass\0";
  std::wstring chosen;
  DWORD filter = 1;
  if (!AskPath(owner, kFilter, "書き出し", L"srt", typedName, chosen, &filter)) return false;
  const LyricTable& table = Lyrics.Table();
  Notes notes;
  const std::vector<SubtitleCue> cues = SubtitleCues(table, notes);
  const std::string bytes =
      NamesAss(chosen, filter) ? AssBytes(table, cues) : SrtBytes(table, cues);
  if (!WriteChosenFile(chosen, bytes)) {
    FailureBox(owner, "字幕ファイルを書き出せませんでした\r\n" + ShownPath(chosen));
    return false;
  }
  if (!notes.empty()) NotesBox(owner, "字幕ファイルを書き出しました。", notes);
  return true;
}

}  // namespace velomar
