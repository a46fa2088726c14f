// What an LRC brings beyond ticks and phrases, as the program keeps it:
// translation rows, word stamps and hundredths come back from "LRC で保存"
// as they were read, and every change of the lyrics moves them with it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_edit.h"
#include "lyrics/memory_stream.h"

namespace velomar {
namespace {

std::vector<LyricRecord> Read(const std::string& lrc) {
  std::vector<LyricRecord> records;
  Notes notes;
  EXPECT_TRUE(LrcToRecords(lrc, LrcEncoding::kUtf8, records, notes, LrcPhrases::kUnicode));
  return records;
}

std::string Written(const std::vector<LyricRecord>& records) {
  std::string lrc;
  Notes notes;
  EXPECT_TRUE(RecordsToLrc(records, lrc, notes, LrcPhrases::kUnicode));
  for (const Note& note : notes) ADD_FAILURE() << note.text;
  return lrc;
}

std::string Ticks(const std::vector<LyricRecord>& records) {
  std::string ticks;
  for (const LyricRecord& record : records) ticks += std::to_string(record.time) + " ";
  return ticks;
}

TEST(LrcDetail, RowsWordsAndHundredthsComeBackAsRead) {
  struct Case {
    const char* name;
    std::string read, written, ticks;
  };
  const Case cases[] = {
      {"a pair", "[00:12.34]\xe5\x8e\x9f\xe6\x96\x87\n[00:12.34]the line\n",
       "[00:12.34]\xe5\x8e\x9f\xe6\x96\x87\n[00:12.34]the line\n", "123 "},
      {"three languages, an empty line and a repeat among them",
       "[00:05.00]\n[00:05.00]lyric\n[00:05.00]\xed\x95\x9c\n[00:05.00]lyric\n[00:05.00]zh\n",
       "[00:05.00]lyric\n[00:05.00]\xed\x95\x9c\n[00:05.00]zh\n", "50 "},
      {"words with an end stamp", "[00:01.00]<00:01.00>Hello  <00:01.50> world<00:02.13>\n",
       "[00:01.00]<00:01.00>Hello <00:01.50>world<00:02.13>\n", "10 "},
      {"inline stamps of the other style", "[01:02.03]a [01:02.53]b\n", "[01:02.03]a <01:02.53>b\n",
       "620 "},
      {"hundredths on either side of a tick, and lines moved apart",
       "[00:01.25]a\n[00:01.27]b\n[00:01.24]c\n", "[00:01.24]c\n[00:01.25]a\n[00:01.27]b\n",
       "12 13 14 "},
      {"milliseconds round on the side of their tick", "[00:01.249]x\n[00:01.251]y\n",
       "[00:01.24]x\n[00:01.25]y\n", "12 13 "},
      {"an offset is taken into the times, words too", "[offset:+100]\n[00:01.00]a <00:01.55>b\n",
       "[00:00.90]a <00:01.45>b\n", "9 "},
      {"one line at two times keeps its words at theirs",
       "[00:01.00][00:03.00]<00:01.00>la <00:01.50>la\n",
       "[00:01.00]<00:01.00>la <00:01.50>la\n[00:03.00]<00:01.00>la <00:01.50>la\n", "10 30 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<LyricRecord> first = Read(c.read);
    EXPECT_EQ(Ticks(first), c.ticks) << "the display steps at the ticks it always did";
    const std::string lrc = Written(first);
    EXPECT_EQ(lrc, c.written);
    const std::vector<LyricRecord> again = Read(lrc);
    ASSERT_EQ(again.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
      EXPECT_EQ(again[i].time, first[i].time);
      EXPECT_EQ(again[i].phrase, first[i].phrase);
      EXPECT_TRUE(again[i].detail == first[i].detail) << i;
    }
  }
}

// Stamps as the word presses make them: the first word's at the line's
// time, each word's after its blanks, the end stamp at the phrase's end.
TEST(LrcDetail, PressedWordStampsComeBack) {
  const std::tuple<LyricRecord, std::string, std::string> rows[] = {
      {{10,
        "\xe9\xa2\xa8\xe3\x81\x8c\xe5\x90\xb9\xe3\x81\x8f",
        {0, {}, {{0, 0}, {6, 45}, {12, 80}}}},
       "[00:01.00]<00:01.00>\xe9\xa2\xa8\xe3\x81\x8c<00:01.45>\xe5\x90\xb9\xe3\x81\x8f<00:01.80>\n",
       ""},
      {{20, "Hello world", {3, {"row"}, {{0, 0}, {6, 50}}}},
       "[00:02.03]<00:02.03>Hello <00:02.53>world\n[00:02.03]row\n",
       ""},
      {{30, "a  b", {0, {}, {{0, 0}, {3, 10}}}},
       "[00:03.00]<00:03.00>a  <00:03.10>b\n",
       "entry 0: the blanks beside a word stamp come back as one space"},
      {{30, "a b", {0, {}, {{0, 0}, {1, 10}}}},
       "[00:03.00]<00:03.00>a<00:03.10> b\n",
       "entry 0: the blanks beside a word stamp come back as one space"},
  };
  for (const auto& [record, written, note] : rows) {
    std::string lrc;
    Notes notes;
    ASSERT_TRUE(RecordsToLrc({record}, lrc, notes, LrcPhrases::kUnicode));
    EXPECT_EQ(lrc, written);
    EXPECT_EQ(notes.empty() ? "" : notes[0].text, note);
    if (!notes.empty()) continue;
    const std::vector<LyricRecord> back = Read(lrc);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].phrase, record.phrase);
    EXPECT_TRUE(back[0].detail == record.detail) << written;
  }
}

TEST(LrcDetail, EveryChangeMovesWordsAndRowsWithItsLineAndUndoes) {
  const std::string start =
      "[00:01.23]<00:01.23>a <00:01.50>b\n[00:02.07]c\n[00:02.07]C\n[00:03.00]d\n";
  const std::pair<std::function<bool(LyricDocument&)>, std::string> steps[] = {
      {[](auto& d) { return d.Shift(0, 1); },
       "[00:01.33]<00:01.33>a <00:01.60>b\n[00:02.17]c\n[00:02.17]C\n[00:03.10]d\n"},
      {[](auto& d) { return d.Shift(1, -1); },
       "[00:01.23]<00:01.23>a <00:01.50>b\n[00:01.97]c\n[00:01.97]C\n[00:02.90]d\n"},
      {[](auto& d) { return d.Nudge(0, -1); },
       "[00:01.13]<00:01.13>a <00:01.40>b\n[00:02.07]c\n[00:02.07]C\n[00:03.00]d\n"},
      {[](auto& d) { return d.SetTime(0, 14); },
       "[00:01.40]<00:01.40>a <00:01.67>b\n[00:02.07]c\n[00:02.07]C\n[00:03.00]d\n"},
      {[](auto& d) { return d.SetPhrase(0, "A b"); },
       "[00:01.23]A b\n[00:02.07]c\n[00:02.07]C\n[00:03.00]d\n"},
      {[](auto& d) { return d.SetTranslation(1, "D") && d.SetTranslation(2, "E"); },
       "[00:01.23]<00:01.23>a <00:01.50>b\n[00:02.07]c\n[00:02.07]D\n[00:03.00]d\n"
       "[00:03.00]E\n"},
      {[](auto& d) {
         return d.SetWords(1, {{0, 0}, {1, 40}});
       },
       "[00:01.23]<00:01.23>a <00:01.50>b\n[00:02.07]<00:02.07>c<00:02.47>\n[00:02.07]C\n"
       "[00:03.00]d\n"},
      {[](auto& d) {
         return d.SetTime(1, PressStamp{2500, 25, 0}, {{0, 0}});
       },
       "[00:01.23]<00:01.23>a <00:01.50>b\n[00:02.50]<00:02.50>c\n[00:02.50]C\n[00:03.00]d\n"},
      {[](auto& d) { return d.SetTranslation(1, ""); },
       "[00:01.23]<00:01.23>a <00:01.50>b\n[00:02.07]c\n[00:03.00]d\n"},
      {[](auto& d) { return d.Delete(0) && d.InsertAfter(-1); },
       "[00:00.10]\n[00:02.07]c\n[00:02.07]C\n[00:03.00]d\n"},
  };
  for (const auto& [step, after] : steps) {
    SCOPED_TRACE(after);
    LyricDocument doc;
    MemorySource source(start);
    Notes notes;
    ASSERT_TRUE(LoadDocument(doc, &source, true, nullptr, notes));
    const auto lrc = [&] {
      return Written(LyricsToRecords(doc.Table(), LyricLineCount(doc.Table())));
    };
    ASSERT_EQ(lrc(), start);
    ASSERT_TRUE(step(doc));
    EXPECT_EQ(lrc(), after);
    EXPECT_TRUE(doc.IsUnsaved());
    while (doc.Undo()) {
    }
    EXPECT_EQ(lrc(), start);
    while (doc.Redo()) {
    }
    EXPECT_EQ(lrc(), after);
  }
}

}  // namespace
}  // namespace velomar
