// The field rules of the reader, fed from memory.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "lyrics/lyric_file.h"
#include "lyrics/memory_stream.h"
#include "test_support.h"

namespace velomar {
namespace {

using namespace std::string_literals;
using testing::LoadBytes;
using testing::MarkedTable;

// Loads `bytes` into a marked table and checks that entries from `firstUntouched`
// on still hold their marks.
std::unique_ptr<LyricTable> Load(const std::string& bytes, int firstUntouched) {
  auto table = MarkedTable();
  LoadBytes(bytes, *table);
  for (int i = firstUntouched; i < kLyricEntries; ++i) {
    EXPECT_EQ(table->time[i], -1000 - i) << "entry " << i;
    EXPECT_EQ(table->phrase[i], "old" + std::to_string(i)) << "entry " << i;
  }
  return table;
}

TEST(ReadRecord, WorkedExampleLeavesTheRestUntouched) {
  auto t = Load("23,\x83\x65\x83\x58\x83\x67\r\n57,\r\n", 2);
  EXPECT_EQ(t->time[0], 23);
  EXPECT_EQ(t->phrase[0], "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(t->time[1], 57);
  EXPECT_EQ(t->phrase[1], "");
}

TEST(ReadRecord, PhraseRunsToTheLineEnd) {
  // Commas and quotes belong to the phrase; nothing shifts.
  auto t = Load("12,a,b\r\n7,\"x,\"y\" \r\n", 2);
  EXPECT_EQ(t->time[0], 12);
  EXPECT_EQ(t->phrase[0], "a,b");
  EXPECT_EQ(t->time[1], 7);
  EXPECT_EQ(t->phrase[1], "\"x,\"y\" ");
}

TEST(ReadRecord, BlanksBeforeThePhraseAreSkippedTrailingOnesKept) {
  auto t = Load("12, \t abc  \r\n \t5,x\r\n", 2);
  EXPECT_EQ(t->phrase[0], "abc  ");
  EXPECT_EQ(t->time[1], 5);
  EXPECT_EQ(t->phrase[1], "x");
}

TEST(ReadRecord, BlanksAroundTheComma) {
  auto t = Load("12 , abc\r\n13\t\t,def\r\n14  ghi\r\n15 \r\n16,z\r\n", 5);
  EXPECT_EQ(t->time[0], 12);
  EXPECT_EQ(t->phrase[0], "abc");
  EXPECT_EQ(t->time[1], 13);
  EXPECT_EQ(t->phrase[1], "def");
  // No comma after the blanks: the next byte starts the phrase.
  EXPECT_EQ(t->time[2], 14);
  EXPECT_EQ(t->phrase[2], "ghi");
  // Blanks then the line end: an empty phrase, the next line is a new record.
  EXPECT_EQ(t->time[3], 15);
  EXPECT_EQ(t->phrase[3], "");
  EXPECT_EQ(t->time[4], 16);
  EXPECT_EQ(t->phrase[4], "z");
}

TEST(ReadRecord, QuotesInTheNumberField) {
  // A quoted comma or blank does not end the number; the text starts with a
  // quote, so it reads as 0.
  auto t = Load("\"1,2\",x\r\n\"3 4\" ,y\r\n5\"6,7\",z\r\n", 3);
  EXPECT_EQ(t->time[0], 0);
  EXPECT_EQ(t->phrase[0], "x");
  EXPECT_EQ(t->time[1], 0);
  EXPECT_EQ(t->phrase[1], "y");
  EXPECT_EQ(t->time[2], 5);
  EXPECT_EQ(t->phrase[2], "z");
}

TEST(ReadRecord, NumberForms) {
  auto t = Load(
      "12.9,a\r\n-3.5,b\r\n&H1F,c\r\n&o17,d\r\nabc,e\r\n,f\r\n+7,g\r\n99999999999,h\r\n"
      "&x,i\r\n" +
          std::string(400, '9') + ",j\r\n",
      10);
  const std::int32_t expected[] = {12, -3,
                                   31, 15,
                                   0,  0,
                                   7,  std::numeric_limits<std::int32_t>::min(),
                                   0,  std::numeric_limits<std::int32_t>::min()};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(t->time[i], expected[i]) << i;
    EXPECT_EQ(t->phrase[i], std::string(1, static_cast<char>('a' + i))) << i;
  }
}

TEST(ReadRecord, LineEndsLfAloneLikeCrLf) {
  auto lf = Load("1,a\n2,\x95\x5C\n3,\n", 3);
  auto crlf = Load("1,a\r\n2,\x95\x5C\r\n3,\r\n", 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lf->time[i], crlf->time[i]);
    EXPECT_EQ(lf->phrase[i], crlf->phrase[i]);
  }
  EXPECT_EQ(lf->phrase[1], "\x95\x5C");  // 表, 0x5C trail byte kept
}

TEST(ReadRecord, EndOfFileInsideARecord) {
  auto noLineEnd = Load("57,abc", 1);
  EXPECT_EQ(noLineEnd->time[0], 57);
  EXPECT_EQ(noLineEnd->phrase[0], "abc");

  auto commaAtEnd = Load("57,", 1);
  EXPECT_EQ(commaAtEnd->time[0], 57);
  EXPECT_EQ(commaAtEnd->phrase[0], "old0");

  auto numberOnly = Load("1,a\r\n57", 2);
  EXPECT_EQ(numberOnly->time[1], 57);
  EXPECT_EQ(numberOnly->phrase[1], "old1");

  auto blanksAtEnd = Load("57 \t ", 1);
  EXPECT_EQ(blanksAtEnd->time[0], 57);
  EXPECT_EQ(blanksAtEnd->phrase[0], "old0");

  Load("", 0);
  Load("  \t", 0);
}

TEST(ReadRecord, CrAsTheLastByteEndsTheReading) {
  auto phrase = Load("57,abc\r", 1);
  EXPECT_EQ(phrase->time[0], 57);
  EXPECT_EQ(phrase->phrase[0], "abc");

  auto number = Load("57\r", 1);
  EXPECT_EQ(number->time[0], 57);
  EXPECT_EQ(number->phrase[0], "old0");
}

TEST(ReadRecord, CrWithoutLfStaysInTheField) {
  auto t = Load("1,a\rb\r\n2,c\r\r\n3\r4,d\r\n\r,e\r\n", 4);
  EXPECT_EQ(t->phrase[0], "a\rb");
  EXPECT_EQ(t->phrase[1], "c\r");
  EXPECT_EQ(t->time[2], 3);  // number text "3\r4" stops at the CR
  EXPECT_EQ(t->phrase[2], "d");
  // The byte after a kept CR is still a terminator when it is one.
  EXPECT_EQ(t->time[3], 0);
  EXPECT_EQ(t->phrase[3], "e");
}

TEST(ReadRecord, NulEndsAField) {
  auto t = Load(
      "1,ab\0"
      "4,cd\r\n7\0x,y\r\n"s,
      3);
  EXPECT_EQ(t->phrase[0], "ab");
  EXPECT_EQ(t->time[1], 4);
  EXPECT_EQ(t->phrase[1], "cd");
  EXPECT_EQ(t->time[2], 7);
  EXPECT_EQ(t->phrase[2], "x,y");
}

TEST(ReadRecord, ARecordIsAlwaysTwoFields) {
  // Empty lines are fields; a line without comma gives its text to the time
  // and the phrase comes from the next line.
  auto t = Load("\r\n\r\n5,a\r\n12\r\nabc\r\n3,x\r\n", 4);
  EXPECT_EQ(t->time[0], 0);
  EXPECT_EQ(t->phrase[0], "");
  EXPECT_EQ(t->time[1], 5);
  EXPECT_EQ(t->phrase[1], "a");
  EXPECT_EQ(t->time[2], 12);
  EXPECT_EQ(t->phrase[2], "abc");
  EXPECT_EQ(t->time[3], 3);
  EXPECT_EQ(t->phrase[3], "x");
}

TEST(ReadRecord, OldFileWithLineBreakInAPhrase) {
  // Written by an older save: 34, CR LF b CR LF.
  auto t = Load("34,\r\nb\r\n5,x\r\n", 2);
  EXPECT_EQ(t->time[0], 34);
  EXPECT_EQ(t->phrase[0], "");
  EXPECT_EQ(t->time[1], 0);
  EXPECT_EQ(t->phrase[1], "5,x");
}

TEST(ReadRecord, ReadsExactly3001Records) {
  std::string bytes;
  for (int i = 0; i < 3002; ++i) bytes += std::to_string(i + 1) + ",p" + std::to_string(i) + "\r\n";
  auto table = MarkedTable();
  MemorySource source(bytes);
  for (int i = 0; i < kLyricEntries; ++i) ReadRecord(source, *table, i);
  EXPECT_EQ(table->time[0], 1);
  EXPECT_EQ(table->time[3000], 3001);
  EXPECT_EQ(table->phrase[3000], "p3000");
  EXPECT_EQ(source.Position(), bytes.size() - std::string("3002,p3001\r\n").size());
}

TEST(ReadRecord, IndexOutsideTheTableReadsNothing) {
  auto table = MarkedTable();
  const std::string bytes = "1,a\r\n";
  MemorySource source(bytes);
  ReadRecord(source, *table, kLyricEntries);
  ReadRecord(source, *table, -1);
  EXPECT_EQ(source.Position(), 0u);
  ReadRecord(source, *table, 0);
  EXPECT_EQ(table->time[0], 1);
}

TEST(ReadRecord, LongFields) {
  const std::string phrase(100000, '\x82');
  auto t = Load("9," + phrase + "\r\n", 1);
  EXPECT_EQ(t->phrase[0], phrase);
}

// Hands over one byte a call and never tells its size, so that the load
// reads its file in pieces and records straddle them.
class PieceByPiece : public ByteSource {
 public:
  explicit PieceByPiece(const std::string& bytes) : inner_(bytes) {}
  int Next() override { return inner_.Next(); }

