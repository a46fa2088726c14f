// The ASS writer: the script's header and styles, and one Dialogue a line
// with its words' karaoke fill.
#include <algorithm>

#include "lyrics/karaoke.h"
#include "lyrics/lyric_look.h"
#include "lyrics/number_text.h"
#include "lyrics/subtitle_write.h"

namespace velomar {

namespace {

std::string Hex(unsigned value) {
  static const char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4 & 0xF], kDigits[value & 0xF]};
}

// &HAABBGGRR, opaque.
std::string AssColour(const Rgb& colour) {
  return "&H00" + Hex(colour.b) + Hex(colour.g) + Hex(colour.r);
}

std::string Style(const char* name, int size, const Rgb& sung, const Rgb& unsung, int marginV) {
  return std::string("Style: ") + name + "," + kLyricFace + "," + NumberText(size) + "," +
         AssColour(sung) + "," + AssColour(unsung) + "," + AssColour(kLyricOutline) +
         ",&H00000000,-1,0,0,0,100,100,0,0,1,3,0,2,40,40," + NumberText(marginV) + ",1\r\n";
}

std::string Header() {
  return "\xef\xbb\xbf[Script Info]\r\nScriptType: v4.00+\r\nPlayResX: 1280\r\nPlayResY: 720\r\n"
         "WrapStyle: 0\r\nScaledBorderAndShadow: yes\r\n\r\n[V4+ Styles]\r\n"
         "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
         "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
         "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n" +
         Style("Lyric", 56, kLyricSung, kLyricUnsung, 90) +
         Style("Translation", 40, kLyricRow, kLyricRow, 36) +
         "\r\n[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
         "Effect, Text\r\n";
}

std::string AssTime(std::int64_t hundredths) {
  const auto two = [](std::int64_t value) { return (value < 10 ? "0" : "") + NumberText(value); };
  return NumberText(hundredths / 360000) + ":" + two(hundredths / 6000 % 60) + ":" +
         two(hundredths / 100 % 60) + "." + two(hundredths % 100);
}

std::string Escaped(const std::string& text, std::size_t begin, std::size_t end) {
  std::string out;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
      out += "\\N";
    } else if (c == '{') {
      out += "\\{";
    } else if (c == '\\') {
      out += "\\\xe2\x81\xa0";  // U+2060 WORD JOINER
    } else {
      out += c;
    }
  }
  return out;
}

std::string Kf(const char* tag, std::int64_t hundredths) {
  return std::string("{\\") + tag + NumberText(hundredths) + "}";
}

// The stamps that can be swept in order: each no earlier in the phrase than
// the one before, none beyond it, nothing after an end stamp.
std::vector<WordStamp> Sweepable(const std::string& phrase, const std::vector<WordStamp>& words) {
  std::vector<WordStamp> kept;
  for (const WordStamp& word : words) {
    if (word.at > phrase.size() || (!kept.empty() && word.at < kept.back().at)) break;
    kept.push_back(word);
    if (word.at == phrase.size()) break;
  }
  return kept;
}

// The line's text with a {\kf} before each word, the lengths summing to
// `length`: stamps out of order or beyond the line are sung at once.
std::string KaraokeText(const std::string& phrase, const std::vector<WordStamp>& stamps,
                        std::int64_t length) {
  const std::vector<WordStamp> words = Sweepable(phrase, stamps);
  if (words.empty() || words.front().at == phrase.size()) {
    return Kf("kf", length) + Escaped(phrase, 0, phrase.size());
  }
  std::string text;
  if (words.front().at > 0) text = Kf("kf", 0) + Escaped(phrase, 0, words.front().at);
  std::int64_t sung = 0;
  const auto until = [&](std::int64_t moment) { return std::clamp(moment, sung, length); };
  const std::int64_t first = until(words.front().after);
  if (first > 0) text += Kf("k", first);
  sung = first;
  for (std::size_t i = 0; i < words.size() && words[i].at < phrase.size(); ++i) {
    const bool last = i + 1 == words.size();
    const std::int64_t end =
        until(last ? sung + static_cast<std::int64_t>(kLastWordMostMs / 10) : words[i + 1].after);
    text +=
        Kf("kf", end - sung) + Escaped(phrase, words[i].at, last ? phrase.size() : words[i + 1].at);
    sung = end;
  }
  if (sung < length) text += Kf("k", length - sung);
  return text;
}

std::string Rows(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) {
    if (row.empty()) continue;
    text += (text.empty() ? "" : "\\N") + Escaped(row, 0, row.size());
  }
  return text;
}

}  // namespace

std::string AssBytes(const LyricTable& lyrics, const std::vector<SubtitleCue>& cues) {
  std::string ass = Header();
  for (const SubtitleCue& cue : cues) {
    const std::string times = AssTime(cue.start) + "," + AssTime(cue.end) + ",";
    const LineDetail& detail = lyrics.detail[cue.entry];
    ass += "Dialogue: 0," + times + "Lyric,,0,0,0,," +
           KaraokeText(lyrics.phrase[cue.entry], detail.words, cue.end - cue.start) + "\r\n";
    const std::string rows = Rows(detail.rows);
    if (!rows.empty()) ass += "Dialogue: 0," + times + "Translation,,0,0,0,," + rows + "\r\n";
  }
  return ass;
}

}  // namespace velomar
