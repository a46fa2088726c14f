#include "lyrics/lyric_file.h"

#include <algorithm>

#include "lyrics/number_text.h"

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
class RecordReader {
 public:
  explicit RecordReader(ByteSource& source) : source_(source) {}

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

  ByteSource& source_;
  int held_ = -1;
  bool ended_ = false;
};

// Stands in for a file that could not be created.
class RefusingSink : public ByteSink {
 public:
  bool Write(const char*, std::size_t) override { return false; }
  bool Close() override { return false; }
};

}  // namespace

void ReadRecord(ByteSource& source, LyricTable& table, int index) {
  if (index < 0 || index >= kLyricEntries) return;
  RecordReader reader(source);
  std::string field;
  if (!reader.ReadField(Field::kNumber, field)) return;
  table.time[index] = ParseTimeField(field);
  if (!reader.ReadField(Field::kText, field)) return;
  table.phrase[index].swap(field);
}

bool WriteLyricLines(const LyricTable& table, ByteSink& sink, const SaveProgress& progress) {
  const int count = std::clamp<std::int32_t>(table.AddedCount, 0, kLyricEntries);
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

void ReadLyricRecords(ByteSource* source, LyricTable& table, const LoadProgress& progress) {
  for (int i = 0; i < kLyricEntries; ++i) {
    if (source != nullptr) ReadRecord(*source, table, i);
    if (progress) progress(i);
  }
}

bool SaveLyricFile(const LyricTable& table, const std::string& typedName,
                   const SaveProgress& progress, LyricFileSystem& files) {
  const std::string target = LyricFileName(files.ExecutablePath(), typedName);
  // The lines go to a file beside the target first, so that a failed save
  // never destroys what the target held.
  const std::string temp = target + ".saving";
  // A colon would make NTFS write into a hidden stream of a file named by
  // the part before it: such a name is refused before any file is made.
  const bool colon = typedName.find(':') != std::string::npos;
  std::unique_ptr<ByteSink> sink = colon ? nullptr : files.Create(temp);
  if (sink == nullptr) {
    RefusingSink nowhere;
    WriteLyricLines(table, nowhere, progress);
    return false;
  }
  bool ok = WriteLyricLines(table, *sink, progress);
  ok = sink->Close() && ok;
  sink.reset();
  if (ok) ok = files.Replace(temp, target);
  if (!ok) files.Remove(temp);
  return ok;
}

void LoadLyricFile(LyricTable& table, const std::string& path, const LoadProgress& progress,
                   LyricFileSystem& files) {
  std::unique_ptr<ByteSource> source = files.OpenRead(path);
  // The file's records replace the adds; one that cannot be read leaves them.
  if (source != nullptr) table.AddsUnsaved = false;
  ReadLyricRecords(source.get(), table, progress);
  table.Revision += 1;
}

}  // namespace velomar
