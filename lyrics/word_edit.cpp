#include "lyrics/word_edit.h"

#include <algorithm>
#include <cstdlib>

#include "lyrics/number_text.h"
#include "lyrics/word_press.h"

namespace velomar {

namespace {

std::string Seconds(std::int32_t hundredths) {
  const std::int64_t size = std::llabs(std::int64_t{hundredths});
  const std::string cents = NumberText(size % 100);
  return (hundredths < 0 ? "-" : "+") + NumberText(size / 100) + "." +
         (cents.size() < 2 ? "0" : "") + cents;
}

void Append(std::string& text, const std::string& piece) {
  if (!text.empty()) text += ' ';
  text += piece;
}

}  // namespace

std::string WordStampsText(const std::string& phrase, const std::vector<WordStamp>& stamps) {
  PhraseWords words{phrase, {}};
  std::vector<const WordStamp*> stampOf;  // null: the text before the first stamp
  if (!stamps.empty() && stamps.front().at > 0 && !phrase.empty()) {
    words.starts.push_back(0);
    stampOf.push_back(nullptr);
  }
  for (const WordStamp& stamp : stamps) {
    if (stamp.at >= phrase.size()) continue;
    if (!words.starts.empty() && stamp.at <= words.starts.back()) continue;
    words.starts.push_back(stamp.at);
    stampOf.push_back(&stamp);
  }
  std::string text;
  for (std::size_t i = 0; i < words.starts.size(); ++i) {
    const ByteRange letters = WordLetters(words, i);
    Append(text, phrase.substr(letters.begin, letters.end - letters.begin) +
                     (stampOf[i] != nullptr ? Seconds(stampOf[i]->after) : ""));
  }
  for (const WordStamp& stamp : stamps) {
    if (stamp.at >= phrase.size()) Append(text, "/" + Seconds(stamp.after));
  }
  return text;
}

PhraseWords StampedWords(const std::string& phrase, const std::vector<WordStamp>& stamps) {
  PhraseWords words{phrase, {}};
  for (const WordStamp& stamp : stamps) {
    if (stamp.at >= phrase.size()) continue;
    if (words.starts.empty()) words.starts.push_back(0);
    if (stamp.at > words.starts.back()) words.starts.push_back(stamp.at);
  }
  if (!words.starts.empty()) return words;
  PhraseWords split = SplitWords(phrase);
  if (split.phrase == phrase) return split;
  if (!split.starts.empty()) words.starts.push_back(0);
  return words;
}

namespace {

bool GoesOn(const Retiming& retiming, const LyricTable& lyrics, int line) {
  if (retiming.line != line || lyrics.phrase[line] != retiming.words.phrase) return false;
  const std::vector<WordStamp>& stamps = lyrics.detail[line].words;
  const std::vector<WordStamp>& made = retiming.made;
  if (stamps.size() > made.size() || !std::equal(stamps.begin(), stamps.end(), made.begin())) {
    return false;
  }
  return !stamps.empty() || made.empty();
}

}  // namespace

RetimeStep RetimePress(Retiming& retiming, const LyricTable& lyrics, int count, int selected,
                       std::int64_t now) {
  int line = selected;
  if (line >= 0 && line < count && GoesOn(retiming, lyrics, line)) {
    retiming.made = lyrics.detail[line].words;
    const std::int64_t at = LineHundredths(lyrics.time[line], lyrics.detail[line]);
    const WordPress press = PressWord(retiming.words, retiming.made, at, now);
    if (!press.newLine) {
      retiming.made.push_back(press.stamp);
      return {line, false, retiming.made};
    }
    line += 1;
  }
  if (line < 0 || line >= count) {
    retiming = Retiming{};
    return {};
  }
  retiming.line = line;
  retiming.words = StampedWords(lyrics.phrase[line], lyrics.detail[line].words);
  retiming.made = FirstStamps(retiming.words);
  return {line, true, retiming.made};
}

}  // namespace velomar
