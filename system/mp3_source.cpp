// mp3 songs decoded as they are read, a few frames at a time, by the MPEG
// layer III codec of the system's audio codecs (Windows and Wine both ship
// one). An ID3v2 tag before the audio is passed over, and so is an
// encoder's info frame, which holds no sound.
#include <algorithm>
#include <cstring>
#include <vector>

#include "lyrics/byte_stream.h"
#include "lyrics/mpeg_frame.h"
#include "system/late_dll.h"
#include "system/song_source.h"

namespace velomar {

namespace {

constexpr int kFramesAtOnce = 8;
// How far past a damaged stretch the next frame is looked for.
constexpr int kResyncBytes = 64 * 1024;
// Decoding from a frame needs the frames before it: the bits of a frame may
// start in the ones before.
constexpr int kFramesBeforeASeek = 2;

class Mp3Source final : public SongSource {
 public:
  explicit Mp3Source(std::unique_ptr<ByteSource> file) : file_(std::move(file)) {}
  ~Mp3Source() override { CloseStream(); }
  Mp3Source(const Mp3Source&) = delete;
  Mp3Source& operator=(const Mp3Source&) = delete;

  bool Open();
  int Channels() const override { return first_.channels; }
  std::uint32_t Rate() const override { return first_.rate; }
  std::int64_t TotalFrames() const override { return total_; }
  std::size_t Read(float* out, std::size_t frames) override;
  bool Seek(std::int64_t frame) override;

 private:
  bool MoveTo(std::uint64_t offset) {
    at_ = offset;
    return file_->SeekTo(offset);
  }
  bool FindFirst();
  bool NextFrame(std::string& bytes);
  bool Reach(std::int64_t index);
  bool OpenStream();
  void CloseStream() {
    if (stream_ != nullptr) late::acmStreamClose(stream_);
    stream_ = nullptr;
  }
  bool Decode();

