// The program's LRC load: the table a chosen LRC file leaves, the records
// from-lrc reads with every character kept (written here as the Shift-JIS
// from-lrc writes, where it can), or, when from-lrc would refuse it, the
// table untouched and the reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_text.h"
#include "lyrics/memory_stream.h"
#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"
#include "test_support.h"

namespace velomar {
namespace {

using testing::MarkedTable;
using testing::ReadBytes;

std::string Fixture(const std::string& name) { return ReadBytes(VELOMAR_LRC_FIXTURES "/" + name); }

struct Loaded {
  bool ok;
  std::vector<LyricRecord> first;  // entries 0.. up to the first untouched mark
  int steps;                       // progress steps run
  std::string errors;              // error notes, one per line
};

Loaded Load(const std::string& bytes) {
  auto table = MarkedTable();
  MemorySource source(bytes);
  Notes notes;
  Loaded loaded{false, {}, 0, ""};
  int expected = 0;
  loaded.ok = LoadLrc(
      &source, *table, [&](int index) { loaded.steps += index == expected++; }, notes);
  for (int i = 0; i < kLyricEntries && table->phrase[i] != "old" + std::to_string(i); ++i) {
    // Translation rows as a lyric file holds them: joined in.
    loaded.first.push_back({table->time[i], ShownPhrase(*table, i)});
  }
  for (const Note& note : notes) {
    if (note.error) loaded.errors += note.text + "\n";
  }
  return loaded;
}

TEST(LoadLrc, LoadsWhatFromLrcWritesOrNothing) {
  const std::vector<LyricRecord> hand = {
      {45, "\x82\xcd\x82\xb6\x82\xdf"},
      {95, "\x83\x54\x83\x72\x81\x41\x83\x89\x83\x89\x83\x89 / \x93\xaf\x8e\x9e"},
      {200, "\x8a\xd4\x91\x74\x83\x5c\x83\x8d\x81\x60\x95\x5c\x8e\xa6"},
      {295, "\x83\x54\x83\x72\x81\x41\x83\x89\x83\x89\x83\x89"},
      {595, "\x8b\xf3\x94\x92\x95\x74\x82\xab"}};
  struct Case {
    std::string name;
    std::string bytes;
    std::vector<LyricRecord> first;  // empty: refused
    std::string errors;
  } const cases[] = {
      {"hand made, Shift-JIS", Fixture("hand_made.lrc"), hand, ""},
      {"karaoke, UTF-16 LE",
       Fixture("karaoke_enhanced.lrc"),
       {{20, "\xb6\xd7\xb5\xb9 \x83\x65\x83\x58\x83\x67"},
        {40, "Sing, sing"},
        {44, "\xca\xdd\xb6\xb8"},
        {45, "\x8f\x49\x82\xed\x82\xe8"}},
       ""},
      {"player, UTF-8 with mark",
       Fixture("player_style.lrc"),
       {{0, ""},
        {15, "\x96\xe9\x8b\xf3\x82\xc9\x8c\xf5\x82\xe9\x90\xaf\x82\xf0\x90\x94\x82\xa6\x82\xc4"},
        {53,
         "\x8c\x4e\x82\xc6\x95\xe0\x82\xa2\x82\xbd\x93\xb9\x81\x41\x83\x81\x83\x8d\x83\x66"
         "\x83\x42\x81\x5b"},
        {100,
         "\x8d\xa1\x93\xfa\x82\xe0\x96\xbe\x93\xfa\x82\xe0\x81\x60\x82\xa2\x82\xc2\x82\xdc"
         "\x82\xc5\x82\xe0"},
        {120,
         "\x81\x7c"
         "10\x81\x8e \x81\x91"
         "99"},
        {611, "\xb4\xdd\xc4\xde"}},
       ""},
      {"UTF-8 with one Latin-1 byte",
       "[00:01.00]\xe7\xa9\xba\xe3\x81\xae\n[00:02.00]caf\xe9s\n",
       {},
       "line 2: not UTF-8, in a file that otherwise reads as UTF-8\n"},
      {"UTF-8 that is also valid Shift-JIS, its accent kept",
       "[00:01.00]\xc3\xa9\n",
       {{10, "\xc3\xa9"}},
       ""},
      {"no timed line",
       "[ti:x]\nwords\n",
       {},
       "no timed line ([mm:ss.xx] at the start of a line)\n"},
      {"a character Shift-JIS lacks, kept",
       "[00:01.00]a\n[00:02.00]\xf0\x9f\x98\x80\n",
       {{10, "a"}, {20, "\xf0\x9f\x98\x80"}},
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Loaded loaded = Load(c.bytes);
    EXPECT_EQ(loaded.ok, !c.first.empty());
    EXPECT_EQ(loaded.errors, c.errors);
    EXPECT_EQ(loaded.steps, c.first.empty() ? 0 : kLyricEntries);
    // Exactly the records, and the marks after them kept.
    ASSERT_EQ(loaded.first.size(), c.first.size());
    for (std::size_t i = 0; i < c.first.size(); ++i) {
      EXPECT_EQ(loaded.first[i].time, c.first[i].time) << i;
      // Kept as the file has them; where Shift-JIS holds them, as from-lrc writes.
      std::string sjis = loaded.first[i].phrase;
      if (!IsUtf8(c.first[i].phrase)) Utf8ToSjis(loaded.first[i].phrase, sjis);
      EXPECT_EQ(sjis, c.first[i].phrase) << i;
    }
  }

  // A file that cannot be opened loads as an unopenable lyric file does.
  auto table = MarkedTable();
  int steps = 0;
  Notes notes;
  EXPECT_TRUE(LoadLrc(
      nullptr, *table, [&](int) { ++steps; }, notes));
  EXPECT_EQ(steps, kLyricEntries);
  EXPECT_EQ(table->phrase[0], "old0");
}

TEST(LoadLrc, KnowsAnLrcPathByItsExtensionInAnyCase) {
  for (const char* path : {"a.lrc", "C:\\x\\SONG.LRC", "b.Lrc", ".lrc"})
    EXPECT_TRUE(IsLrcPath(path));
  for (const char* path : {"a.tolvenkari", "a.lrc.tolvenkari", "lrc", "a.lr", "a.lrcx", ""}) {
    EXPECT_FALSE(IsLrcPath(path)) << path;
  }
}

}  // namespace
}  // namespace velomar
