#include "lyrics/whole_file.h"

namespace velomar {

namespace {

// Stands in for a file that could not be created.
class RefusingSink : public ByteSink {
 public:
  bool Write(const char*, std::size_t) override { return false; }
  bool Close() override { return false; }
};

// The size hint is taken up to a long song's mp3; a larger file is still
// read whole, only without one buffer made for it at once.
constexpr std::size_t kReserveAtMost = 64 << 20;

}  // namespace

FileSystemPlace::FileSystemPlace(LyricFileSystem& files, const std::string& target)
    : files_(files), target_(target), beside_(target + kSavingSuffix) {}

std::unique_ptr<ByteSink> FileSystemPlace::CreateBeside() { return files_.Create(beside_); }

bool FileSystemPlace::ReplaceTarget() { return files_.Replace(beside_, target_); }

void FileSystemPlace::RemoveBeside() { files_.Remove(beside_); }

bool SaveWhole(SavePlace* place, const std::function<bool(ByteSink&)>& write) {
  std::unique_ptr<ByteSink> sink = place == nullptr ? nullptr : place->CreateBeside();
  if (sink == nullptr) {
    RefusingSink nowhere;
    write(nowhere);
    return false;
  }
  bool ok = write(*sink);
  ok = sink->Close() && ok;
  sink.reset();
  if (ok) ok = place->ReplaceTarget();
  if (!ok) place->RemoveBeside();
  return ok;
}

bool WriteWholeFile(SavePlace& place, const std::string& bytes) {
  return SaveWhole(&place, [&](ByteSink& sink) { return sink.Write(bytes.data(), bytes.size()); });
}

bool WriteWholeFile(LyricFileSystem& files, const std::string& path, const std::string& bytes) {
  FileSystemPlace place(files, path);
  return WriteWholeFile(place, bytes);
}

bool ReadWholeFile(LyricFileSystem& files, const std::string& path, std::string& bytes) {
  std::unique_ptr<ByteSource> source = files.OpenRead(path);
  if (source == nullptr) return false;
  bytes = ReadRest(*source, kReserveAtMost);
  return true;
}

}  // namespace velomar
