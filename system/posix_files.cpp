// The lyric file system on POSIX systems, used by the native builds (tests,
// tools, fuzzing, benchmarks).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "lyrics/byte_stream.h"
#include "system/platform_files.h"

namespace velomar {
namespace {

// Owns a file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  bool Close() {
    if (fd_ < 0) return true;
    // POSIX leaves the descriptor closed even when close() reports EINTR.
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

class FileSource : public BufferedFileSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {}

 private:
  std::size_t ReadMore(char* data, std::size_t size) override {
    ssize_t n;
    do {
      n = ::read(fd_.get(), data, size);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  std::size_t FileRemaining() override {
    struct stat info;
    const off_t at = ::lseek(fd_.get(), 0, SEEK_CUR);
    if (at < 0 || ::fstat(fd_.get(), &info) != 0 || info.st_size <= at) return 0;
    return static_cast<std::size_t>(info.st_size - at);
  }
  bool SeekFile(std::uint64_t offset) override {
    return ::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) >= 0;
  }

  Descriptor fd_;
};

class FileSink : public BufferedFileSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}

 private:
  std::size_t WriteSome(const char* data, std::size_t size) override {
    ssize_t n;
    do {
      n = ::write(fd_.get(), data, size);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  bool SyncFile() override { return fd_.get() < 0 || ::fsync(fd_.get()) == 0; }
  bool CloseFile() override { return fd_.Close(); }

  Descriptor fd_;
};

class PosixFileSystem : public LyricFileSystem {
 public:
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto source = std::make_unique<FileSource>(fd);
    struct stat info;
    // A directory opens fine on POSIX but is no file to read.
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) return nullptr;
    return source;
  }

  std::unique_ptr<ByteSink> Create(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<FileSink>(fd);
  }

  bool Replace(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  void Remove(const std::string& path) override { ::unlink(path.c_str()); }

  std::string ExecutablePath() override {
    std::vector<char> buffer(256);
    for (;;) {
      const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (n < 0) return std::string();
      // readlink truncates silently: a full buffer may be a cut path.
      if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
      buffer.resize(buffer.size() * 2);
    }
  }
};

}  // namespace

LyricFileSystem& PlatformFileSystem() {
  static PosixFileSystem files;
  return files;
}

}  // namespace velomar
