// Timed lyrics from an ID3v2 tag's SYLT and USLT frames, as LRC.
//
// Which frame: the language is that of the tag's first lyrics frame (a SYLT
// of content type lyrics, or a USLT), so that of lyrics and a translation,
// the lyrics are taken. The first SYLT of content type lyrics in that
// language that gives a time is taken, else the first in another; only then
// the first USLT in that language, else in another, whose text holds a line
// beginning with an LRC timestamp. A USLT without one is no timed lyrics.
//
// Texts: 0 is Latin-1 by the tag's rules, but taggers also write Shift-JIS
// or UTF-8 there, so such a frame's bytes are read as an LRC file of unknown
// encoding is (Latin-1 text comes out as Windows-1252, which it is a part
// of). 1 is UTF-16 whose strings each may carry a byte order mark; one
// without keeps the order of the last, little-endian before any. 2 is
// UTF-16 BE, a mark there also honoured; 3 is UTF-8. A UTF-16 or UTF-8 text
// that does not decode leaves its frame out.
//
// A USLT is its text. Some writers leave its descriptor out; when the text
// holds no timed line, the descriptor is tried in its place.
//
// A SYLT gives "[mm:ss.xxx]text" lines: milliseconds, so that the LRC read
// rounds to ticks only once; MPEG frames become milliseconds by the first
// audio frame after the tag. When the entries do not fill the frame, the
// frame is read again without a descriptor, which some writers leave out; if
// neither fits, a last entry cut short is left out. A frame of more than
// kMostEntries entries is no lyrics. Where any text begins or ends with a
// line break, the entries are syllables: a break starts a new line, and a
// line's syllables join at the time of its first, as the LRC read does with
// word stamps. Other line breaks become blanks. Timestamps a
// text begins with are taken out, so that a text never adds a time; those
// later in it the LRC read takes out as word stamps.
#include "lyrics/id3_lyrics.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "lyrics/id3_tag.h"
#include "lyrics/lrc_line.h"
#include "lyrics/number_text.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

// A frame's terminated strings in its text encoding, as LRC bytes.
class TextReader {
 public:
  TextReader(const std::string& data, int encoding)
      : data_(data), encoding_(encoding), bigEndian_(encoding == 2) {}

  // The string at `pos` up to its terminator, or the end of the data when
  // there is none (`ended` false); `pos` goes past it. False when it does not
  // decode.
  bool Next(std::size_t& pos, std::string& text, bool& ended);

 private:
  const std::string& data_;
  int encoding_;
  bool bigEndian_;
};

bool TextReader::Next(std::size_t& pos, std::string& text, bool& ended) {
  const bool wide = encoding_ == 1 || encoding_ == 2;
  std::size_t end = pos;
  if (wide) {
    while (end + 1 < data_.size() && (data_[end] != '\0' || data_[end + 1] != '\0')) end += 2;
    ended = end + 1 < data_.size();
  } else {
    end = std::min(data_.find('\0', pos), data_.size());
    ended = end < data_.size();
  }
  std::string raw = data_.substr(pos, end - pos);
  pos = ended ? end + (wide ? 2 : 1) : data_.size();
  if (wide) {
    if (raw.compare(0, 2, "\xFF\xFE") == 0 || raw.compare(0, 2, "\xFE\xFF") == 0) {
      bigEndian_ = raw[0] == '\xFE';
      raw.erase(0, 2);
    }
    return Utf16ToUtf8(raw.data(), raw.size(), bigEndian_, text);
  }
  if (encoding_ == 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
  text = std::move(raw);
  return encoding_ == 0 || IsUtf8(text);
}

LrcEncoding LrcEncodingOf(int encoding) {
  return encoding == 0 ? LrcEncoding::kDetect : LrcEncoding::kUtf8;
}

int TextEncoding(const std::string& data) { return static_cast<unsigned char>(data[0]); }

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

// Whether a line of `text` begins (after blanks) with a timestamp.
bool HasTimedLine(const std::string& text) {
  std::size_t end;
  std::int64_t ms;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    while (pos < text.size() && IsLrcBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == '[' && ReadLrcStamp(text, pos + 1, ']', end, ms)) {
      return true;
    }
    pos = text.find_first_of("\r\n", pos);
    if (pos == std::string::npos) return false;
  }
  return false;
}

bool UsltLrc(const std::string& data, std::string& lrc, LrcEncoding& encoding) {
  TextReader reader(data, TextEncoding(data));
  std::size_t pos = 4;
  std::string descriptor, text;
  bool ended;
  if (!reader.Next(pos, descriptor, ended) || !reader.Next(pos, text, ended)) return false;
  if (!HasTimedLine(text)) text = std::move(descriptor);
  if (!HasTimedLine(text)) return false;
  lrc = std::move(text);
  encoding = LrcEncodingOf(TextEncoding(data));
  return true;
}

struct Entry {
  std::int64_t time;
  std::string text;
};

// Room for the syllables of 3001 lines: a frame of 16 MB of empty entries
// would otherwise become 40 MB of LRC lines, and take many times the time
// and memory of an LRC file of that size.
constexpr std::size_t kMostEntries = 64 * kLyricEntries;

// The entries after the header (and the descriptor when `described`); true
// when they fill the frame exactly. A text that does not decode, or more than
// kMostEntries, leaves none.
bool Entries(const std::string& data, bool described, std::vector<Entry>& entries) {
  entries.clear();
  TextReader reader(data, TextEncoding(data));
  std::size_t pos = 6;
  std::string text;
  bool ended = true;
  if (described && (!reader.Next(pos, text, ended) || !ended)) return false;
  while (pos < data.size()) {
    if (entries.size() == kMostEntries || !reader.Next(pos, text, ended)) {
      entries.clear();
      return false;
    }
    if (!ended || data.size() - pos < 4) return false;
    entries.push_back({BigEndian(data, pos, 4), std::move(text)});
    pos += 4;
  }
  return !entries.empty();
}

