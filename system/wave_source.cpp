// Wave songs read straight from the file, a piece at a time.
#include <algorithm>
#include <vector>

#include "lyrics/byte_stream.h"
#include "lyrics/wave_format.h"
#include "system/song_source.h"
#include "system/wide_path.h"

namespace velomar {

namespace {

class WaveSource final : public SongSource {
 public:
  WaveSource(std::unique_ptr<ByteSource> file, const WaveFormat& format)
      : file_(std::move(file)), format_(format) {}

  int Channels() const override { return format_.channels; }
  std::uint32_t Rate() const override { return format_.rate; }
  std::int64_t TotalFrames() const override { return static_cast<std::int64_t>(format_.Frames()); }

  std::size_t Read(float* out, std::size_t frames) override {
    const std::uint64_t left = format_.Frames() - std::min(format_.Frames(), next_);
    frames = static_cast<std::size_t>(std::min<std::uint64_t>(frames, left));
    bytes_.resize(frames * format_.blockAlign);
    const std::size_t got =
        file_->Read(reinterpret_cast<char*>(bytes_.data()), bytes_.size()) / format_.blockAlign;
    SamplesToFloat(format_, bytes_.data(), got, out);
    next_ += got;
    // A file cut short ends the song where it ends.
    if (got < frames) next_ = format_.Frames();
    return got;
  }

  bool Seek(std::int64_t frame) override {
    const std::uint64_t to =
        std::min<std::uint64_t>(format_.Frames(), std::max<std::int64_t>(0, frame));
    if (!file_->SeekTo(format_.dataOffset + to * format_.blockAlign)) return false;
    next_ = to;
    return true;
  }

 private:
  std::unique_ptr<ByteSource> file_;
  WaveFormat format_;
  std::uint64_t next_ = 0;
  std::vector<unsigned char> bytes_;
};

}  // namespace

std::unique_ptr<SongSource> OpenWaveSource(std::unique_ptr<ByteSource> file) {
  WaveFormat format;
  const std::uint64_t size = file->Remaining();
  if (ReadWaveHeader(*file, size, format) != WaveRefusal::None) return nullptr;
  return std::make_unique<WaveSource>(std::move(file), format);
}

std::unique_ptr<SongSource> OpenSongSource(const std::wstring& path) {
  std::unique_ptr<ByteSource> file = OpenForReading(path, true);
  if (file == nullptr) return nullptr;
  char magic[4] = {};
  const bool riff = file->Read(magic, 4) == 4 && std::equal(magic, magic + 4, "RIFF");
  if (!file->SeekTo(0)) return nullptr;
  return riff ? OpenWaveSource(std::move(file)) : OpenMp3Source(std::move(file));
}

}  // namespace velomar
