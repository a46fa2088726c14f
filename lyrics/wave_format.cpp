#include "lyrics/wave_format.h"

#include <cstring>

namespace velomar {

namespace {

std::uint32_t Little(const unsigned char* b, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | b[i];
  return value;
}

// Reads exactly `size` bytes; false when the file ends first.
bool ReadExactly(ByteSource& file, unsigned char* data, std::size_t size) {
  return file.Read(reinterpret_cast<char*>(data), size) == size;
}

bool Skip(ByteSource& file, std::uint64_t size) {
  char piece[4096];
  while (size > 0) {
    const std::size_t ask = size < sizeof piece ? static_cast<std::size_t>(size) : sizeof piece;
    if (file.Read(piece, ask) != ask) return false;
    size -= ask;
  }
  return true;
}

// The tail every WAVEFORMATEXTENSIBLE subformat GUID of a plain tag has.
const unsigned char kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                     0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

WaveRefusal TakeFormat(const unsigned char* b, std::size_t size, WaveFormat& format) {
  std::uint32_t tag = Little(b, 2);
  if (tag == 0xFFFE) {
    if (size < 40 || Little(b + 16, 2) < 22 || std::memcmp(b + 26, kGuidTail, 14) != 0)
      return WaveRefusal::UnsupportedTag;
    tag = Little(b + 24, 2);
  }
  if (tag != 1 && tag != 3) return WaveRefusal::UnsupportedTag;
  format.isFloat = tag == 3;
  format.channels = static_cast<int>(Little(b + 2, 2));
  format.rate = Little(b + 4, 4);
  format.blockAlign = static_cast<int>(Little(b + 12, 2));
  format.bits = static_cast<int>(Little(b + 14, 2));
  if (format.channels == 0) return WaveRefusal::NoChannels;
  if (format.rate == 0) return WaveRefusal::NoRate;
  const bool pcmBits =
      format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32;
  const bool floatBits = format.bits == 32 || format.bits == 64;
  if (!(format.isFloat ? floatBits : pcmBits)) return WaveRefusal::UnsupportedBits;
  if (format.blockAlign != format.channels * format.bits / 8)
    return WaveRefusal::BlockAlignMismatch;
  return WaveRefusal::None;
}

}  // namespace

WaveRefusal ReadWaveHeader(ByteSource& file, std::uint64_t fileBytes, WaveFormat& format) {
  format = WaveFormat{};
  unsigned char riff[12];
  if (!ReadExactly(file, riff, sizeof riff)) return WaveRefusal::Truncated;
  if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
    return WaveRefusal::NotRiff;
  std::uint64_t at = sizeof riff;
  bool formatSeen = false;
  for (unsigned char chunk[8]; ReadExactly(file, chunk, sizeof chunk);) {
    at += sizeof chunk;
    const std::uint32_t size = Little(chunk + 4, 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      if (!formatSeen) return WaveRefusal::NoFormat;
      format.dataOffset = at;
      const std::uint64_t room = fileBytes > at ? fileBytes - at : 0;
      format.dataBytes = fileBytes != 0 && size > room ? room : size;
      return WaveRefusal::None;
    }
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !formatSeen) {
      // What follows the 40 bytes of EXTENSIBLE says nothing playing needs.
      unsigned char body[40];
      const std::size_t kept = size < sizeof body ? size : sizeof body;
      if (size < 16 || !ReadExactly(file, body, kept)) return WaveRefusal::Truncated;
      const WaveRefusal why = TakeFormat(body, kept, format);
      if (why != WaveRefusal::None) return why;
      formatSeen = true;
      if (!Skip(file, size - kept + (size & 1))) return WaveRefusal::NoData;
    } else if (!Skip(file, size + (size & 1))) {
      break;
    }
    at += size + (size & 1);
  }
  return formatSeen ? WaveRefusal::NoData : WaveRefusal::NoFormat;
}

void SamplesToFloat(const WaveFormat& format, const unsigned char* bytes, std::size_t frames,
                    float* out) {
  const std::size_t count = frames * static_cast<std::size_t>(format.channels);
  const int width = format.bits / 8;
  for (std::size_t i = 0; i < count; ++i, bytes += width) {
    if (format.isFloat && width == 4) {
      float value;
      std::memcpy(&value, bytes, 4);
      out[i] = value;
    } else if (format.isFloat) {
      double value;
      std::memcpy(&value, bytes, 8);
      out[i] = static_cast<float>(value);
    } else if (width == 1) {
      out[i] = (static_cast<int>(bytes[0]) - 128) / 128.0f;
    } else {
      // Little-endian, two's complement: the top byte carries the sign.
      const std::uint32_t raw = Little(bytes, width) << (32 - 8 * width);
      out[i] = static_cast<float>(static_cast<std::int32_t>(raw) / 2147483648.0);
    }
  }
}

}  // namespace velomar
