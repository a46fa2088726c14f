#include "playback/slow_player.h"

#include <algorithm>
#include <cmath>

#include "playback/playback.h"
#include "system/late_dll.h"

namespace velomar {

namespace {

// Each buffer holds this much sound; all of them together are what the
// feeding thread may fall behind by before the sound breaks up.
constexpr double kBufferSeconds = 0.05;
constexpr std::size_t kReadFrames = 4096;

std::int16_t ToSample(float value) {
  const float scaled = std::round(value * 32767.0f);
  return static_cast<std::int16_t>(std::min(32767.0f, std::max(-32768.0f, scaled)));
}

}  // namespace

bool SlowPlayer::Start(std::unique_ptr<SongSource> source, double speed, double startMs,
                       const SongEndNotice& end) {
  Stop();
  channels_ = std::min(2, source->Channels());
  rate_ = source->Rate();
  if (channels_ < 1 || rate_ == 0) return false;
  if (!source->Seek(static_cast<std::int64_t>(std::llround(startMs * rate_ / 1000.0))))
    return false;
  wake_.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels_);
  format.nSamplesPerSec = rate_;
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(2 * channels_);
  format.nAvgBytesPerSec = rate_ * format.nBlockAlign;
  if (late::waveOutOpen(&out_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(wake_.get()), 0,
                        CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    out_ = nullptr;
    return false;
  }
  source_ = std::move(source);
  stretch_ = std::make_unique<TimeStretch>(channels_, rate_, speed);
  speed_ = speed;
  startMs_ = startMs;
  end_ = end;
  sourceEnded_ = false;
  const std::size_t frames = static_cast<std::size_t>(rate_ * kBufferSeconds);
  for (Buffer& buffer : buffers_) {
    buffer.samples.assign(frames * channels_, 0);
    buffer.header = WAVEHDR{};
    buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
    buffer.header.dwBufferLength = static_cast<DWORD>(buffer.samples.size() * 2);
    late::waveOutPrepareHeader(out_, &buffer.header, sizeof buffer.header);
    buffer.queued = false;
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    played_ = 0;
    waiting_.clear();
    paused_ = false;
    playedAt_ = MonotonicMicroseconds();
  }
  quit_ = false;
  feeder_ = std::thread([this] { Feed(); });
  // The thread plays the sound; it should not wait behind the window.
  SetThreadPriority(reinterpret_cast<HANDLE>(feeder_.native_handle()), THREAD_PRIORITY_HIGHEST);
  return true;
}

void SlowPlayer::Feed() {
  while (!quit_) {
    bool anyQueued = false;
    for (Buffer& buffer : buffers_) {
      if (buffer.queued && (buffer.header.dwFlags & WHDR_DONE) != 0) TakeDone(buffer);
      if (!buffer.queued && Fill(buffer)) {
        std::lock_guard<std::mutex> hold(lock_);
        // A buffer given to an idle output (the first, or after the thread
        // fell behind) starts playing now.
        if (waiting_.empty()) playedAt_ = MonotonicMicroseconds();
        waiting_.push_back(buffer.header.dwBufferLength / (2 * channels_));
        buffer.queued = late::waveOutWrite(out_, &buffer.header, sizeof buffer.header) == 0;
        if (!buffer.queued) waiting_.pop_back();
      }
      anyQueued = anyQueued || buffer.queued;
    }
    if (!anyQueued && stretch_->Ended()) {
      PostMessageA(end_.window, end_.message, end_.id, 0);
      return;
    }
    WaitForSingleObject(wake_.get(), 100);
  }
}

void SlowPlayer::TakeDone(Buffer& buffer) {
  std::lock_guard<std::mutex> hold(lock_);
  buffer.queued = false;
  if (waiting_.empty()) return;
  // The first buffer's end says when the sound really started. Each later
  // one ended at most its own length after the one before, though the
  // thread may see it later: counted so, the song time does not fall behind
  // by every wake-up's delay.
  const auto length = static_cast<std::int64_t>(waiting_.front() * 1e6 / rate_);
  const std::int64_t now = MonotonicMicroseconds();
  playedAt_ = played_ == 0 ? now : std::min(now, playedAt_ + length);
  played_ += waiting_.front();
  waiting_.pop_front();
}

// The next stretch of stretched sound into `buffer`; false when the song has
// none left.
bool SlowPlayer::Fill(Buffer& buffer) {
  const std::size_t want = buffer.samples.size() / channels_;
  const int songChannels = source_->Channels();
  while (stretch_->Available() < want && !sourceEnded_) {
    read_.resize(kReadFrames * songChannels);
    const std::size_t got = source_->Read(read_.data(), kReadFrames);
    if (got == 0) {
      sourceEnded_ = true;
      stretch_->Finish();
      break;
    }
    // A song of more than two channels is heard by its first two.
    if (songChannels != channels_) {
      for (std::size_t i = 0; i < got; ++i) {
        for (int c = 0; c < channels_; ++c) read_[i * channels_ + c] = read_[i * songChannels + c];
      }
    }
    stretch_->Push(read_.data(), got);
  }
  stretched_.resize(want * channels_);
  const std::size_t frames = stretch_->Pull(stretched_.data(), want);
  if (frames == 0) return false;
  for (std::size_t i = 0; i < frames * channels_; ++i) buffer.samples[i] = ToSample(stretched_[i]);
  buffer.header.dwBufferLength = static_cast<DWORD>(frames * channels_ * 2);
  return true;
}

void SlowPlayer::Pause() {
  if (out_ == nullptr) return;
  const double now = SongMs();
  std::lock_guard<std::mutex> hold(lock_);
  late::waveOutPause(out_);
  paused_ = true;
  pausedMs_ = now;
}

void SlowPlayer::Stop() {
  if (out_ == nullptr) return;
  quit_ = true;
  SetEvent(wake_.get());
  if (feeder_.joinable()) feeder_.join();
  late::waveOutReset(out_);
  for (Buffer& buffer : buffers_) {
    late::waveOutUnprepareHeader(out_, &buffer.header, sizeof buffer.header);
    buffer.queued = false;
  }
  late::waveOutClose(out_);
  out_ = nullptr;
  source_.reset();
  stretch_.reset();
  wake_.Reset();
}

double SlowPlayer::SongMs() const {
  std::lock_guard<std::mutex> hold(lock_);
  if (paused_) return pausedMs_;
  double frames = static_cast<double>(played_);
  if (!waiting_.empty()) {
    const double since = (MonotonicMicroseconds() - playedAt_) * (rate_ / 1e6);
    frames += std::min(std::max(0.0, since), static_cast<double>(waiting_.front()));
  }
  return startMs_ + frames * speed_ * 1000.0 / rate_;
}

}  // namespace velomar
