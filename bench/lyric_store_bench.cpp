// Times the lyric store against plain file I/O of the same bytes: loading a
// 3001-record file of Japanese phrases into the table, and saving it; and
// the program's LRC load of a hostile file, 3001 stamps on one line sharing
// a long phrase, against a plain read of it, in time and in peak heap.
// Prints rows "name<TAB>measured ms<TAB>baseline ms<TAB>ratio" (the heap
// rows give KB instead of ms).
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_file.h"
#include "lyrics/lyric_text.h"
#include "lyrics/memory_stream.h"
#include "system/platform_files.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// Heap bytes in use, and the most in use since the last reset: each block
// carries its size in front.
std::size_t heapInUse = 0;
std::size_t heapPeak = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t size) {
  char* block = static_cast<char*>(std::malloc(size + kHeader));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  heapInUse += size;
  heapPeak = std::max(heapPeak, heapInUse);
  return block + kHeader;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  char* block = static_cast<char*>(p) - kHeader;
  heapInUse -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using velomar::LyricFileSystem;
using velomar::LyricTable;

// A small deterministic generator, so every run measures the same file.
class Lcg {
 public:
  std::uint32_t Next(std::uint32_t bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33) % bound;
  }

 private:
  std::uint64_t state_ = 20240601;
};

void PushChar(std::string& s, int lead, int trail) {
  s.push_back(static_cast<char>(lead));
  s.push_back(static_cast<char>(trail));
}

// A phrase of 8 to 24 double-byte characters, mostly hiragana with kanji,
// some katakana and the odd ideographic space or comma, as sung lines are.
std::string Phrase(Lcg& rng) {
  std::string s;
  const int length = 8 + static_cast<int>(rng.Next(17));
  for (int i = 0; i < length; ++i) {
    const std::uint32_t kind = rng.Next(100);
    if (kind < 55) {  // hiragana ぁ..ん: 0x829F..0x82F1
      PushChar(s, 0x82, 0x9F + static_cast<int>(rng.Next(0x53)));
    } else if (kind < 85) {  // level-1 kanji rows 0x889F..0x97FC (trail 0x40..0x7E, 0x80..0xFC)
      int trail = 0x40 + static_cast<int>(rng.Next(0xBC));
      if (trail >= 0x7F) ++trail;
      PushChar(s, 0x89 + static_cast<int>(rng.Next(0x0F)), trail);
    } else if (kind < 95) {  // katakana ァ..ヶ: 0x8340..0x8396, skipping 0x7F
      int trail = 0x40 + static_cast<int>(rng.Next(0x56));
      if (trail >= 0x7F) ++trail;
      PushChar(s, 0x83, trail);
    } else {  // full-width space, 、 or 。
      PushChar(s, 0x81, 0x40 + static_cast<int>(rng.Next(3)));
    }
  }
  return s;
}

// The platform's files with the executable placed in the scratch folder.
class ScratchFiles : public LyricFileSystem {
 public:
  explicit ScratchFiles(std::string exe) : exe_(std::move(exe)) {}
  std::unique_ptr<velomar::ByteSource> OpenRead(const std::string& p) override {
    return real_.OpenRead(p);
  }
  std::unique_ptr<velomar::ByteSink> Create(const std::string& p) override {
    return real_.Create(p);
  }
  bool Replace(const std::string& f, const std::string& t) override { return real_.Replace(f, t); }
  void Remove(const std::string& p) override { real_.Remove(p); }
  std::string ExecutablePath() override { return exe_; }

 private:
  LyricFileSystem& real_ = velomar::PlatformFileSystem();
  std::string exe_;
};

double Millis(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

bool PlainWrite(const std::string& path, const std::string& bytes, bool sync) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
#ifndef _WIN32
  if (sync) ok = fsync(fileno(f)) == 0 && ok;
#else
  (void)sync;
#endif
  return std::fclose(f) == 0 && ok;
}

std::string PlainRead(const std::string& path, std::size_t size) {
  std::string bytes(size, '\0');
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::string();
  bytes.resize(std::fread(&bytes[0], 1, size, f));
  std::fclose(f);
  return bytes;
}

void Row(const char* name, double measured, double baseline) {
  std::printf("%s\t%.3f\t%.3f\t%.2f\n", name, measured, baseline, measured / baseline);
}

// The heap a run takes at its peak beyond what was in use before, in KB.
double PeakKb(const std::function<void()>& run) {
  heapPeak = heapInUse;
  const std::size_t before = heapInUse;
  run();
  return static_cast<double>(heapPeak - before) / 1024;
}

// One line of 3001 stamps sharing a phrase of about `phraseBytes` of
// Japanese in UTF-8, which Shift-JIS makes 5/7 of that: 960 KB (a file just
// under 1 MB) is refused at the phrase-byte limit, 3.8 KB loads as 3001
// records of nearly 8 MB together.
std::string HostileLrc(std::size_t phraseBytes) {
  std::string lrc;
  for (int i = 0; i < velomar::kLyricEntries; ++i) {
    lrc += "[" + std::to_string(i / 60) + ":" + std::to_string(10 + i % 50) + ".00]";
  }
  for (std::size_t size = 0; size < phraseBytes; size += 7)
    lrc += "\xe3\x81\x82\xe3\x81\x84 ";  // あい
  return lrc;
}