// "[mm:ss.xxx]"
std::string Stamp(std::int64_t ms) {
  const auto digits = [](std::int64_t value, std::size_t width) {
    std::string text = NumberText(value);
    return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
  };
  return "[" + digits(ms / 60000, 2) + ":" + digits(ms / 1000 % 60, 2) + "." +
         digits(ms % 1000, 3) + "]";
}

std::string WithoutLeadingStamps(const std::string& phrase) {
  std::size_t pos = 0, end;
  std::int64_t ms;
  for (;; pos = end) {
    while (pos < phrase.size() && IsLrcBlank(phrase[pos])) ++pos;
    if (pos == phrase.size() || phrase[pos] != '[' || !ReadLrcStamp(phrase, pos + 1, ']', end, ms))
      break;
  }
  return phrase.substr(pos);
}

std::string SyltLines(std::vector<Entry>& entries) {
  const bool syllables = std::any_of(entries.begin(), entries.end(), [](const Entry& e) {
    return !e.text.empty() && (IsBreak(e.text.front()) || IsBreak(e.text.back()));
  });
  std::string lrc, phrase;
  std::int64_t time = -1;
  const auto flush = [&] {
    if (time >= 0) lrc += Stamp(time) + WithoutLeadingStamps(phrase) + "\n";
  };
  bool lineEnded = true;
  for (Entry& entry : entries) {
    std::string& text = entry.text;
    const bool lead = !text.empty() && IsBreak(text.front());
    const bool trail = !text.empty() && IsBreak(text.back());
    while (!text.empty() && IsBreak(text.back())) text.pop_back();
    text.erase(0, std::min(text.size(), text.find_first_not_of("\r\n")));
    std::replace_if(text.begin(), text.end(), IsBreak, ' ');
    if (!syllables || lineEnded || lead) {
      flush();
      time = entry.time;
      phrase = std::move(text);
    } else {
      phrase += text;
    }
    lineEnded = trail;
  }
  flush();
  return lrc;
}

// The audio's frame rate, looked for once and only when a SYLT needs it.
struct AudioTiming {
  ByteSource& song;
  bool looked = false, found = false;
  std::int64_t samplesPerFrame = 0, sampleRate = 0;
  bool Find() {
    if (!looked) found = ReadMpegTiming(song, samplesPerFrame, sampleRate);
    looked = true;
    return found;
  }
};

bool SyltLrc(const std::string& data, AudioTiming& audio, std::string& lrc, LrcEncoding& encoding,
             Notes& notes) {
  const int format = data[4];  // 1: MPEG frames, 2: milliseconds
  if (TextEncoding(data) > 3 || (format != 1 && format != 2)) return false;
  std::vector<Entry> entries, bare;
  if (!Entries(data, true, entries) && Entries(data, false, bare)) entries = std::move(bare);
  if (entries.empty()) return false;
  if (format == 1) {
    if (!audio.Find()) {
      notes.push_back({false, "a SYLT in MPEG frames, but no MPEG audio after the tag"});
      return false;
    }
    const std::int64_t perSecond = audio.sampleRate;
    for (Entry& entry : entries) {
      entry.time = (entry.time * audio.samplesPerFrame * 1000 + perSecond / 2) / perSecond;
    }
  }
  lrc = SyltLines(entries);
  encoding = LrcEncodingOf(TextEncoding(data));
  return true;
}

bool IsLyrics(const Id3Frame& frame) {
  return frame.synced ? frame.data.size() >= 6 && frame.data[5] == 1 : frame.data.size() >= 4;
}

std::string Language(const Id3Frame& frame) {
  std::string language = frame.data.substr(1, 3);
  for (char& c : language) c = AsciiLower(c);
  return language;
}

}  // namespace

bool ReadId3Lyrics(ByteSource& song, std::string& lrc, LrcEncoding& encoding, Notes& notes) {
  std::vector<Id3Frame> frames;
  if (!ReadId3Frames(song, frames, notes)) return false;
  std::string language;
  for (const Id3Frame& frame : frames) {
    if (IsLyrics(frame)) {
      language = Language(frame);
      break;
    }
  }
  AudioTiming audio{song};
  // SYLT in the language, in another, then USLT in the language, in another.
  for (int pass = 0; pass < 4; ++pass) {
    const bool synced = pass < 2, own = pass % 2 == 0;
    for (const Id3Frame& frame : frames) {
      if (frame.synced != synced || !IsLyrics(frame) || (Language(frame) == language) != own) {
        continue;
      }
      if (synced ? SyltLrc(frame.data, audio, lrc, encoding, notes)
                 : UsltLrc(frame.data, lrc, encoding)) {
        return true;
      }
    }
  }
  notes.push_back({true, "no SYLT lyrics, nor a USLT with timestamps, in the ID3v2 tag"});
  return false;
}

bool Mp3LyricsToRecords(ByteSource& song, std::vector<LyricRecord>& records, Notes& notes,
                        LrcPhrases kept) {
  records.clear();
  std::string lrc;
  LrcEncoding encoding;
  return ReadId3Lyrics(song, lrc, encoding, notes) &&
         LrcToRecords(lrc, encoding, records, notes, kept);
}

}  // namespace velomar
