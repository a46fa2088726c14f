// The lyrics as subtitles for video players and editors: SRT, and ASS with
// the karaoke fill. Both are UTF-8 with CR LF line ends, the ends subtitle
// tools on Windows write and every reader takes; SRT goes without a byte
// order mark (a reader that does not skip one takes it into the first cue
// number), ASS with one, as its editors write it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_table.h"

namespace velomar {

// One line of the lyrics as a subtitle, in hundredths of a second.
struct SubtitleCue {
  int entry;
  std::int64_t start, end;
};

// No line stays longer: one before an instrumental gap would stay through it.
constexpr std::int64_t kLongestCue = 800;

// The lines of entries 0..LyricLineCount-1 as subtitles, in their order. A
// line shows from its exact time until the next line's time (an empty line
// ends the one before it too), its own end stamp, or kLongestCue, whichever
// comes first. A line whose time is negative or not after the last line
// shown is left out, as the display never reaches it, with a note when it
// has a phrase; an empty phrase, or one of blanks only, shows nothing.
std::vector<SubtitleCue> SubtitleCues(const LyricTable& lyrics, Notes& notes);

// "n", "hh:mm:ss,mmm --> hh:mm:ss,mmm", then the phrase and each
// translation row as text lines (a line break in them too), and a blank
// line; cues numbered from 1.
std::string SrtBytes(const LyricTable& lyrics, const std::vector<SubtitleCue>& cues);

// A 1280 x 720 script with the styles "Lyric" (bottom centre, filled from
// the unsung to the sung colour of the desktop lyrics) and "Translation"
// (under it). Each cue is a Dialogue on "Lyric" with {\kf N} before each
// word, N in hundredths, summing to the cue's length: the text before the
// first stamp is sung at once, a wait before the first word is an empty
// {\k N}, a last word without an end stamp is sung for at most
// kLastWordMostMs, the time after the last word an empty {\k N}; a line
// without word stamps is one {\kf N}. Its translation rows, joined by \N,
// are a second Dialogue at the same times on "Translation". In the texts a
// line break is \N, "{" is \{ and a backslash is followed by U+2060 (it
// shows nothing), so that no text reads as a code.
std::string AssBytes(const LyricTable& lyrics, const std::vector<SubtitleCue>& cues);

}  // namespace velomar
