// Helpers shared by the core tests: scratch directories, whole-file bytes and
// a file system whose executable lives in a scratch directory and which can
// be made to fail at chosen steps.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "lyrics/byte_stream.h"
#include "lyrics/lyric_file.h"
#include "lyrics/lyric_table.h"
#include "lyrics/memory_stream.h"
#include "system/platform_files.h"

namespace velomar::testing {

// A fresh directory under the system's temp directory, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("velomar-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A table on the heap (it is about 100 KiB) with every entry marked, so that
// a test can tell an untouched entry from one the reader wrote.
inline std::unique_ptr<LyricTable> MarkedTable() {
  auto table = std::make_unique<LyricTable>();
  for (int i = 0; i < kLyricEntries; ++i) {
    table->time[i] = -1000 - i;
    table->phrase[i] = "old" + std::to_string(i);
  }
  return table;
}

// Reads all 3001 records of `bytes` into `table`.
inline void LoadBytes(const std::string& bytes, LyricTable& table) {
  MemorySource source(bytes);
  for (int i = 0; i < kLyricEntries; ++i) ReadRecord(source, table, i);
}

// The platform's file system with the executable placed at `exePath`, and
// switches to make each step of a save fail.
class TestFiles : public LyricFileSystem {
 public:
  explicit TestFiles(std::string exePath) : exePath_(std::move(exePath)) {}

  bool failCreate = false;
  long failWriteAfter = -1;  // bytes accepted before writes fail; -1: never
  bool failClose = false;
  bool failReplace = false;
  std::string lastCreated;

  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
    return real_.OpenRead(path);
  }
  std::unique_ptr<ByteSink> Create(const std::string& path) override {
    if (failCreate) return nullptr;
    lastCreated = path;
    auto sink = real_.Create(path);
    if (sink == nullptr) return nullptr;
    return std::make_unique<FaultySink>(std::move(sink), *this);
  }
  bool Replace(const std::string& from, const std::string& to) override {
    return !failReplace && real_.Replace(from, to);
  }
  void Remove(const std::string& path) override { real_.Remove(path); }
  std::string ExecutablePath() override { return exePath_; }

 private:
  class FaultySink : public ByteSink {
   public:
    FaultySink(std::unique_ptr<ByteSink> real, const TestFiles& files)
        : real_(std::move(real)), files_(files) {}
    bool Write(const char* data, std::size_t size) override {
      if (files_.failWriteAfter >= 0 &&
          written_ + static_cast<long>(size) > files_.failWriteAfter) {
        // Let the allowed part through, as a disk that fills up would.
        real_->Write(data, static_cast<std::size_t>(files_.failWriteAfter - written_));
        written_ = files_.failWriteAfter;
        return false;
      }
      written_ += static_cast<long>(size);
      return real_->Write(data, size);
    }
    bool Close() override { return real_->Close() && !files_.failClose; }

   private:
    std::unique_ptr<ByteSink> real_;
    const TestFiles& files_;
    long written_ = 0;
  };

  LyricFileSystem& real_ = PlatformFileSystem();
  std::string exePath_;
};

}  // namespace velomar::testing
