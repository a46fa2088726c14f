// A song as samples, read as it is wanted rather than held whole: wave
// files straight from the file, mp3 through the system's audio codecs. The
// slowed playback reads it as it plays; a picture of the whole song can read
// it through in the background the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velomar {

class SongSource {
 public:
  virtual ~SongSource() = default;
  virtual int Channels() const = 0;
  virtual std::uint32_t Rate() const = 0;
  // Up to `frames` frames into `out` (channels interleaved, -1 to 1); fewer
  // only at the end of the song, 0 after it or after a read that failed.
  virtual std::size_t Read(float* out, std::size_t frames) = 0;
  // The next Read starts at frame `frame` (a frame past the end: at the
  // end); false when the file cannot be moved in.
  virtual bool Seek(std::int64_t frame) = 0;
  // The song's length in frames, or -1 where it cannot be told without
  // reading it all.
  virtual std::int64_t TotalFrames() const = 0;
};

// The song at `path` (opened shared: MCI holds it too), or nullptr for a
// file neither reader takes: not a wave of PCM or float samples, not an
// MPEG layer III stream, or one the system has no decoder for.
std::unique_ptr<SongSource> OpenSongSource(const std::wstring& path);

// The two readers, given the file at its first byte; nullptr when they
// refuse it.
class ByteSource;
std::unique_ptr<SongSource> OpenWaveSource(std::unique_ptr<ByteSource> file);
std::unique_ptr<SongSource> OpenMp3Source(std::unique_ptr<ByteSource> file);

}  // namespace velomar