  std::unique_ptr<ByteSource> file_;
  std::uint64_t at_ = 0;
  std::uint64_t audioStart_ = 0;
  MpegFrame first_;
  std::vector<std::uint64_t> offsets_;  // of each audio frame met, by index
  std::int64_t next_ = 0;               // the index NextFrame gives next
  HACMSTREAM stream_ = nullptr;
  bool started_ = false;
  bool ended_ = false;
  std::vector<float> pcm_;
  std::size_t pcmAt_ = 0;
  std::int64_t discard_ = 0;
  std::int64_t total_ = -1;
  std::string source_;
  std::vector<char> decoded_;
};

// The first frame header whose frame is followed by another of the stream
// (or by the end): a stray sync in a tag's leftovers is no frame.
bool Mp3Source::FindFirst() {
  const std::uint64_t from = at_;
  for (std::uint64_t pos = from; pos < from + kResyncBytes; ++pos) {
    unsigned char h[4], after[4];
    MpegFrame frame, next;
    if (!MoveTo(pos) || file_->Read(reinterpret_cast<char*>(h), 4) != 4) return false;
    if (!ReadMpegHeader(h, frame) || frame.layer != 3) continue;
    if (!MoveTo(pos + frame.bytes)) return false;
    const std::size_t got = file_->Read(reinterpret_cast<char*>(after), 4);
    if (got == 0 || (got == 4 && ReadMpegHeader(after, next) && SameStream(frame, next))) {
      first_ = frame;
      return MoveTo(pos);
    }
  }
  return false;
}

bool Mp3Source::NextFrame(std::string& bytes) {
  unsigned char h[4];
  MpegFrame frame;
  if (file_->Read(reinterpret_cast<char*>(h), 4) != 4) return false;
  std::uint64_t start = at_;
  at_ += 4;
  for (int skipped = 0; !(ReadMpegHeader(h, frame) && SameStream(frame, first_)); ++skipped) {
    const int b = file_->Next();
    if (b < 0 || skipped == kResyncBytes) return false;
    std::memmove(h, h + 1, 3);
    h[3] = static_cast<unsigned char>(b);
    ++start;
    ++at_;
  }
  bytes.assign(reinterpret_cast<char*>(h), 4);
  bytes.resize(static_cast<std::size_t>(frame.bytes));
  const std::size_t rest = bytes.size() - 4;
  // A last frame cut short is left out.
  if (file_->Read(&bytes[4], rest) != rest) return false;
  at_ += rest;
  if (next_ == static_cast<std::int64_t>(offsets_.size())) offsets_.push_back(start);
  ++next_;
  return true;
}

bool Mp3Source::Open() {
  unsigned char head[10];
  if (file_->Read(reinterpret_cast<char*>(head), sizeof head) != sizeof head) return false;
  if (!MoveTo(Id3v2Bytes(head)) || !FindFirst()) return false;
  std::string frame;
  const std::uint64_t firstAt = at_;
  if (!NextFrame(frame)) return false;
  std::int64_t frames = -1;
  const bool info = IsInfoFrame(frame, first_, frames);
  if (frames >= 0) total_ = frames * first_.samples;
  audioStart_ = info ? at_ : firstAt;
  offsets_.clear();
  next_ = 0;
  return MoveTo(audioStart_) && OpenStream();
}

bool Mp3Source::OpenStream() {
  MPEGLAYER3WAVEFORMAT mp3{};
  mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = static_cast<WORD>(first_.channels);
  mp3.wfx.nSamplesPerSec = first_.rate;
  mp3.wfx.nAvgBytesPerSec = static_cast<DWORD>(first_.kbps) * 125;
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3.wID = MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  mp3.nBlockSize = static_cast<WORD>(first_.bytes);
  mp3.nFramesPerBlock = 1;
  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = mp3.wfx.nChannels;
  pcm.nSamplesPerSec = first_.rate;
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = static_cast<WORD>(2 * first_.channels);
  pcm.nAvgBytesPerSec = pcm.nBlockAlign * first_.rate;
  started_ = false;
  return late::acmStreamOpen(&stream_, &mp3.wfx, &pcm) == 0;
}

// A few more frames through the codec; false at the end or on a failure.
bool Mp3Source::Decode() {
  source_.clear();
  std::string frame;
  for (int i = 0; i < kFramesAtOnce && NextFrame(frame); ++i) source_ += frame;
  if (source_.empty() || stream_ == nullptr) return false;
  DWORD room = 0;
  late::acmStreamSize(stream_, static_cast<DWORD>(source_.size()), &room, ACM_STREAMSIZEF_SOURCE);
  const std::size_t most = (kFramesAtOnce + 1) * 1152 * 2 * first_.channels;
  decoded_.resize(std::max<std::size_t>(room, most) * 2);
  ACMSTREAMHEADER header{};
  header.cbStruct = sizeof header;
  header.pbSrc = reinterpret_cast<BYTE*>(&source_[0]);
  header.cbSrcLength = static_cast<DWORD>(source_.size());
  header.pbDst = reinterpret_cast<BYTE*>(decoded_.data());
  header.cbDstLength = static_cast<DWORD>(decoded_.size());
  if (late::acmStreamPrepareHeader(stream_, &header) != 0) return false;
  const bool converted =
      late::acmStreamConvert(stream_, &header, started_ ? 0 : ACM_STREAMCONVERTF_START) == 0;
  late::acmStreamUnprepareHeader(stream_, &header);
  started_ = true;
  if (!converted) return false;
  const std::size_t samples = header.cbDstLengthUsed / 2;
  const std::size_t had = pcm_.size();
  pcm_.resize(had + samples);
  for (std::size_t i = 0; i < samples; ++i) {
    std::int16_t value;
    std::memcpy(&value, decoded_.data() + 2 * i, 2);
    pcm_[had + i] = value / 32768.0f;
  }
  return true;
}

std::size_t Mp3Source::Read(float* out, std::size_t frames) {
  const std::size_t channels = static_cast<std::size_t>(first_.channels);
  std::size_t got = 0;
  while (got < frames) {
    const std::size_t held = (pcm_.size() - pcmAt_) / channels;
    if (held == 0) {
      pcm_.clear();
      pcmAt_ = 0;
      if (ended_ || !Decode()) {
        ended_ = true;
        break;
      }
      continue;
    }
    const std::size_t dropped = static_cast<std::size_t>(std::min<std::int64_t>(discard_, held));
    const std::size_t take = std::min(held - dropped, frames - got);
    discard_ -= static_cast<std::int64_t>(dropped);
    pcmAt_ += dropped * channels;
    std::copy(pcm_.begin() + pcmAt_, pcm_.begin() + pcmAt_ + take * channels, out + got * channels);
    pcmAt_ += take * channels;
    got += take;
  }
  return got;
}

// Puts the file at frame `index`, walking the frames after the last one met.
bool Mp3Source::Reach(std::int64_t index) {
  if (index < static_cast<std::int64_t>(offsets_.size())) {
    next_ = index;
    return MoveTo(offsets_[static_cast<std::size_t>(index)]);
  }
  next_ = offsets_.empty() ? 0 : static_cast<std::int64_t>(offsets_.size()) - 1;
  if (!MoveTo(offsets_.empty() ? audioStart_ : offsets_.back())) return false;
  std::string frame;
  while (next_ < index) {
    if (!NextFrame(frame)) return false;
  }
  return true;
}

bool Mp3Source::Seek(std::int64_t frame) {
  frame = std::max<std::int64_t>(0, frame);
  const std::int64_t index = frame / first_.samples;
  const std::int64_t from = std::max<std::int64_t>(0, index - kFramesBeforeASeek);
  pcm_.clear();
  pcmAt_ = 0;
  discard_ = frame - from * first_.samples;
  ended_ = !Reach(from);
  if (ended_) return true;  // past the end: nothing more to read
  CloseStream();
  return OpenStream();
}

}  // namespace

std::unique_ptr<SongSource> OpenMp3Source(std::unique_ptr<ByteSource> file) {
  auto source = std::make_unique<Mp3Source>(std::move(file));
  if (!source->Open()) return nullptr;
  return source;
}

}  // namespace velomar
