// A RIFF/WAVE file's header, as far as playing its samples needs it, and
// its samples as floats. Windows-free: the program's own playback path reads
// wave songs with it, and so can anything that draws or measures a song.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lyrics/byte_stream.h"

namespace velomar {

enum class WaveRefusal {
  None,
  Truncated,       // the file ends inside the RIFF header or the format chunk
  NotRiff,         // no "RIFF....WAVE" at the start
  NoFormat,        // no "fmt " chunk before the samples
  NoData,          // no "data" chunk after the format
  UnsupportedTag,  // not PCM or IEEE float (also inside EXTENSIBLE)
  NoChannels,
  NoRate,
  UnsupportedBits,  // PCM other than 8/16/24/32, float other than 32/64
  BlockAlignMismatch,
};

struct WaveFormat {
  bool isFloat = false;
  int channels = 0;
  std::uint32_t rate = 0;
  int bits = 0;  // of the container: a 20-bit sample in 24 bits reads as 24
  int blockAlign = 0;
  std::uint64_t dataOffset = 0;  // from the file's first byte
  std::uint64_t dataBytes = 0;   // within the file: a longer claim is cut
  std::uint64_t Frames() const { return blockAlign > 0 ? dataBytes / blockAlign : 0; }
};

// Reads the header from the start of `file`, `fileBytes` long (0: not
// known, so nothing is cut), leaving it at the first sample. Chunks before
// the samples are passed over, each padded to an even size.
WaveRefusal ReadWaveHeader(ByteSource& file, std::uint64_t fileBytes, WaveFormat& format);

// `frames` frames of `format`'s samples from `bytes` into `out`, -1 to 1,
// channels interleaved as in the file.
void SamplesToFloat(const WaveFormat& format, const unsigned char* bytes, std::size_t frames,
                    float* out);

}  // namespace velomar
