// The program's LRC load: the lyric file from-lrc would write, loaded as a
// lyric file loads, so that the player and the tool never disagree.
#include <algorithm>
#include <memory>

#include "lyrics/lrc_convert.h"
#include "lyrics/memory_stream.h"

namespace velomar {

bool LrcToLyricFile(const std::string& lrc, LrcEncoding encoding, std::string& file,
                    std::size_t& count, Notes& notes) {
  std::vector<LyricRecord> records;
  if (!LrcToRecords(lrc, encoding, records, notes)) return false;
  count = records.size();
  file = LyricFileBytes(records);
  return true;
}

// Only ASCII letters fold: a Shift-JIS trail byte is never taken for one.
bool HasExtension(const std::string& path, const std::string& extension) {
  if (path.size() < extension.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    char c = path[path.size() - extension.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != extension[i]) return false;
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
  std::string file;
  std::size_t count = 0;
  // The whole file is converted before the first entry changes: a refused
  // file leaves nothing half-loaded.
  if (!LrcToLyricFile(lrc, LrcEncoding::kDetect, file, count, notes)) return false;
  MemorySource bytes(file);
  ReadLyricRecords(&bytes, table, progress);
  return true;
}

bool LoadDocument(LyricDocument& doc, ByteSource* source, bool lrc, const TableProgress& progress,
                  Notes& notes) {
  // An unopened file would load as an empty table: the lyrics stay instead.
  if (source == nullptr) return false;
  return doc.Load([&](LyricTable& fresh) {
    const LoadProgress step = [&](int index) {
      if (progress) progress(fresh, index);
    };
    if (lrc) return LoadLrc(source, fresh, step, notes);
    ReadLyricRecords(source, fresh, step);
    return true;
  });
}

int FirstEntryNotReadBack(const LyricTable& lyrics, ByteSource* file, bool lrc) {
  if (file == nullptr) return 0;
  auto back = std::make_unique<LyricTable>();
  Notes notes;
  if (lrc) {
    if (!LoadLrc(file, *back, nullptr, notes)) return 0;
  } else {
    ReadLyricRecords(file, *back, nullptr);
  }
  for (int i = 0; i < kLyricEntries; ++i) {
    if (back->time[i] != lyrics.time[i] || back->phrase[i] != lyrics.phrase[i]) return i;
  }
  return -1;
}

}  // namespace velomar
