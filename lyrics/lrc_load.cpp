// The program's loads: an LRC file read by the rules from-lrc reads it by,
// every character kept, and a lyric file read as ever, its phrases made
// Unicode at the file's boundary.
#include <algorithm>
#include <memory>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_text.h"
#include "lyrics/memory_stream.h"
#include "lyrics/unicode_text.h"

namespace velomar {

bool LrcToLyricFile(const std::string& lrc, LrcEncoding encoding, std::string& file,
                    std::size_t& count, Notes& notes) {
  std::vector<LyricRecord> records;
  if (!LrcToRecords(lrc, encoding, records, notes)) return false;
  count = records.size();
  file = LyricFileBytes(records);
  return true;
}

bool HasExtension(const std::string& path, const std::string& extension) {
  if (path.size() < extension.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (AsciiLower(path[path.size() - extension.size() + i]) != extension[i]) return false;
  }
  return true;
}

bool IsLrcPath(const std::string& path) { return HasExtension(path, ".lrc"); }

bool IsLyricPath(const std::string& path) {
  return IsLrcPath(path) || HasExtension(path, ".tolvenkari");
}

bool LoadLrc(ByteSource* source, LyricTable& table, const LoadProgress& progress, Notes& notes) {
  if (source == nullptr) {
    ReadLyricRecords(nullptr, table, progress);
    return true;
  }
  const std::string lrc = ReadRest(*source, kLrcPhraseBytes);
  std::vector<LyricRecord> records;
  // The whole file is converted before the first entry changes: a refused
  // file leaves nothing half-loaded.
  if (!LrcToRecords(lrc, LrcEncoding::kDetect, records, notes, LrcPhrases::kUnicode)) return false;
  LoadRecords(std::move(records), table, progress);
  return true;
}

std::vector<LyricRecord> LyricsToRecords(const LyricTable& lyrics, int count) {
  std::vector<LyricRecord> records;
  for (int i = 0; i < count && i < kLyricEntries; ++i) {
    records.push_back({lyrics.time[i], lyrics.phrase[i], lyrics.detail[i]});
  }
  return records;
}

void LoadRecords(std::vector<LyricRecord> records, LyricTable& table,
                 const LoadProgress& progress) {
  for (int i = 0; i < kLyricEntries; ++i) {
    if (static_cast<std::size_t>(i) < records.size()) {
      table.time[i] = records[i].time;
      table.phrase[i] = std::move(records[i].phrase);
      table.original[i].clear();
      table.detail[i] = std::move(records[i].detail);
    }
    if (progress) progress(i);
  }
  table.Revision += 1;
}

namespace {

bool ReadLyrics(ByteSource* source, bool lrc, LyricTable& fresh, const LoadProgress& progress,
                Notes& notes) {
  if (lrc) return LoadLrc(source, fresh, progress, notes);
  ReadLyricRecords(source, fresh, [&](int index) {
    TakeFromFile(fresh, index);
    if (progress) progress(index);
  });
  return true;
}

}  // namespace

bool LoadDocument(LyricDocument& doc, ByteSource* source, bool lrc, const TableProgress& progress,
                  Notes& notes) {
  // An unopened file would load as an empty table: the lyrics stay instead.
  if (source == nullptr) return false;
  return doc.Load([&](LyricTable& fresh) {
    const LoadProgress step = [&](int index) {
      if (progress) progress(fresh, index);
    };
    return ReadLyrics(source, lrc, fresh, step, notes);
  });
}

namespace {

// An LRC gives a line back at its exact time: a press stamped 4.25 s is held
// as tick 42 and 5 hundredths, and reads back as tick 43 less 5, the tick
// an LRC's time rounds to.
bool SameLrcLine(const LyricTable& back, const LyricTable& lyrics, int i) {
  const LineDetail& was = lyrics.detail[i];
  const LineDetail& is = back.detail[i];
  return LineHundredths(back.time[i], is) == LineHundredths(lyrics.time[i], was) &&
         back.phrase[i] == lyrics.phrase[i] && is.rows == was.rows && is.words == was.words;
}

}  // namespace

int FirstEntryNotReadBack(const LyricTable& lyrics, ByteSource* file, bool lrc) {
  if (file == nullptr) return 0;
  auto back = std::make_unique<LyricTable>();
  Notes notes;
  if (!ReadLyrics(file, lrc, *back, nullptr, notes)) return 0;
  // A lyric file holds each line as it shows, translations joined in, but
  // none of its word stamps.
  for (int i = 0; i < kLyricEntries; ++i) {
    if (lrc ? !SameLrcLine(*back, lyrics, i)
            : back->time[i] != lyrics.time[i] || back->phrase[i] != ShownPhrase(lyrics, i) ||
                  !lyrics.detail[i].words.empty()) {
      return i;
    }
  }
  return -1;
}

}  // namespace velomar
