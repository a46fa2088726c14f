// The ID3v2 tag at the start of an mp3, taken apart as far as the lyrics
// need it (id3_tag.cpp), and the timing of the MPEG audio after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/byte_stream.h"
#include "lyrics/lrc_convert.h"

namespace velomar {

// The most a tag may declare: a tag of lyrics and a cover fits well within,
// and a damaged size is not read for hundreds of megabytes.
constexpr std::size_t kId3TagBytes = 16 << 20;  // 16 MB

// A SYLT or USLT frame (SLT and ULT in ID3v2.2 are given these names), its
// data as the frame's own fields, unsynchronisation and frame extras undone.
struct Id3Frame {
  bool synced;  // SYLT
  std::string data;
};

// `count` bytes from `pos` as a big-endian number.
inline std::uint32_t BigEndian(const std::string& bytes, std::size_t pos, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | static_cast<unsigned char>(bytes[pos + i]);
  return value;
}

// The lyric frames of the tag at the start of `song`, in tag order, leaving
// `song` just after the tag. False, with an error note, for no tag, a tag cut
// short or larger than kId3TagBytes, or one whose frames do not fit it;
// nothing beyond the declared size is read.
bool ReadId3Frames(ByteSource& song, std::vector<Id3Frame>& frames, Notes& notes);

// The first MPEG audio frame header within the next 64 KB of `audio`: its
// samples per frame and sample rate. False when none is found.
bool ReadMpegTiming(ByteSource& audio, std::int64_t& samplesPerFrame, std::int64_t& sampleRate);

}  // namespace velomar
