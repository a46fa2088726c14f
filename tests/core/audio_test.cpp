// The wave header reader and the time-stretch of slowed playback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "lyrics/memory_stream.h"
#include "lyrics/time_stretch.h"
#include "lyrics/wave_format.h"

namespace velomar {
namespace {

std::string Le(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

std::string Chunk(const std::string& id, const std::string& body, std::uint32_t size = ~0u) {
  std::string padded = body + (body.size() % 2 != 0 ? std::string(1, '\0') : "");
  return id + Le(size == ~0u ? static_cast<std::uint32_t>(body.size()) : size, 4) + padded;
}

std::string Fmt(int tag, int channels, int rate, int bits, int align,
                const std::string& more = "") {
  return Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) +
         Le(bits, 2) + more;
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

// EXTENSIBLE's tail: cbSize 22, valid bits, channel mask, subformat GUID.
std::string Extensible(int subTag) {
  return Le(22, 2) + Le(24, 2) + Le(3, 4) + Le(subTag, 2) +
         std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
}

TEST(WaveHeader, RefusesWhatItCannotPlayAndCutsAClaimPastTheEnd) {
  const std::string stereo16 = Chunk("fmt ", Fmt(1, 2, 44100, 16, 4));
  const std::string eightBytes = Chunk("data", "abcdefgh");
  struct Case {
    const char* name;
    std::string file;
    WaveRefusal why;
    std::uint64_t dataOffset, dataBytes;
  } const cases[] = {
      {"truncated", std::string("RIFF\x10\0\0", 7), WaveRefusal::Truncated, 0, 0},
      {"format chunk cut", Riff("fmt " + Le(16, 4) + std::string("\x01\0\x02", 3)),
       WaveRefusal::Truncated, 0, 0},
      {"not RIFF", "RIFX" + Le(4, 4) + "WAVE" + stereo16 + eightBytes, WaveRefusal::NotRiff, 0, 0},
      {"AVI", "RIFF" + Le(4, 4) + "AVI " + stereo16, WaveRefusal::NotRiff, 0, 0},
      {"no fmt", Riff(eightBytes), WaveRefusal::NoFormat, 0, 0},
      {"no data", Riff(stereo16 + Chunk("LIST", "xyz")), WaveRefusal::NoData, 0, 0},
      {"ADPCM", Riff(Chunk("fmt ", Fmt(2, 2, 44100, 4, 2048)) + eightBytes),
       WaveRefusal::UnsupportedTag, 0, 0},
      {"EXTENSIBLE of mp3",
       Riff(Chunk("fmt ", Fmt(0xFFFE, 2, 44100, 24, 6, Extensible(0x55))) + eightBytes),
       WaveRefusal::UnsupportedTag, 0, 0},
      {"zero channels", Riff(Chunk("fmt ", Fmt(1, 0, 44100, 16, 0)) + eightBytes),
       WaveRefusal::NoChannels, 0, 0},
      {"zero rate", Riff(Chunk("fmt ", Fmt(1, 1, 0, 16, 2)) + eightBytes), WaveRefusal::NoRate, 0,
       0},
      {"12 bits", Riff(Chunk("fmt ", Fmt(1, 1, 8000, 12, 2)) + eightBytes),
       WaveRefusal::UnsupportedBits, 0, 0},
      {"16-bit float", Riff(Chunk("fmt ", Fmt(3, 1, 8000, 16, 2)) + eightBytes),
       WaveRefusal::UnsupportedBits, 0, 0},
      {"block align", Riff(Chunk("fmt ", Fmt(1, 2, 44100, 16, 2)) + eightBytes),
       WaveRefusal::BlockAlignMismatch, 0, 0},
      {"odd chunk first", Riff(Chunk("LIST", "odd") + stereo16 + eightBytes), WaveRefusal::None, 56,
       8},
      {"past the end", Riff(stereo16 + Chunk("data", "abcdef", 1000)), WaveRefusal::None, 44, 6},
      {"EXTENSIBLE PCM",
       Riff(Chunk("fmt ", Fmt(0xFFFE, 2, 48000, 24, 6, Extensible(1))) + eightBytes),
       WaveRefusal::None, 68, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySource file(c.file);
    WaveFormat format;
    EXPECT_EQ(ReadWaveHeader(file, c.file.size(), format), c.why);
    if (c.why != WaveRefusal::None) continue;
    EXPECT_EQ(format.dataOffset, c.dataOffset);
    EXPECT_EQ(format.dataBytes, c.dataBytes);
    EXPECT_EQ(file.Position(), c.dataOffset) << "left at the first sample";
  }
}

TEST(WaveHeader, SamplesOfEveryWidthReadAsMinusOneToOne) {
  struct Case {
    int tag, bits;
    std::string bytes;
    std::vector<float> want;
  } const cases[] = {
      {1, 8, std::string("\x00\x80\xFF", 3), {-1.0f, 0.0f, 127 / 128.0f}},
      {1, 16, std::string("\x00\x80\xFF\x7F\xFF\xFF", 6), {-1.0f, 32767 / 32768.0f, -1 / 32768.0f}},
      {1, 24, std::string("\x00\x00\x80\x00\x00\x40", 6), {-1.0f, 0.5f}},
      {1, 32, std::string("\x00\x00\x00\xC0", 4), {-0.5f}},
      {3, 32, std::string("\x00\x00\x40\x3F", 4), {0.75f}},
      {3, 64, std::string("\0\0\0\0\0\0\xD0\xBF", 8), {-0.25f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    WaveFormat format;
    format.isFloat = c.tag == 3;
    format.channels = 1;
    format.bits = c.bits;
    std::vector<float> got(c.want.size());
    SamplesToFloat(format, reinterpret_cast<const unsigned char*>(c.bytes.data()), got.size(),
                   got.data());
    EXPECT_EQ(got, c.want);
  }
}

// The largest step from one sample to the next.
float SteepestStep(const std::vector<float>& x, int channels) {
  float most = 0;
  for (std::size_t i = channels; i < x.size(); ++i)
    most = std::max(most, std::fabs(x[i] - x[i - channels]));
  return most;
}

TEST(TimeStretch, SlowsATonePitchKeptWithoutAJump) {
  constexpr int kRate = 44100;
  // Two seconds, 880 whole periods: the tone ends at a zero crossing.
  std::vector<float> tone(2 * kRate * 2);
  for (std::size_t i = 0; i < tone.size() / 2; ++i) {
    tone[2 * i] = tone[2 * i + 1] =
        static_cast<float>(0.5 * std::sin(2 * 3.14159265358979 * 440.0 * i / kRate));
  }
  for (double speed : {0.5, 0.75}) {
    SCOPED_TRACE(speed);
    TimeStretch stretch(2, kRate, speed);
    std::vector<float> out, piece(2 * 777);
    // Pushed and pulled in pieces of uneven sizes, as a player does.
    for (std::size_t at = 0; at < tone.size(); at += 2 * 1000) {
      stretch.Push(tone.data() + at, std::min<std::size_t>(1000, (tone.size() - at) / 2));
      for (std::size_t got; (got = stretch.Pull(piece.data(), 777)) > 0;)
        out.insert(out.end(), piece.begin(), piece.begin() + 2 * got);
    }
    stretch.Finish();
    for (std::size_t got; (got = stretch.Pull(piece.data(), 777)) > 0;)
      out.insert(out.end(), piece.begin(), piece.begin() + 2 * got);
    EXPECT_TRUE(stretch.Ended());
    const double frames = out.size() / 2.0;
    EXPECT_NEAR(frames / (tone.size() / 2.0), 1 / speed, 0.01 / speed);
    // Rising zero crossings of the left channel, away from both ends.
    int rising = 0;
    const std::size_t from = kRate / 10, to = static_cast<std::size_t>(frames) - kRate / 10;
    for (std::size_t i = from; i < to; ++i) rising += out[2 * i] <= 0 && out[2 * i + 2] > 0;
    EXPECT_NEAR(rising * kRate / static_cast<double>(to - from), 440.0, 4.4);
    EXPECT_LE(SteepestStep(out, 2), SteepestStep(tone, 2) * 1.02f);
    EXPECT_EQ(out[0], out[1]) << "the channels stay together";
  }
}

}  // namespace
}  // namespace velomar
