// The ID3v2 tag's structure, versions 2.2, 2.3 and 2.4.
//
// A 10-byte header ("ID3", version, revision, flags, a syncsafe size) comes
// first; the size counts what follows, without a 2.4 footer. A tag of a
// version not known, one larger than kId3TagBytes, or one the file ends
// inside is not read at all.
//
// Unsynchronisation (an 0x00 put after every 0xFF that could be taken for
// an audio frame's sync) covers the whole tag in 2.2 and 2.3, so it is
// undone before the frames are walked; in 2.4 it is done frame by frame,
// flagged in the header for all frames or in a frame's own flags, and the
// frame sizes count the bytes as stored.
//
// Frame sizes are 3 bytes in 2.2, 4 in 2.3 and syncsafe in 2.4. The frames
// end at padding (a zero byte) or at an id that is no frame id; a frame
// that runs past the tag makes the whole tag bad, since its size cannot be
// trusted and neither can anything read by it. Compressed and encrypted
// frames are left out; a group byte and a 2.4 data length are skipped.
#include "lyrics/id3_tag.h"

namespace velomar {

namespace {

// False when a byte has its top bit set, which no syncsafe number has.
bool Syncsafe(const std::string& bytes, std::size_t pos, std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[pos + i]);
    if (b & 0x80) return false;
    value = value << 7 | b;
  }
  return true;
}

void Resync(std::string& bytes) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[out++] = bytes[i];
    if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
  }
  bytes.resize(out);
}

bool FrameIdByte(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool Bad(Notes& notes, const std::string& why) {
  notes.push_back({true, "ID3v2 tag " + why});
  return false;
}

// A frame's data as the frame itself lays it out; false for one left out.
bool FrameData(int version, bool tagUnsync, unsigned char format, std::string& data) {
  if (version == 3) {
    if (format & 0xC0) return false;  // compressed, encrypted
    if (format & 0x20) data.erase(0, 1);
    return true;
  }
  if (version == 4) {
    if (format & 0x0C) return false;  // compressed, encrypted
    const std::size_t extras = (format & 0x40 ? 1 : 0) + (format & 0x01 ? 4 : 0);
    if (data.size() < extras) return false;
    data.erase(0, extras);
    if (tagUnsync || (format & 0x02)) Resync(data);
  }
  return true;
}

// A tag as its header gives it, and its bytes after the header.
struct Tag {
  int version;
  unsigned char flags;
  std::string body;  // unsynchronisation undone in 2.2 and 2.3
  bool Unsync() const { return flags & 0x80; }
};

// The header and the body it declares; false, with an error note, for no
// tag or one not read.
bool ReadTag(ByteSource& song, Tag& tag, Notes& notes) {
  std::string header(10, '\0');
  std::uint32_t size;
  if (song.Read(&header[0], header.size()) != header.size() || header.compare(0, 3, "ID3") != 0) {
    notes.push_back({true, "no ID3v2 tag"});
    return false;
  }
  tag.version = header[3];
  tag.flags = static_cast<unsigned char>(header[5]);
  if (tag.version < 2 || tag.version > 4) return Bad(notes, "of a version not read");
  // 2.2 flags a compression that was never defined.
  if (!Syncsafe(header, 6, size) || (tag.version == 2 && (tag.flags & 0x40))) {
    return Bad(notes, "not understood");
  }
  if (size > kId3TagBytes) return Bad(notes, "larger than 16 MB");
  tag.body.assign(size, '\0');
  if (song.Read(&tag.body[0], size) != size) return Bad(notes, "cut short");
  if (tag.Unsync() && tag.version < 4) Resync(tag.body);
  return true;
}

// Where the frames begin: after the extended header, when there is one.
// False for an extended header not understood.
bool FramesStart(const Tag& tag, std::size_t& pos) {
  pos = 0;
  if (tag.version < 3 || !(tag.flags & 0x40)) return true;
  std::uint32_t extended = 0;
  bool read = tag.body.size() >= 4;
  // 2.3 counts the extended header without its size field, 2.4 with it;
  // a size that wraps around comes out below 4.
  if (read && tag.version == 3) extended = BigEndian(tag.body, 0, 4) + 4;
  if (read && tag.version == 4) read = Syncsafe(tag.body, 0, extended);
  if (!read || extended < 4 || extended > tag.body.size()) return false;
  pos = extended;
  return true;
}

// The lyric frames from `pos` to the padding or the end of the tag.
bool ReadFrames(const Tag& tag, std::size_t pos, std::vector<Id3Frame>& frames, Notes& notes) {
  const std::string& body = tag.body;
  const std::size_t idBytes = tag.version == 2 ? 3 : 4;
  const std::size_t headerBytes = tag.version == 2 ? 6 : 10;
  while (body.size() - pos >= headerBytes && FrameIdByte(body[pos])) {
    const std::string id = body.substr(pos, idBytes);
    std::uint32_t frameSize = 0;
    if (tag.version == 2) {
      frameSize = BigEndian(body, pos + 3, 3);
    } else if (tag.version == 3) {
      frameSize = BigEndian(body, pos + 4, 4);
    } else if (!Syncsafe(body, pos + 4, frameSize)) {
      return Bad(notes, "not understood");
    }
    if (frameSize > body.size() - pos - headerBytes) return Bad(notes, "frame runs past the tag");
    const unsigned char format = tag.version == 2 ? 0 : static_cast<unsigned char>(body[pos + 9]);
    const bool synced = id == "SYLT" || id == "SLT";
    if (synced || id == "USLT" || id == "ULT") {
      Id3Frame frame{synced, body.substr(pos + headerBytes, frameSize)};
      if (FrameData(tag.version, tag.Unsync(), format, frame.data)) {
        frames.push_back(std::move(frame));
      }
    }
    pos += headerBytes + frameSize;
  }
  return true;
}

}  // namespace

bool ReadId3Frames(ByteSource& song, std::vector<Id3Frame>& frames, Notes& notes) {
  frames.clear();
  Tag tag;
  std::size_t pos;
  if (!ReadTag(song, tag, notes)) return false;
  if (!FramesStart(tag, pos)) return Bad(notes, "not understood");
  if (!ReadFrames(tag, pos, frames, notes)) return false;
  if (tag.version == 4 && (tag.flags & 0x10)) {
    char footer[10];
    song.Read(footer, sizeof footer);
  }
  return true;
}

bool ReadMpegTiming(ByteSource& audio, std::int64_t& samplesPerFrame, std::int64_t& sampleRate) {
  constexpr int kScanBytes = 64 * 1024;
  int b0 = -1, b1 = -1;
  for (int i = 0, b2; i < kScanBytes && (b2 = audio.Next()) >= 0; ++i, b0 = b1, b1 = b2) {
    if (b0 != 0xFF || (b1 & 0xE0) != 0xE0) continue;
    const int version = (b1 >> 3) & 3;  // 0: MPEG 2.5, 1: none, 2: MPEG 2, 3: MPEG 1
    const int layer = (b1 >> 1) & 3;    // 1: III, 2: II, 3: I, 0: none
    const int rate = (b2 >> 2) & 3;
    if (version == 1 || layer == 0 || (b2 >> 4) == 15 || rate == 3) continue;
    static const std::int64_t kRates[] = {44100, 48000, 32000};
    sampleRate = kRates[rate] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    samplesPerFrame = layer == 3 ? 384 : layer == 2 || version == 3 ? 1152 : 576;
    return true;
  }
  return false;
}

}  // namespace velomar
