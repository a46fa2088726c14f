// The lyrics as SRT and ASS subtitles, byte for byte, and the commands that
// write them.
#include <gtest/gtest.h>

#include "lrc_commands_support.h"
#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_document.h"
#include "lyrics/memory_stream.h"
#include "lyrics/subtitle_write.h"

namespace velomar {
namespace {

// Words with an end stamp, a translation row and characters ASS reads as
// codes; text before the first stamp; a line ended by an empty one; a last
// word without an end stamp, at the end of the song.
const std::string kSong =
    "[00:01.00]<00:01.00>Hi {a}\\b <00:01.50>you<00:02.00>\n[00:01.00]row\n"
    "[00:03.00]x <00:03.20>la\n[00:05.00]\n[00:06.00]<00:06.00>long\n";

TEST(Subtitles, OneSmallSongAsSrtAndAss) {
  LyricDocument doc;
  MemorySource source(kSong);
  Notes notes;
  ASSERT_TRUE(LoadDocument(doc, &source, true, nullptr, notes));
  const std::vector<SubtitleCue> cues = SubtitleCues(doc.Table(), notes);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(SrtBytes(doc.Table(), cues),
            "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi {a}\\b you\r\nrow\r\n\r\n"
            "2\r\n00:00:03,000 --> 00:00:05,000\r\nx la\r\n\r\n"
            "3\r\n00:00:06,000 --> 00:00:14,000\r\nlong\r\n\r\n");
  const std::string ass = AssBytes(doc.Table(), cues);
  const std::size_t events = ass.find("[Events]");
  ASSERT_NE(events, std::string::npos);
  EXPECT_EQ(
      ass.substr(0, events),
      "\xef\xbb\xbf[Script Info]\r\nScriptType: v4.00+\r\nPlayResX: 1280\r\nPlayResY: 720\r\n"
      "WrapStyle: 0\r\nScaledBorderAndShadow: yes\r\n\r\n[V4+ Styles]\r\n"
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
      "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
      "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n"
      "Style: Lyric,\xef\xbc\xad\xef\xbc\xb3 \xef\xbc\xb0\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83"
      "\xe3\x82\xaf,56,&H00FFC85A,&H00FFFFFF,&H00301810,&H00000000,-1,0,0,0,100,100,0,0,1,3,"
      "0,2,40,40,90,1\r\n"
      "Style: Translation,\xef\xbc\xad\xef\xbc\xb3 \xef\xbc\xb0\xe3\x82\xb4\xe3\x82\xb7\xe3\x83"
      "\x83\xe3\x82\xaf,40,&H00E1E1E1,&H00E1E1E1,&H00301810,&H00000000,-1,0,0,0,100,100,0,0,"
      "1,3,0,2,40,40,36,1\r\n\r\n");
  EXPECT_EQ(ass.substr(events),
            "[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
            "Effect, Text\r\n"
            "Dialogue: 0,0:00:01.00,0:00:02.00,Lyric,,0,0,0,,"
            "{\\kf50}Hi \\{a}\\\xe2\x81\xa0"
            "b {\\kf50}you\r\n"
            "Dialogue: 0,0:00:01.00,0:00:02.00,Translation,,0,0,0,,row\r\n"
            "Dialogue: 0,0:00:03.00,0:00:05.00,Lyric,,0,0,0,,{\\kf0}x {\\k20}{\\kf180}la\r\n"
            "Dialogue: 0,0:00:06.00,0:00:14.00,Lyric,,0,0,0,,{\\kf300}long{\\k500}\r\n");
}

// A lyric file's Shift-JIS lines; one the display never reaches is named.
TEST(Subtitles, ToSrtReadsALyricFile) {
  const lrc_testing::Outcome run = lrc_testing::Convert(
      ToSrtCommand, "10,\x82\xa0\r\n360000,x\r\n350000,late\r\n360010,\r\n");  // あ
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.written,
            "1\r\n00:00:01,000 --> 00:00:09,000\r\n\xe3\x81\x82\r\n\r\n"
            "2\r\n10:00:00,000 --> 10:00:01,000\r\nx\r\n\r\n");
  EXPECT_EQ(run.out, "OUT: 2 lines\n");
  EXPECT_EQ(run.err,
            "velomar-lyrics: IN: entry 2: not after the entry before, left out as the display "
            "never shows it\n");
}

}  // namespace
}  // namespace velomar
