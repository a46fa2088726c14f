// The song's waveform read in the background: a thread of its own reads the
// song through its sample reader while the editor stays answerable, and
// posts `message` to `window` as each part of the sound is in.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lyrics/wave_peaks.h"
#include "ui/wave_strip.h"

namespace velomar {

class SongPeaks : public StripSound {
 public:
  // Starts reading; nullptr for a song the reader refuses.
  static std::shared_ptr<SongPeaks> Read(const std::wstring& path, HWND window, UINT message);
  // Stops the reading and waits for its thread.
  ~SongPeaks() override;
  double SongMs() const override;
  std::vector<Peak> Columns(double fromMs, double toMs, int columns) const override;
  bool Complete() const override { return done_; }

 private:
  SongPeaks() = default;
  void ReadAll(std::unique_ptr<class SongSource> source, HWND window, UINT message);

  mutable std::mutex mutex_;
  std::vector<Peak> blocks_;  // the blocks read so far, for the strip
  double blockMs_ = 1.0;
  double totalMs_ = 0.0;  // the song's length once it is known
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::thread reader_;
};

}  // namespace velomar
