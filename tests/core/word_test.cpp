// How a phrase splits into words, and what the word presses of the timing
// window make of them.
#include <gtest/gtest.h>

#include "lyrics/word_press.h"
#include "lyrics/word_split.h"

namespace velomar {
namespace {

// The words between "/": "a /b" is the words "a " and "b".
std::string Shown(const PhraseWords& words) {
  std::string shown = words.phrase;
  for (std::size_t i = words.starts.size(); i-- > 1;) shown.insert(words.starts[i], "/");
  return (words.starts.empty() ? "(none)" : "") + shown;
}

TEST(WordSplit, EachScriptAsItIsSung) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "(none)"},
      {"  \t", "(none)  \t"},
      {"  Hello,  world! ", "  Hello,  /world! "},
      {"\xd0\x9f\xd1\x80\xd0\xb8 \xd0\xbc\xd0\xb8\xd1\x80",
       "\xd0\x9f\xd1\x80\xd0\xb8 /\xd0\xbc\xd0\xb8\xd1\x80"},  // При мир
      {"\xec\x95\x88\xeb\x85\x95 \xed\x95\x98",
       "\xec\x95\x88\xeb\x85\x95 /\xed\x95\x98"},  // 안녕 하
      // きゃーっ、行こ！: small kana, ー and punctuation stay with the kana before.
      {"\xe3\x81\x8d\xe3\x82\x83\xe3\x83\xbc\xe3\x81\xa3\xe3\x80\x81\xe8\xa1\x8c\xe3\x81\x93\xef"
       "\xbc\x81",
       "\xe3\x81\x8d\xe3\x82\x83\xe3\x83\xbc\xe3\x81\xa3\xe3\x80\x81/\xe8\xa1\x8c/"
       "\xe3\x81\x93\xef\xbc\x81"},
      // ロック 一ヶ月: ヶ is a syllable of its own; the blank stays with ク.
      {"\xe3\x83\xad\xe3\x83\x83\xe3\x82\xaf \xe4\xb8\x80\xe3\x83\xb6\xe6\x9c\x88",
       "\xe3\x83\xad\xe3\x83\x83/\xe3\x82\xaf /\xe4\xb8\x80/\xe3\x83\xb6/\xe6\x9c\x88"},
      // 「君」の(名): brackets go with the character inside them.
      {"\xe3\x80\x8c\xe5\x90\x9b\xe3\x80\x8d\xe3\x81\xae(\xe5\x90\x8d)",
       "\xe3\x80\x8c\xe5\x90\x9b\xe3\x80\x8d/\xe3\x81\xae/(\xe5\x90\x8d)"},
      // 君がlove you「君」(la): a run of letters is one word up to its blanks.
      {"\xe5\x90\x9b\xe3\x81\x8clove you\xe3\x80\x8c\xe5\x90\x9b\xe3\x80\x8d(la)",
       "\xe5\x90\x9b/\xe3\x81\x8c/love /you/\xe3\x80\x8c\xe5\x90\x9b\xe3\x80\x8d/(la)"},
      {"a(b) 2\xe4\xba\xba", "a(b) /2/\xe4\xba\xba"},  // 2人
      // 風が|吹く: only "|" splits, and goes.
      {"\xe9\xa2\xa8\xe3\x81\x8c|\xe5\x90\xb9\xe3\x81\x8f",
       "\xe9\xa2\xa8\xe3\x81\x8c/\xe5\x90\xb9\xe3\x81\x8f"},
      {"|a b||c|", "a b/c"},
      {"a| b|  |c", "a /b  /c"},
      {" |x", " x"},
      {"||", "(none)"},
  };
  for (const auto& [phrase, words] : cases) {
    EXPECT_EQ(Shown(SplitWords(phrase)), words) << phrase;
  }
}

// 風が|吹く at 10.00 s: each press stamps the next word, the end key closes
// the last one, and the press after it stores the next phrase.
TEST(WordPresses, StampEachWordThenEndTheLine) {
  const PhraseWords words = SplitWords("\xe9\xa2\xa8\xe3\x81\x8c|\xe5\x90\xb9\xe3\x81\x8f");
  const std::string label0 =
                        "\xe3\x80\x8c\xe9\xa2\xa8\xe3\x81\x8c\xe3\x80\x8d\xe5\x90\xb9\xe3\x81\x8f",
                    label1 =
                        "\xe9\xa2\xa8\xe3\x81\x8c\xe3\x80\x8c\xe5\x90\xb9\xe3\x81\x8f\xe3\x80\x8d";
  EXPECT_TRUE(PressWord(PhraseWords{}, {}, 0, 500).newLine) << "no line pressed yet";
  std::vector<WordStamp> stamps = FirstStamps(words);
  EXPECT_EQ(stamps, (std::vector<WordStamp>{{0, 0}}));
  EXPECT_EQ(WordLabel(words, 0), label0);
  EXPECT_EQ(WordLabel(words, NextWord(words, stamps)), label1);
  const WordPress second = PressWord(words, stamps, 1000, 1045);
  EXPECT_FALSE(second.newLine);
  EXPECT_EQ(second.stamp, (WordStamp{6, 45}));
  stamps.push_back(second.stamp);
  EXPECT_EQ(WordLabel(words, NextWord(words, stamps)), words.phrase);
  WordStamp end{};
  ASSERT_TRUE(EndWord(words, stamps, 1000, 1030, end)) << "a song played again meanwhile";
  EXPECT_EQ(end, (WordStamp{12, 45}));
  stamps.push_back(end);
  EXPECT_FALSE(EndWord(words, stamps, 1000, 1100, end));
  EXPECT_TRUE(PressWord(words, stamps, 1000, 1100).newLine);
  EXPECT_TRUE(PressWord(words, {{0, 0}, {6, 45}}, 1000, 1100).newLine) << "past the last word";
  EXPECT_EQ(WordLabel(SplitWords("  Hi you"), 0), "  \xe3\x80\x8cHi\xe3\x80\x8d you");
}

}  // namespace
}  // namespace velomar
