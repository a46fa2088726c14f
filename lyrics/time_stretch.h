// Slower playback at the song's own pitch: waveform-similarity overlap-add.
// Windows of 30 ms are laid down every 15 ms of output; each is taken from
// the source about 15 ms x speed after the one before, moved by up to 10 ms
// to where the source looks most like the natural continuation of the window
// before, so that the overlaps add up without a jump.
//
// Streaming: frames are pushed in as they are read and pulled out as the
// sound card wants them. The output keeps to the nominal rate: output frame
// j stands for source frame j x speed, counted from the first frame pushed,
// which is how a player turns what it has played into song time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velomar {

class TimeStretch {
 public:
  // `speed` in (0, 1]; 1 passes the frames through unchanged.
  TimeStretch(int channels, std::uint32_t rate, double speed);

  // Interleaved frames, `count` of them.
  void Push(const float* frames, std::size_t count);
  // No more input: what is left comes out, and the output ends at exactly
  // the pushed frames / speed.
  void Finish();
  // Up to `most` interleaved frames of output; fewer when more input is
  // needed first (or, after Finish, at the end).
  std::size_t Pull(float* out, std::size_t most);
  std::size_t Available() const { return (ready_.size() - readAt_) / channels_; }
  bool Ended() const { return finished_ && Available() == 0 && emitted_ >= target_; }

  int channels() const { return channels_; }
  double speed() const { return speed_; }
  std::int64_t FramesPushed() const { return pushed_; }

 private:
  bool StepReady() const;
  void Step();
  std::int64_t BestStart(std::int64_t centre) const;
  double Mono(std::int64_t frame) const;
  float At(std::int64_t frame, int channel) const;
  void Emit(const float* frames, std::size_t count);
  void DropOldInput();

  int channels_;
  double speed_;
  int window_;  // frames, even
  int hop_;     // output frames per step: half a window
  int reach_;   // how far a window may move from its nominal place
  int coarse_;  // the stride of the first, rough search
  std::vector<float> shape_;
  std::vector<float> input_;  // interleaved, from frame inputStart_
  std::int64_t inputStart_ = 0;
  std::int64_t pushed_ = 0;
  std::vector<float> sum_;  // the overlap-add of the last windows
  std::vector<float> ready_;
  std::size_t readAt_ = 0;
  std::int64_t steps_ = 0;
  std::int64_t last_ = -1;  // where the last window started in the source
  std::int64_t emitted_ = 0;
  std::int64_t target_ = 0;
  bool finished_ = false;
};

}  // namespace velomar
