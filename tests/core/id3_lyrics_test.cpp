// Lyrics inside an mp3's ID3v2 tag: tags built here give the records of the
// LRC they stand for, and bad tags give none.
#include "lyrics/id3_lyrics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lrc_commands_support.h"
#include "lyrics/memory_stream.h"

namespace velomar {
namespace {

using namespace std::string_literals;
using lrc_testing::Utf16;

std::string Syncsafe(std::size_t n) {
  return {char(n >> 21 & 0x7F), char(n >> 14 & 0x7F), char(n >> 7 & 0x7F), char(n & 0x7F)};
}

// A frame of a tag of version `v`, `format` its second flag byte.
std::string Frame(int v, const std::string& id, const std::string& data, char format = 0) {
  const std::size_t n = data.size();
  if (v == 2) return id + std::string{char(n >> 16), char(n >> 8), char(n)} + data;
  const std::string plain{char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
  return id + (v == 3 ? plain : Syncsafe(n)) + '\0' + format + data;
}

std::string Tag(int v, const std::string& frames, char flags = 0) {
  return "ID3"s + char(v) + '\0' + flags + Syncsafe(frames.size()) + frames;
}

std::string Unsync(const std::string& bytes) {
  std::string out;
  for (char c : bytes) out += c == '\xFF' ? "\xFF\0"s : std::string(1, c);
  return out;
}

const std::string kSylt = "\0eng\x02\x01"s;  // Latin-1, milliseconds, lyrics
const std::string kAB = "d\0a\0\0\0\x03\xe8"s + "b\0\0\0\x09\xc4"s;  // a at 1000, b at 2500
const std::string kUtf16Sylt =
    "\x01"
    "eng\x02\x01"s +
    Utf16(std::u16string(60, u'd'), false) + "\0\0"s +  // a long descriptor, a mark each
    Utf16(u"a", true) + "\0\0\0\0\x03\xe8"s + Utf16(u"b", true).substr(2) + "\0\0\0\0\x09\xc4"s;
const std::string kUslt = "\x03jpn\0[offset:500]\n[00:01.00]\xe3\x81\x82\n[00:02.00]b"s;

TEST(Mp3Lyrics, GivesTheRecordsOfTheLrcItsTagStandsFor) {
  struct Case {
    std::string name, song, lrc;  // lrc empty: nothing loaded
  } const cases[] = {
      {"ms rounded once", Tag(3, Frame(3, "SYLT", kSylt + "\0a\0\0\0\x04\x15"s)), "[00:01.045]a"},
      {"2.2 SLT", Tag(2, Frame(2, "SLT", kSylt + kAB)), "[00:01.00]a\n[00:02.50]b"},
      {"2.4 UTF-16, own marks, syncsafe frame size", Tag(4, Frame(4, "SYLT", kUtf16Sylt)),
       "[00:01.00]a\n[00:02.50]b"},
      {"MPEG 1 layer III frames",
       Tag(3, Frame(3, "SYLT", "\0eng\x01\x01\0a\0\0\0\0\x64"s)) + "\0\0\xff\xfb\x90\x00"s,
       "[00:02.612]a"},
      {"MPEG frames, no audio", Tag(3, Frame(3, "SYLT", "\0eng\x01\x01\0a\0\0\0\0\x64"s)), ""},
      {"2.4 USLT UTF-8", Tag(4, Frame(4, "USLT", kUslt)), kUslt.substr(5)},
      {"USLT UTF-16 BE",
       Tag(3, Frame(3, "USLT", "\x02xxx\0\0"s + Utf16(u"[0:01]a", true).substr(2))), "[0:01]a"},
      {"USLT without stamps", Tag(3, Frame(3, "USLT", "\x03jpn\0a\nb"s)), ""},
      {"2.3 unsynchronised",
       Tag(3, Unsync(Frame(3, "SYLT", kSylt + "\0caf\xff\0\0\0\xff\0"s)), '\x80'),
       "[01:05.280]caf\xc3\xbf"},
      {"2.4 frame unsynchronised, data length",
       Tag(4, Frame(4, "SYLT", "\0\0\0\x0d"s + Unsync(kSylt + "\0a\0\0\0\xff\xe0"s), '\x03')),
       "[01:05.504]a"},
      {"2.3 extended header",
       Tag(3, "\0\0\0\x06"s + "\0\0\0\0\0\0"s + Frame(3, "SYLT", kSylt + kAB), '\x40'),
       "[00:01.00]a\n[00:02.50]b"},
      {"2.4 extended header", Tag(4, "\0\0\0\x06\x01\0"s + Frame(4, "SYLT", kSylt + kAB), '\x40'),
       "[00:01.00]a\n[00:02.50]b"},
      {"Shift-JIS as Latin-1", Tag(3, Frame(3, "SYLT", kSylt + "\0\x82\xa0\0\0\0\x03\xe8"s)),
       "[00:01.00]\xe3\x81\x82"},
      {"no descriptor, a stamp in a text",
       Tag(3, Frame(3, "SYLT", kSylt + "[0:09] a\0\0\0\x03\xe8"s)), "[00:01.00]a"},
      {"a cut entry", Tag(3, Frame(3, "SYLT", kSylt + kAB.substr(0, 12))), "[00:01.00]a"},
      {"syllables",
       Tag(3, Frame(3, "SYLT",
                    kSylt +
                        "\0\nHel\0\0\0\x03\xe8"
                        "lo\n\0\0\0\x05\xdc"s +
                        "world\0\0\0\x07\xd0"s)),
       "[00:01.00]Hello\n[00:02.00]world"},
      {"SYLT in the first lyrics' language",
       Tag(3, Frame(3, "USLT", "\0JPN\0a"s) + Frame(3, "SYLT", kSylt + kAB) +
                  Frame(3, "SYLT", "\0jpn\x02\x02\0c\0\0\0\0\0"s) +
                  Frame(3, "SYLT", "\0jpn\x02\x01\0c\0\0\0\0\0"s)),
       "[00:00.00]c"},
      {"truncated", Tag(3, Frame(3, "SYLT", kSylt + kAB)).substr(0, 30), ""},
      {"frame past the tag", Tag(3, Frame(3, "SYLT", kSylt + kAB) + "TIT2\0\0\0\x09\0\0x"s), ""},
      {"16 MB", Tag(3, Frame(3, "SYLT", kSylt + kAB) + std::string((16 << 20) - 30, '\0')),
       "[00:01.00]a\n[00:02.50]b"},
      {"over 16 MB", Tag(3, Frame(3, "SYLT", kSylt + kAB) + std::string((16 << 20) - 29, '\0')),
       ""},
      {"no tag", "\xff\xfb\x90\x00"s, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<LyricRecord> records, expected;
    Notes notes;
    MemorySource song(c.song);
    EXPECT_EQ(Mp3LyricsToRecords(song, records, notes), !c.lrc.empty());
    ASSERT_TRUE(c.lrc.empty() || LrcToRecords(c.lrc, LrcEncoding::kUtf8, expected, notes));
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].time, expected[i].time);
      EXPECT_EQ(records[i].phrase, expected[i].phrase);
    }
  }
}

}  // namespace
}  // namespace velomar
