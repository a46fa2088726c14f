// Which lines become subtitles and when, and the SRT writer.
#include <algorithm>

#include "lyrics/lyric_edit.h"
#include "lyrics/number_text.h"
#include "lyrics/subtitle_write.h"

namespace velomar {

namespace {

bool ShowsNothing(const std::string& phrase) {
  return phrase.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A line with an end stamp is sung until then.
std::int64_t CueLength(const std::string& phrase, const LineDetail& detail) {
  const std::vector<WordStamp>& words = detail.words;
  if (words.empty() || words.back().at < phrase.size() || words.back().after <= 0) {
    return kLongestCue;
  }
  return std::min<std::int64_t>(kLongestCue, words.back().after);
}

std::string Digits(std::int64_t value, std::size_t places) {
  std::string text = NumberText(value);
  return std::string(text.size() < places ? places - text.size() : 0, '0') + text;
}

std::string SrtTime(std::int64_t hundredths) {
  return Digits(hundredths / 360000, 2) + ":" + Digits(hundredths / 6000 % 60, 2) + ":" +
         Digits(hundredths / 100 % 60, 2) + "," + Digits(hundredths % 100 * 10, 3);
}

// Text lines of a phrase or row: a line break in it begins another, and no
// line is empty, which would end the cue.
void AppendLines(const std::string& text, std::string& out) {
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    if (!ShowsNothing(line)) out += line + "\r\n";
    pos = end + 1;
  }
}

}  // namespace

std::vector<SubtitleCue> SubtitleCues(const LyricTable& lyrics, Notes& notes) {
  std::vector<SubtitleCue> cues;
  const int lines = LyricLineCount(lyrics);
  bool any = false;
  std::int64_t last = 0;
  for (int i = 0; i < lines; ++i) {
    const std::int64_t start = LineHundredths(lyrics.time[i], lyrics.detail[i]);
    const bool nothing = ShowsNothing(lyrics.phrase[i]);
    if (lyrics.time[i] < 0 || (any && start <= last)) {
      if (!nothing) {
        notes.push_back({false, "entry " + NumberText(i) +
                                    ": not after the entry before, left out as the display "
                                    "never shows it"});
      }
      continue;
    }
    if (!cues.empty() && cues.back().end > start) cues.back().end = start;
    any = true;
    last = start;
    if (nothing) continue;
    cues.push_back({i, start, start + CueLength(lyrics.phrase[i], lyrics.detail[i])});
  }
  return cues;
}

std::string SrtBytes(const LyricTable& lyrics, const std::vector<SubtitleCue>& cues) {
  std::string srt;
  for (std::size_t n = 0; n < cues.size(); ++n) {
    const SubtitleCue& cue = cues[n];
    srt += NumberText(static_cast<std::int64_t>(n + 1)) + "\r\n" + SrtTime(cue.start) + " --> " +
           SrtTime(cue.end) + "\r\n";
    AppendLines(lyrics.phrase[cue.entry], srt);
    for (const std::string& row : lyrics.detail[cue.entry].rows) AppendLines(row, srt);
    srt += "\r\n";
  }
  return srt;
}

}  // namespace velomar
