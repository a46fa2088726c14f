#include "lyrics/lyric_file.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <vector>

#include "lyrics/number_text.h"
#include "lyrics/whole_file.h"

namespace velomar {

std::string LyricFileName(const std::string& executablePath, const std::string& typedName) {
  return executablePath + typedName + ".tolvenkari";
}

std::string LyricLine(std::int32_t time, const std::string& phrase) {
  std::string line = NumberText(time);
  line.push_back(',');
  line.reserve(line.size() + phrase.size());
  for (char c : phrase) {
    if (c != '\r' && c != '\n') line.push_back(c);
  }
  return line;
}

namespace {

enum class Field { kNumber, kText };

// The field rules of one record. The rules look one byte ahead (after a CR,
// and after the blanks that end a number field), so a byte read too far is
// held here for the next field. Once the source has ended, it stays ended
// for the rest of the record, whatever the source does afterwards.
// A source that cannot hand over a run of bytes gives them one at a time.
inline void TakePlainRun(ByteSource&, std::string&) {}

template <typename Source>
class RecordReader {
 public:
  explicit RecordReader(Source& source) : source_(source) {}

  // Collects one field into `text`. Returns false when the source ended
  // before the field began: the field then keeps its old value.
  bool ReadField(Field kind, std::string& text) {
    text.clear();
    int b = Next();
    while (b == ' ' || b == '\t') b = Next();
    if (b < 0) return false;

    bool quoted = false;
    bool endedAtBlank = false;
    for (;;) {
      if (b < 0 || b == '\0' || b == '\n') break;
      if (b == '\r') {
        const int after = Next();
        // CR LF ends the field; so does a CR that is the file's last byte,
        // which is taken as a line end cut short and not kept.
        if (after == '\n' || after < 0) break;
        text.push_back('\r');
        b = after;
        continue;
      }
      // Commas, blanks and quotes only matter in the number field: a phrase
      // runs to the end of its line.
      if (kind == Field::kNumber) {
        if (b == '"') {
          quoted = !quoted;
        } else if (!quoted && b == ',') {
          break;
        } else if (!quoted && (b == ' ' || b == '\t')) {
          endedAtBlank = true;
          break;
        }
      }
      text.push_back(static_cast<char>(b));
      // The bytes of a phrase up to its line end go over in one piece.
      if (kind == Field::kText && held_ < 0) TakePlainRun(source_, text);
      b = Next();
    }

    if (endedAtBlank) {
      // "12 , abc": the blanks and one comma after them belong to the time.
      int c = Next();
      while (c == ' ' || c == '\t') c = Next();
      if (c >= 0 && c != ',') held_ = c;
    }
    return true;
  }

 private:
  int Next() {
    if (held_ >= 0) {
      const int b = held_;
      held_ = -1;
      return b;
    }
    if (ended_) return -1;
    const int b = source_.Next();
    if (b < 0) ended_ = true;
    return b;
  }

  Source& source_;
  int held_ = -1;
  bool ended_ = false;
};

// The first NUL, LF or CR in [from, to), or `to`: where a phrase may stop.
// Sixteen bytes a step where SSE2 is there; `to` must be followed by at
// least 15 readable bytes, which the step may look at but never reports.
const char* FindPhraseStop(const char* p, const char* to) {
#if defined(__SSE2__)
  const __m128i nul = _mm_setzero_si128();
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; p < to; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, nul),
                                      _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    const unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (marks != 0) return std::min(to, p + __builtin_ctz(marks));
  }
  return to;
#else
  while (p != to && *p != '\0' && *p != '\n' && *p != '\r') ++p;
  return p;
#endif
}

