// The timing window's word presses, as steps of the lyric document.
#include "lyrics/lyric_document.h"
#include "lyrics/word_press.h"

namespace velomar {

LyricDocument::WordLine LyricDocument::PressedWords() const {
  const int index = table_->AddIndex - 1;
  if (!lastPress_.byWord || table_->AddedCount <= 0 || !IsEntry(index)) return {};
  WordLine line{index, SplitWords(lastPress_.typed)};
  // The editor gave it another phrase: its words are gone with it.
  if (table_->phrase[index] != line.words.phrase) return {};
  return line;
}

void LyricDocument::AddWordStamp(int index, const WordStamp& stamp) {
  Step step = Begin(Kind::Word, index);
  table_->detail[index].words.push_back(stamp);
  Commit(std::move(step));
}

LyricDocument::WordPressed LyricDocument::PressByWord(const std::string& typed,
                                                      const PressStamp& stamp, bool clockRunning,
                                                      std::int64_t play, bool pouredIn) {
  const WordLine line = PressedWords();
  if (line.index >= 0) {
    const LineDetail& detail = table_->detail[line.index];
    const WordPress press = PressWord(
        line.words, detail.words, LineHundredths(table_->time[line.index], detail), stamp.ms / 10);
    if (!press.newLine) {
      AddWordStamp(line.index, press.stamp);
      return WordPressed::Word;
    }
  }
  if (!PressAt(typed, stamp.tick, stamp.hundredths, clockRunning, play, pouredIn, true)) {
    return WordPressed::Refused;
  }
  return WordPressed::Line;
}

bool LyricDocument::EndPressedWord(const PressStamp& stamp) {
  const WordLine line = PressedWords();
  if (line.index < 0) return false;
  const LineDetail& detail = table_->detail[line.index];
  WordStamp end{};
  if (!EndWord(line.words, detail.words, LineHundredths(table_->time[line.index], detail),
               stamp.ms / 10, end)) {
    return false;
  }
  AddWordStamp(line.index, end);
  return true;
}

}  // namespace velomar