 private:
  MemorySource inner_;
};

// The load takes the usual records from memory and leaves the rest to the
// field rules: either way it must read what the rules read record by record,
// whether the file comes in one piece or in many.
TEST(LoadLyricRecords, AgreesWithTheFieldRulesInOnePieceAndInMany) {
  // あい漢字 four times: 3001 records of it pass one 64 KB piece.
  std::string phrase;
  for (int i = 0; i < 4; ++i) phrase += "\x82\xA0\x82\xA2\x8A\xBF\x8E\x9A";
  const std::string forms[] = {
      "12," + phrase + "\r\n",
      "12," + phrase + "\n",
      "12,\r\n",
      "12, " + phrase + "\r\n",
      "12,\t" + phrase + "\r\n",
      "12," + phrase + "\rx\r\n",
      "12," + phrase + "\0tail\r\n",
      "1234567890," + phrase + "\r\n",
      "99999999999," + phrase + "\r\n",
      "-12," + phrase + "\r\n",
      "&H1F," + phrase + "\r\n",
      "12 , " + phrase + "\r\n",
      "\"1,2\"," + phrase + "\r\n",
      "," + phrase + "\r\n",
      "12" + phrase + "\r\n",
  };
  for (const std::string& form : forms) {
    std::string bytes;
    for (int i = 0; i < kLyricEntries; ++i) bytes += form;
    bytes += "7,last";
    auto rules = MarkedTable();
    LoadBytes(bytes, *rules);
    MemorySource whole(bytes);
    PieceByPiece pieces(bytes);
    for (ByteSource* source :
         {static_cast<ByteSource*>(&whole), static_cast<ByteSource*>(&pieces)}) {
      auto load = MarkedTable();
      ReadLyricRecords(source, *load, nullptr);
      for (int i = 0; i < kLyricEntries; ++i) {
        ASSERT_EQ(load->time[i], rules->time[i])
            << ::testing::PrintToString(form) << " entry " << i;
        ASSERT_EQ(load->phrase[i], rules->phrase[i])
            << ::testing::PrintToString(form) << " entry " << i;
      }
    }
  }
}

TEST(LoadProgress, RunsForEveryEntryEvenWithoutASource) {
  auto table = MarkedTable();
  int calls = 0;
  ReadLyricRecords(nullptr, *table, [&](int index) { EXPECT_EQ(index, calls++); });
  EXPECT_EQ(calls, kLyricEntries);
  EXPECT_EQ(table->phrase[0], "old0");
}

}  // namespace
}  // namespace velomar