// A whole load's bytes, taken from the source in one piece where its size
// is known (in large pieces otherwise): the reader's one call a byte stays
// inside this file, where it can be inlined, and most records are taken
// straight from memory. Once the source has ended it stays ended.
class ChunkCursor {
 public:
  explicit ChunkCursor(ByteSource& source) : source_(source) {
    // One byte more than announced, so that a file that grew meanwhile
    // still fits; a huge file is read in pieces rather than all at once.
    capacity_ = std::clamp<std::size_t>(source.Remaining() + 1, kChunk, kMostAtOnce);
    // The phrase search may look a little past the bytes read.
    buffer_.reset(new char[capacity_ + kLookPast]);
  }
  int Next() {
    if (pos_ == size_ && !Fill()) return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
  }
  // Appends the buffered bytes up to the next NUL, LF or CR: the bytes that
  // a phrase takes as they are.
  void TakePlainRun(std::string& text) {
    const char* start = buffer_.get() + pos_;
    const char* p = FindPhraseStop(start, buffer_.get() + size_);
    text.append(start, p);
    pos_ += static_cast<std::size_t>(p - start);
  }
  // The usual record, "digits,phrase" and CR LF (or LF) wholly in the
  // buffer, with no blank before the phrase and no CR or NUL in it: the
  // field rules give exactly its digits and its phrase. Anything else is
  // left to those rules. Returns whether the record was taken.
  bool TakeUsualRecord(LyricTable& table, int index, std::string& field) {
    if (pos_ == size_) Fill();
    const char* start = buffer_.get() + pos_;
    const char* end = buffer_.get() + size_;
    const char* digits = start;
    std::uint32_t nine = 0;  // the value, while there are at most nine digits
    while (digits != end && *digits >= '0' && *digits <= '9') {
      nine = nine * 10 + static_cast<std::uint32_t>(*digits - '0');
      ++digits;
    }
    if (digits == start || digits == end || *digits != ',') return false;
    const char* phrase = digits + 1;
    const char* stop = FindPhraseStop(phrase, end);
    const char* next;
    if (stop != end && *stop == '\n') {
      next = stop + 1;
    } else if (stop != end && *stop == '\r' && stop + 1 != end && stop[1] == '\n') {
      next = stop + 2;
    } else {
      return false;
    }
    if (phrase != stop && (*phrase == ' ' || *phrase == '\t')) return false;
    if (digits - start <= 9) {
      table.time[index] = static_cast<std::int32_t>(nine);
    } else {
      field.assign(start, digits);
      table.time[index] = ParseTimeField(field);
    }
    table.phrase[index].assign(phrase, stop);
    pos_ = static_cast<std::size_t>(next - buffer_.get());
    return true;
  }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;
  static constexpr std::size_t kLookPast = 16;
  static constexpr std::size_t kMostAtOnce = 16 * 1024 * 1024;
  bool Fill() {
    if (ended_) return false;
    size_ = source_.Read(buffer_.get(), capacity_);
    std::memset(buffer_.get() + size_, 0, kLookPast);
    pos_ = 0;
    ended_ = size_ == 0;
    return !ended_;
  }

  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t pos_ = 0;
  std::size_t size_ = 0;
  bool ended_ = false;
};

void TakePlainRun(ChunkCursor& cursor, std::string& text) { cursor.TakePlainRun(text); }

// Reads one record through `field`, which a caller reading many records
// keeps, so that no record needs a new buffer for its fields.
template <typename Source>
void ReadRecordFrom(Source& source, LyricTable& table, int index, std::string& field) {
  if (!IsEntry(index)) return;
  RecordReader<Source> reader(source);
  if (!reader.ReadField(Field::kNumber, field)) return;
  table.time[index] = ParseTimeField(field);
  if (!reader.ReadField(Field::kText, field)) return;
  table.phrase[index].swap(field);
}

void ReadRecordFrom(ChunkCursor& cursor, LyricTable& table, int index, std::string& field) {
  if (!IsEntry(index)) return;
  if (cursor.TakeUsualRecord(table, index, field)) return;
  ReadRecordFrom<ChunkCursor>(cursor, table, index, field);
}

}  // namespace

void ReadRecord(ByteSource& source, LyricTable& table, int index) {
  std::string field;
  ReadRecordFrom(source, table, index, field);
}

namespace {

bool WriteLines(const LyricTable& table, int lines, ByteSink& sink, const SaveProgress& progress) {
  const int count = std::clamp<std::int32_t>(lines, 0, kLyricEntries);
  bool ok = true;
  for (int i = 0; i < count; ++i) {
    std::string line = LyricLine(table.time[i], table.phrase[i]);
    if (progress) progress(line);
    if (!ok) continue;  // the caller still sees every line's progress
    line += "\r\n";
    ok = sink.Write(line.data(), line.size());
  }
  return ok;
}

}  // namespace

bool WriteLyricLines(const LyricTable& table, ByteSink& sink, const SaveProgress& progress) {
  return WriteLines(table, table.AddedCount, sink, progress);
}

void ReadLyricRecords(ByteSource* source, LyricTable& table, const LoadProgress& progress) {
  std::unique_ptr<ChunkCursor> cursor;
  if (source != nullptr) cursor = std::make_unique<ChunkCursor>(*source);
  std::string field;
  for (int i = 0; i < kLyricEntries; ++i) {
    if (cursor != nullptr) ReadRecordFrom(*cursor, table, i, field);
    if (progress) progress(i);
  }
  table.Revision += 1;
}

bool SaveLyricFile(const LyricTable& table, const std::string& typedName,
                   const SaveProgress& progress, LyricFileSystem& files) {
  return SaveLyricLines(table, table.AddedCount, typedName, progress, files);
}

bool SaveLyricLines(const LyricTable& table, int count, const std::string& typedName,
                    const SaveProgress& progress, LyricFileSystem& files) {
  FileSystemPlace place(files, LyricFileName(files.ExecutablePath(), typedName));
  // A refused name still shows every line's progress, as a failed save does.
  return SaveWhole(TypedNameAllowed(typedName) ? &place : nullptr,
                   [&](ByteSink& sink) { return WriteLines(table, count, sink, progress); });
}

bool TypedNameAllowed(const std::string& typedName) {
  return typedName.find(':') == std::string::npos;
}

bool LoadLyricFile(LyricTable& table, const std::string& path, const LoadProgress& progress,
                   LyricFileSystem& files) {
  std::unique_ptr<ByteSource> source = files.OpenRead(path);
  ReadLyricRecords(source.get(), table, progress);
  return source != nullptr;
}

}  // namespace velomar
