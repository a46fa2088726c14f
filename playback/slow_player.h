// The program's own sound path for slowed songs: the song read as samples,
// stretched to the speed at its own pitch, played through the wave output.
//
// A feeding thread of its own keeps the wave output's buffers full, woken
// by the output's event as each buffer is played: a window busy with a
// dialog or a long load does not starve the sound. The window only asks the
// song time and hears of the end by a posted message.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "lyrics/time_stretch.h"
#include "system/song_source.h"
#include "ui/owned.h"

namespace velomar {

struct SongEndNotice {
  HWND window;
  UINT message;
  WPARAM id;
};

class SlowPlayer {
 public:
  SlowPlayer() = default;
  ~SlowPlayer() { Stop(); }
  SlowPlayer(const SlowPlayer&) = delete;
  SlowPlayer& operator=(const SlowPlayer&) = delete;

  // Plays `source` from `startMs` of the song at `speed`; once the song has
  // played to its end, `end` is posted. False, playing nothing, when the wave
  // output does not open or the song cannot be moved to `startMs`.
  bool Start(std::unique_ptr<SongSource> source, double speed, double startMs,
             const SongEndNotice& end);
  // The sound stops where it is; so does the song time.
  void Pause();
  // Stops the sound at once and lets the device go.
  void Stop();
  bool Active() const { return out_ != nullptr; }
  // The song time of the sound being heard now, in milliseconds: the frames
  // played, each standing for `speed` frames of the song, from where it
  // started; between two played buffers, the real time since the last one.
  double SongMs() const;

 private:
  struct Buffer {
    WAVEHDR header{};
    std::vector<std::int16_t> samples;
    bool queued = false;
  };
  void Feed();
  bool Fill(Buffer& buffer);
  void TakeDone(Buffer& buffer);

  HWAVEOUT out_ = nullptr;
  EventOwner wake_;
  std::unique_ptr<SongSource> source_;
  std::unique_ptr<TimeStretch> stretch_;
  int channels_ = 0;  // of the output: the song's first two
  std::uint32_t rate_ = 0;
  double speed_ = 1.0;
  double startMs_ = 0;
  SongEndNotice end_{};
  std::array<Buffer, 6> buffers_;
  std::vector<float> read_, stretched_;
  bool sourceEnded_ = false;
  std::atomic<bool> quit_{false};
  std::thread feeder_;
  // What the song time is read from, shared with the feeding thread.
  mutable std::mutex lock_;
  std::int64_t played_ = 0;           // output frames of the buffers played
  std::int64_t playedAt_ = 0;         // when the last of them ended (us)
  std::deque<std::int64_t> waiting_;  // output frames of each queued buffer
  bool paused_ = false;
  double pausedMs_ = 0;
};

}  // namespace velomar
