// The frames of an mp3's audio, as far as handing them to a decoder one by
// one needs: the 4-byte header of each, and the info frame some encoders put
// first, which holds no sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velomar {

struct MpegFrame {
  int version = 0;  // 10: MPEG 1, 20: MPEG 2, 25: MPEG 2.5
  int layer = 0;    // 1, 2 or 3
  int kbps = 0;
  std::uint32_t rate = 0;
  int channels = 0;
  int bytes = 0;    // the whole frame, header included
  int samples = 0;  // per channel
};

// False for bytes that are no frame header (no sync, a reserved field, a
// free-format bit rate).
bool ReadMpegHeader(const unsigned char header[4], MpegFrame& frame);

// Whether two frames belong to one stream: a false sync inside the audio
// rarely agrees with the first frame in all of these.
bool SameStream(const MpegFrame& a, const MpegFrame& b);

// The bytes an ID3v2 tag takes from the start of the file, its header and
// footer included, judged from its first 10 bytes; 0 when they are no tag.
std::uint64_t Id3v2Bytes(const unsigned char header[10]);

// For a whole first frame: whether it is an encoder's info frame (Xing,
// Info or VBRI), and the audio frames it says follow (-1: it does not say).
bool IsInfoFrame(const std::string& frame, const MpegFrame& header, std::int64_t& frames);

}  // namespace velomar
