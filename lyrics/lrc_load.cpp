// The program's LRC load: the lyric file from-lrc would write, loaded as a
// lyric file loads, so that the player and the tool never disagree.
#include <cctype>
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

bool IsLrcPath(const std::string& path) {
  static const char kExtension[] = ".lrc";
  constexpr std::size_t kLength = sizeof kExtension - 1;
  if (path.size() < kLength) return false;
  for (std::size_t i = 0; i < kLength; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[path.size() - kLength + i]);
    if (std::tolower(c) != kExtension[i]) return false;
  }
  return true;
}

bool LoadLrc(ByteSource* source, LyricTable& table, const LoadProgress& progress, Notes& notes) {
  if (source == nullptr) {
    ReadLyricRecords(nullptr, table, progress);
    return true;
  }
  std::string lrc;
  for (int b = source->Next(); b >= 0; b = source->Next()) lrc += static_cast<char>(b);
  std::string file;
  std::size_t count = 0;
  // The whole file is converted before the first entry changes: a refused
  // file leaves nothing half-loaded.
  if (!LrcToLyricFile(lrc, LrcEncoding::kDetect, file, count, notes)) return false;
  MemorySource bytes(file);
  ReadLyricRecords(&bytes, table, progress);
  return true;
}

}  // namespace velomar
