// The lyric file system on Windows: CreateFileA, ReadFile and WriteFile with
// ANSI (Shift-JIS) paths, unshared while open; files the user chose are
// read and written by their UTF-16 path (CreateFileW).
#include <windows.h>

#include <algorithm>
#include <utility>

#include "lyrics/byte_stream.h"
#include "lyrics/whole_file.h"
#include "system/platform_files.h"
#include "system/wide_path.h"

namespace velomar {
namespace {

// Owns a file handle; move-only so that exactly one owner closes it.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept : handle_(other.release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.release();
    }
    return *this;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() {
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return h;
  }
  bool Close() {
    if (!valid()) return true;
    const bool ok = CloseHandle(release()) != 0;
    return ok;
  }

 private:
  HANDLE handle_;
};

class FileSource : public BufferedFileSource {
 public:
  explicit FileSource(FileHandle file) : file_(std::move(file)) {}

 private:
  std::size_t ReadMore(char* data, std::size_t size) override {
    // ReadFile takes a 32-bit count; a whole lyric file fits in one call.
    constexpr std::size_t kMostAtOnce = 1u << 30;
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min(size, kMostAtOnce));
    if (!ReadFile(file_.get(), data, ask, &got, nullptr)) return 0;
    return got;
  }
  std::size_t FileRemaining() override {
    LARGE_INTEGER size, at, zero{};
    if (!GetFileSizeEx(file_.get(), &size) ||
        !SetFilePointerEx(file_.get(), zero, &at, FILE_CURRENT) || size.QuadPart <= at.QuadPart)
      return 0;
    // Only a hint: a file too large for memory is read in pieces anyway.
    return static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart - at.QuadPart, 1 << 30));
  }
  bool SeekFile(std::uint64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN) != 0;
  }

  FileHandle file_;
};

class FileSink : public BufferedFileSink {
 public:
  explicit FileSink(FileHandle file) : file_(std::move(file)) {}

 private:
  std::size_t WriteSome(const char* data, std::size_t size) override {
    // A buffer's worth a call at the most: WriteFile takes a 32-bit count.
    const DWORD chunk = static_cast<DWORD>(std::min(size, kBufferSize));
    DWORD written = 0;
    if (!WriteFile(file_.get(), data, chunk, &written, nullptr)) return 0;
    return written;
  }
  bool SyncFile() override { return !file_.valid() || FlushFileBuffers(file_.get()) != 0; }
  bool CloseFile() override { return file_.Close(); }

  FileHandle file_;
};

class Win32FileSystem : public LyricFileSystem {
 public:
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    return std::make_unique<FileSource>(std::move(file));
  }

  std::unique_ptr<ByteSink> Create(const std::string& path) override {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    return std::make_unique<FileSink>(std::move(file));
  }

  bool Replace(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  void Remove(const std::string& path) override { DeleteFileA(path.c_str()); }

  std::string ExecutablePath() override { return ExecutableAnsiPath(); }
};

}  // namespace

LyricFileSystem& PlatformFileSystem() {
  static Win32FileSystem files;
  return files;
}

std::unique_ptr<ByteSource> OpenForReading(const std::wstring& path, bool shared) {
  const DWORD share = shared ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return nullptr;
  return std::make_unique<FileSource>(std::move(file));
}

namespace {

// A target named by its real UTF-16 path.
class WidePlace : public SavePlace {
 public:
  explicit WidePlace(const std::wstring& target)
      : target_(target), beside_(target + WidePath(kSavingSuffix)) {}
  std::unique_ptr<ByteSink> CreateBeside() override {
    FileHandle file(CreateFileW(beside_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    return std::make_unique<FileSink>(std::move(file));
  }
  bool ReplaceTarget() override {
    return MoveFileExW(beside_.c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  void RemoveBeside() override { DeleteFileW(beside_.c_str()); }

 private:
  std::wstring target_;
  std::wstring beside_;
};

}  // namespace

bool WriteWholeFile(const std::wstring& target, const std::string& bytes) {
  WidePlace place(target);
  return WriteWholeFile(place, bytes);
}

}  // namespace velomar
