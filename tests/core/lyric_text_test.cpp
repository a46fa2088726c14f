// Phrases across the lyric file's boundary: Unicode inside, the file's
// Shift-JIS bytes kept where the text alone would not give them back, and a
// character Shift-JIS lacks refused rather than written as "?"; and every
// character kept through the program's LRC save and load.
#include "lyrics/lyric_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"

namespace velomar {
namespace {

TEST(LyricText, AFileReadAndSavedKeepsItsBytesAndRefusesWhatItCannotHold) {
  struct Row {
    std::string file;   // the lyric file's phrase
    std::string text;   // as the lyrics hold it
    std::string typed;  // then typed over it ("": left alone)
    std::string saved;  // what a save writes; "-" refused
  } const rows[] = {
      {"\x82\xa0", "\xe3\x81\x82", "", "\x82\xa0"},                      // あ
      {"\xed\x40", "\xe7\xba\x8a", "", "\xed\x40"},                      // a twin code
      {"\xed\x40", "\xe7\xba\x8a", "\xe7\xba\x8a", "\xed\x40"},          // retyped alike
      {"\xed\x40", "\xe7\xba\x8a", "\xe7\xba\x8a!", "\xfa\x5c!"},        // changed
      {"\x80\x82\xa0", "\xef\xbf\xbd\xe3\x81\x82", "", "\x80\x82\xa0"},  // no character
      {"a", "a", "\xec\x95\x88\xeb\x85\x95", "-"},                       // 안녕
      {"a", "a", "caf\xc3\xa9", "-"},                                    // café
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file + " " + row.typed);
    auto lyrics = std::make_unique<LyricTable>();
    lyrics->phrase[0] = row.file;
    TakeFromFile(*lyrics, 0);
    EXPECT_EQ(lyrics->phrase[0], row.text);
    if (!row.typed.empty()) lyrics->phrase[0] = row.typed;
    auto file = std::make_unique<LyricTable>();
    const int refused = ToFileTable(*lyrics, 1, *file);
    EXPECT_EQ(refused, row.saved == "-" ? 0 : -1);
    EXPECT_EQ(refused < 0 ? file->phrase[0] : "-", row.saved);
  }
}

TEST(LyricText, EveryCharacterComesBackThroughTheProgramsLrc) {
  const std::vector<LyricRecord> lines = {
      {10, "\xec\x95\x88\xeb\x85\x95\xed\x95\x98\xec\x84\xb8\xec\x9a\x94"},  // 안녕하세요
      {20, "\xe8\xbf\x99\xe6\x98\xaf"},                                      // 这是
      {30, "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"},              // Привет
      {40, "\xf0\x9f\x8e\xb5 caf\xc3\xa9 \xce\x86\xce\xb8\xce\xae\xce\xbd\xce\xb1"},
      {50, "a\xc2\xa0\xe2\x80\x93 b"},  // a no-break space and an en dash
  };
  std::string lrc;
  Notes notes;
  ASSERT_TRUE(RecordsToLrc(lines, lrc, notes, LrcPhrases::kUnicode));
  EXPECT_TRUE(notes.empty());
  std::vector<LyricRecord> back;
  ASSERT_TRUE(LrcToRecords(lrc, LrcEncoding::kDetect, back, notes, LrcPhrases::kUnicode));
  ASSERT_EQ(back.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(back[i].phrase, lines[i].phrase);

  // The phrase limit is the lyric file's: 3001 stamps sharing Japanese that
  // Shift-JIS holds in 7.6 MB load, though their UTF-8 takes 11 MB.
  std::string shared;
  for (int i = 0; i < kLyricEntries; ++i) {
    shared += "[" + std::to_string(i / 60) + ":" + std::to_string(10 + i % 50) + ".00]";
  }
  for (int i = 0; i < 1267; ++i) shared += "\xe3\x81\x82";  // あ
  EXPECT_TRUE(LrcToRecords(shared, LrcEncoding::kDetect, back, notes, LrcPhrases::kUnicode));
}

}  // namespace
}  // namespace velomar