// Times, then weighs, the program's LRC load of `lrc` written to `path`
// against a plain read of the same file; false when the load does not end
// as `loads` says or the read goes wrong.
bool LrcRows(const std::string& path, const std::string& lrc, bool loads, const char* timeRow,
             const char* heapRow, LyricFileSystem& files, int repetitions) {
  if (!PlainWrite(path, lrc, false)) return false;
  auto table = std::make_unique<velomar::LyricTable>();
  bool loaded = false;
  const auto load = [&] {
    velomar::Notes notes;
    loaded = velomar::LoadLrc(files.OpenRead(path).get(), *table, nullptr, notes);
  };
  bool ok = true;
  const auto read = [&] { ok = PlainRead(path, lrc.size()) == lrc && ok; };
  std::vector<double> loadTimes, readTimes;
  for (int rep = 0; rep <= repetitions; ++rep) {
    const double l = Millis(load);
    const double r = Millis(read);
    if (rep == 0) continue;  // warm-up
    loadTimes.push_back(l);
    readTimes.push_back(r);
  }
  std::printf("# %s: %zu bytes\n", timeRow, lrc.size());
  Row(timeRow, Median(loadTimes), Median(readTimes));
  Row(heapRow, PeakKb(load), PeakKb(read));
  return ok && loaded == loads;
}

// The 3001 records the store's rows load and save, all of them in use so
// that the saved file is the loaded one.
std::unique_ptr<LyricTable> SourceTable() {
  auto source = std::make_unique<LyricTable>();
  Lcg rng;
  std::int32_t time = 0;
  for (int i = 0; i < velomar::kLyricEntries; ++i) {
    time += 10 + static_cast<std::int32_t>(rng.Next(50));
    source->time[i] = time;
    source->phrase[i] = Phrase(rng);
  }
  source->AddedCount = velomar::kLyricEntries;
  return source;
}

// The store's load and save of `source`, saved as `bytes` at `lyricPath`,
// against plain reads and writes of the same bytes; false when a load or
// save went wrong.
bool StoreRows(const LyricTable& source, const std::string& bytes, const std::string& lyricPath,
               const std::string& plainPath, LyricFileSystem& files, int repetitions) {
  std::vector<double> load, lyrics, read, save, write, writeSync;
  auto table = std::make_unique<LyricTable>();
  velomar::LyricDocument doc;
  bool ok = true;
  for (int rep = 0; rep <= repetitions; ++rep) {
    // Each pair runs back to back so that both see the same machine state.
    const double l = Millis([&] { velomar::LoadLyricFile(*table, lyricPath, nullptr, files); });
    // As the program loads it: every phrase made Unicode at the file's boundary.
    const double d = Millis([&] {
      velomar::Notes notes;
      ok = velomar::LoadDocument(doc, files.OpenRead(lyricPath).get(), false, nullptr, notes) && ok;
    });
    const double r = Millis([&] { ok = PlainRead(lyricPath, bytes.size()) == bytes && ok; });
    const double s =
        Millis([&] { ok = velomar::SaveLyricFile(source, "song", nullptr, files) && ok; });
    const double w = Millis([&] { ok = PlainWrite(plainPath, bytes, false) && ok; });
    const double ws = Millis([&] { ok = PlainWrite(plainPath, bytes, true) && ok; });
    if (rep == 0) continue;  // warm-up
    load.push_back(l);
    lyrics.push_back(d);
    read.push_back(r);
    save.push_back(s);
    write.push_back(w);
    writeSync.push_back(ws);
  }
  ok = ok && table->phrase[3000] == source.phrase[3000] && table->time[1500] == source.time[1500];
  ok = ok && doc.Table().phrase[3000] == velomar::PhraseFromFile(source.phrase[3000]);
  if (!ok) return false;
  std::printf("# %d records, %zu bytes, median of %d runs\n", velomar::kLyricEntries, bytes.size(),
              repetitions);
  Row("load 3001 records / plain read", Median(load), Median(read));
  Row("load 3001 records into the lyrics / plain read", Median(lyrics), Median(read));
  Row("save 3001 records / plain write", Median(save), Median(write));
  Row("save 3001 records / write+fsync", Median(save), Median(writeSync));
  return true;
}

}  // namespace

int main() {
  constexpr int kRepetitions = 21;
  namespace fs = std::filesystem;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path dir = fs::temp_directory_path() / ("velomar-bench-" + std::to_string(stamp));
  fs::create_directories(dir);
  ScratchFiles files((dir / "player").string());

  const std::unique_ptr<LyricTable> source = SourceTable();
  velomar::StringSink sink;
  velomar::WriteLyricLines(*source, sink, nullptr);
  const std::string bytes = sink.Bytes();
  const std::string lyricPath = velomar::LyricFileName(files.ExecutablePath(), "song");
  if (!PlainWrite(lyricPath, bytes, false)) {
    std::fprintf(stderr, "lyric_store_bench: cannot write %s\n", lyricPath.c_str());
    return 1;
  }
  if (!StoreRows(*source, bytes, lyricPath, (dir / "plain").string(), files, kRepetitions)) {
    fs::remove_all(dir);
    std::fprintf(stderr, "lyric_store_bench: a load or save went wrong\n");
    return 1;
  }

  const std::string lrcPath = (dir / "hostile.lrc").string();
  const bool ok = LrcRows(lrcPath, HostileLrc(960000), false, "hostile LRC, refused / plain read",
                          "hostile LRC, refused: peak heap KB / plain read", files, kRepetitions) &&
                  LrcRows(lrcPath, HostileLrc(3800), true, "hostile LRC, loaded / plain read",
                          "hostile LRC, loaded: peak heap KB / plain read", files, kRepetitions);
  fs::remove_all(dir);
  if (!ok) {
    std::fprintf(stderr,
                 "lyric_store_bench: a hostile LRC file was not loaded or refused as it should\n");
    return 1;
  }
  return 0;
}
