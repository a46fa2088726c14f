#include "lyrics/mpeg_frame.h"

namespace velomar {

namespace {

// kbps by [MPEG 1 or not][layer - 1][index].
const short kKbps[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};

std::uint32_t Big(const unsigned char* b) {
  return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

}  // namespace

bool ReadMpegHeader(const unsigned char h[4], MpegFrame& frame) {
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return false;
  const int id = (h[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
  const int layerBits = (h[1] >> 1) & 3;
  const int kbpsIndex = h[2] >> 4;
  const int rateIndex = (h[2] >> 2) & 3;
  if (id == 1 || layerBits == 0 || kbpsIndex == 0 || kbpsIndex == 15 || rateIndex == 3)
    return false;
  static const std::uint32_t kRates[] = {44100, 48000, 32000};
  const bool mpeg1 = id == 3;
  frame.version = mpeg1 ? 10 : id == 2 ? 20 : 25;
  frame.layer = 4 - layerBits;
  frame.kbps = kKbps[mpeg1 ? 0 : 1][frame.layer - 1][kbpsIndex];
  frame.rate = kRates[rateIndex] >> (mpeg1 ? 0 : id == 2 ? 1 : 2);
  frame.channels = (h[3] >> 6) == 3 ? 1 : 2;
  const int padding = (h[2] >> 1) & 1;
  const std::uint32_t bits = static_cast<std::uint32_t>(frame.kbps) * 1000;
  if (frame.layer == 1) {
    frame.samples = 384;
    frame.bytes = static_cast<int>((12 * bits / frame.rate + padding) * 4);
  } else {
    frame.samples = frame.layer == 3 && !mpeg1 ? 576 : 1152;
    frame.bytes = static_cast<int>(frame.samples / 8 * bits / frame.rate + padding);
  }
  return true;
}

bool SameStream(const MpegFrame& a, const MpegFrame& b) {
  return a.version == b.version && a.layer == b.layer && a.rate == b.rate &&
         a.channels == b.channels;
}

std::uint64_t Id3v2Bytes(const unsigned char h[10]) {
  if (h[0] != 'I' || h[1] != 'D' || h[2] != '3' || h[3] == 0xFF || h[4] == 0xFF) return 0;
  std::uint64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (h[i] & 0x80) return 0;
    size = size << 7 | h[i];
  }
  return 10 + size + ((h[5] & 0x10) != 0 ? 10 : 0);
}

bool IsInfoFrame(const std::string& frame, const MpegFrame& header, std::int64_t& frames) {
  frames = -1;
  const auto* b = reinterpret_cast<const unsigned char*>(frame.data());
  // The side information comes first: its size depends on version and mode.
  const std::size_t side =
      header.version == 10 ? (header.channels == 1 ? 17 : 32) : (header.channels == 1 ? 9 : 17);
  const std::size_t at = 4 + side;
  if (frame.size() >= at + 12 &&
      (frame.compare(at, 4, "Xing") == 0 || frame.compare(at, 4, "Info") == 0)) {
    if (Big(b + at + 4) & 1) frames = Big(b + at + 8);
    return true;
  }
  if (frame.size() >= 36 + 18 && frame.compare(36, 4, "VBRI") == 0) {
    frames = Big(b + 36 + 14);
    return true;
  }
  return false;
}

}  // namespace velomar
