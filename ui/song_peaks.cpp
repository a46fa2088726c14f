#include "ui/song_peaks.h"

#include <algorithm>
#include <chrono>

#include "system/song_source.h"

namespace velomar {

namespace {

constexpr std::size_t kReadFrames = 16384;
// How often the strip hears of the sound read meanwhile.
constexpr auto kNoticeEvery = std::chrono::milliseconds(250);

}  // namespace

std::shared_ptr<SongPeaks> SongPeaks::Read(const std::wstring& path, HWND window, UINT message) {
  std::unique_ptr<SongSource> source = OpenSongSource(path);
  if (!source) return nullptr;
  std::shared_ptr<SongPeaks> peaks(new SongPeaks());
  const double rate = std::max<std::uint32_t>(1, source->Rate());
  peaks->blockMs_ = 1000.0 * kPeakBlockFrames / rate;
  if (source->TotalFrames() > 0) peaks->totalMs_ = 1000.0 * source->TotalFrames() / rate;
  SongPeaks* self = peaks.get();
  peaks->reader_ = std::thread([self, window, message, taken = source.release()] {
    self->ReadAll(std::unique_ptr<SongSource>(taken), window, message);
  });
  return peaks;
}

SongPeaks::~SongPeaks() {
  stop_ = true;
  if (reader_.joinable()) reader_.join();
}

void SongPeaks::ReadAll(std::unique_ptr<SongSource> source, HWND window, UINT message) {
  // The editor's messages come first: the picture fills in behind them.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  PeakBlocks peaks(source->Rate(), static_cast<std::uint32_t>(source->Channels()));
  std::vector<float> samples(kReadFrames * static_cast<std::size_t>(source->Channels()));
  auto noticed = std::chrono::steady_clock::now();
  std::size_t frames = 0;
  while (!stop_ && (frames = source->Read(samples.data(), kReadFrames)) > 0) {
    peaks.Add(samples.data(), frames);
    const auto now = std::chrono::steady_clock::now();
    if (now - noticed < kNoticeEvery) continue;
    noticed = now;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      blocks_ = peaks.Blocks();
    }
    PostMessageW(window, message, 0, 0);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_ = peaks.Blocks();
    totalMs_ = blocks_.size() * blockMs_;
  }
  done_ = true;
  PostMessageW(window, message, 1, 0);
}

double SongPeaks::SongMs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::max(totalMs_, blocks_.size() * blockMs_);
}

std::vector<Peak> SongPeaks::Columns(double fromMs, double toMs, int columns) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ColumnPeaks(blocks_, blockMs_, fromMs, toMs, columns);
}

}  // namespace velomar
