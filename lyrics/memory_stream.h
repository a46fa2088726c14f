// Byte sources and sinks over memory, for reading records out of a buffer
// and for catching what a writer produces.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "lyrics/byte_stream.h"

namespace velomar {

// Reads the bytes of a buffer it does not own; the buffer must outlive it.
class MemorySource : public ByteSource {
 public:
  MemorySource(const char* data, std::size_t size) : data_(data), size_(size) {}
  explicit MemorySource(const std::string& bytes) : MemorySource(bytes.data(), bytes.size()) {}
  // A temporary would be gone before the first byte is read.
  explicit MemorySource(std::string&&) = delete;
  int Next() override {
    if (pos_ >= size_) return -1;
    return static_cast<unsigned char>(data_[pos_++]);
  }
  std::size_t Read(char* data, std::size_t size) override {
    const std::size_t take = std::min(size, size_ - pos_);
    std::copy(data_ + pos_, data_ + pos_ + take, data);
    pos_ += take;
    return take;
  }
  std::size_t Remaining() override { return size_ - pos_; }
  bool SeekTo(std::uint64_t offset) override {
    if (offset > size_) return false;
    pos_ = static_cast<std::size_t>(offset);
    return true;
  }
  std::size_t Position() const { return pos_; }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Collects written bytes in a string.
class StringSink : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    bytes_.append(data, size);
    return true;
  }
  bool Close() override { return true; }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace velomar
