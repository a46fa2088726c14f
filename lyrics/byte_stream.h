// The byte-level seams between the lyric file code and the platform's files.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velomar {

// Reads a file's bytes in order. Next() returns 0..255, or -1 at the end of
// the file or after a failed read (the reader treats both alike).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual int Next() = 0;
  // Up to `size` bytes at once; fewer only at the end. A file reads its
  // bytes in one call where Next() would take one call a byte.
  virtual std::size_t Read(char* data, std::size_t size) {
    std::size_t got = 0;
    for (int b; got < size && (b = Next()) >= 0;) data[got++] = static_cast<char>(b);
    return got;
  }
  // How many bytes are still to come, where the platform can tell at once;
  // 0 where it cannot. Only a hint for sizing a buffer: a file may change
  // while it is read, so a reader still reads on to the end.
  virtual std::size_t Remaining() { return 0; }
  // Goes on from byte `offset` of the file (a song read as it plays moves
  // about in it); false where the source cannot, leaving it as it was.
  virtual bool SeekTo(std::uint64_t /*offset*/) { return false; }
};

// A platform's file read through a buffer of its own: a byte at a time or
// in pieces. The platform only says how to read more of the file.
class BufferedFileSource : public ByteSource {
 public:
  int Next() final {
    if (pos_ == size_ && !Fill()) return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
  }
  std::size_t Read(char* data, std::size_t size) final {
    std::size_t got = 0;
    while (got < size) {
      if (pos_ == size_) {
        // Large reads go straight into the caller's memory, not through
        // the buffer.
        if (size - got < kBufferSize) {
          if (!Fill()) break;
        } else {
          const std::size_t n = done_ ? 0 : ReadMore(data + got, size - got);
          done_ = n == 0;
          if (done_) break;
          got += n;
          continue;
        }
      }
      const std::size_t take = std::min(size - got, size_ - pos_);
      std::copy(buffer_.data() + pos_, buffer_.data() + pos_ + take, data + got);
      pos_ += take;
      got += take;
    }
    return got;
  }
  std::size_t Remaining() final { return (size_ - pos_) + (done_ ? 0 : FileRemaining()); }
  bool SeekTo(std::uint64_t offset) final {
    if (!SeekFile(offset)) return false;
    pos_ = size_ = 0;
    done_ = false;
    return true;
  }

 protected:
  BufferedFileSource() = default;
  // Up to `size` more bytes of the file; 0 at its end or after a failed
  // read, which ends the file for good, like the end itself.
  virtual std::size_t ReadMore(char* data, std::size_t size) = 0;
  // The file's bytes after those ReadMore has handed over, or 0 where the
  // platform cannot tell.
  virtual std::size_t FileRemaining() { return 0; }
  // Puts the platform's file at byte `offset`; false where it cannot.
  virtual bool SeekFile(std::uint64_t /*offset*/) { return false; }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  bool Fill() {
    if (done_) return false;
    // Made at the first small read: a file read in one piece needs none.
    if (buffer_.empty()) buffer_.resize(kBufferSize);
    size_ = ReadMore(buffer_.data(), buffer_.size());
    pos_ = 0;
    done_ = size_ == 0;
    return !done_;
  }

  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t size_ = 0;
  bool done_ = false;
};

// Every byte still to come; the size hint reserves at most `reserveAtMost`,
// so that a huge hint is not taken at once.
inline std::string ReadRest(ByteSource& source, std::size_t reserveAtMost) {
  std::string bytes;
  bytes.reserve(std::min(source.Remaining(), reserveAtMost));
  char piece[65536];
  for (std::size_t got; (got = source.Read(piece, sizeof piece)) > 0;) bytes.append(piece, got);
  return bytes;
}

// Writes bytes; Write returns false once anything failed to be written.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Flushes and closes; false when any byte did not reach the file.
  virtual bool Close() = 0;
};

// A platform's file written through a buffer of its own. The platform only
// says how to write bytes, get them onto the disk and close the file. Bytes
// still buffered when a sink is destroyed without Close() are dropped.
class BufferedFileSink : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) final {
    if (failed_) return false;
    if (buffer_.size() + size > kBufferSize && !Flush()) return false;
    if (size >= kBufferSize) return WriteAll(data, size);
    buffer_.insert(buffer_.end(), data, data + size);
    return true;
  }
  bool Close() final {
    bool ok = !failed_ && Flush();
    // The target is replaced right after this: the bytes must be on disk
    // first, or a crash could leave a replaced but empty file.
    if (ok) ok = SyncFile();
    ok = CloseFile() && ok;
    failed_ = !ok;
    return ok;
  }

 protected:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  BufferedFileSink() { buffer_.reserve(kBufferSize); }
  // Writes some of the `size` bytes (size > 0) and returns how many; 0
  // after a failed write, which fails the sink for good.
  virtual std::size_t WriteSome(const char* data, std::size_t size) = 0;
  // Puts what was written onto the disk; SyncFile and CloseFile both do
  // nothing and succeed once the file is closed.
  virtual bool SyncFile() = 0;
  virtual bool CloseFile() = 0;

 private:
  bool Flush() {
    const bool ok = WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
  }
  bool WriteAll(const char* data, std::size_t size) {
    while (size > 0 && !failed_) {
      const std::size_t written = WriteSome(data, size);
      if (written == 0) {
        failed_ = true;
        break;
      }
      data += written;
      size -= written;
    }
    return !failed_;
  }

  std::vector<char> buffer_;
  bool failed_ = false;
};

// What the lyric file code needs of the platform's file system.
class LyricFileSystem {
 public:
  virtual ~LyricFileSystem() = default;
  // Opens an existing file for reading, unshared; nullptr when it cannot.
  virtual std::unique_ptr<ByteSource> OpenRead(const std::string& path) = 0;
  // Creates or truncates a file for writing, unshared; nullptr when it cannot.
  virtual std::unique_ptr<ByteSink> Create(const std::string& path) = 0;
  // Puts `from` in the place of `to` in one step, replacing any file there.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
  // Full path of the running executable; "" when the system cannot tell.
  virtual std::string ExecutablePath() = 0;
};

}  // namespace velomar
