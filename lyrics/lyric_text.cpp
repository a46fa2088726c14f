#include "lyrics/lyric_text.h"

#include <cstdint>
#include <unordered_map>

#include "lyrics/sjis_convert.h"
#include "lyrics/unicode_text.h"

namespace velomar {

namespace {

// The lead bytes of the 398 codes that Unicode merges with another code
// (NEC row 13, NEC-selected and IBM extensions): only a phrase holding one
// can read back as other bytes than it was read from.
bool HoldsTwinLead(const std::string& sjis) {
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(sjis[i]);
    if (b == 0x87 || b == 0xED || b == 0xEE || b >= 0xFA) return true;
    if (SjisCharLength(b) == 2) ++i;
  }
  return false;
}

// Character by character, for the rare phrase that is not all text: ASCII
// as it is, each code looked up once.
std::string DecodeEach(const std::string& sjis) {
  std::unordered_map<std::uint16_t, std::string> known;
  std::string utf8, one;
  for (std::size_t i = 0; i < sjis.size();) {
    const unsigned char lead = static_cast<unsigned char>(sjis[i]);
    std::size_t length = SjisCharLength(lead);
    if (i + length > sjis.size()) length = 1;
    if (lead < 0x80) {
      utf8 += sjis[i++];
      continue;
    }
    const std::uint16_t code = static_cast<std::uint16_t>(
        length == 2 ? lead << 8 | static_cast<unsigned char>(sjis[i + 1]) : lead);
    auto found = known.find(code);
    if (found == known.end()) {
      if (!SjisToUtf8(sjis.substr(i, length), one)) one.clear();
      found = known.emplace(code, one).first;
    }
    if (found->second.empty()) {
      AppendUtf8(utf8, U'\uFFFD');
      i += 1;
    } else {
      utf8 += found->second;
      i += length;
    }
  }
  return utf8;
}

// Whole when every piece is: a long phrase is converted a piece at a time,
// at character boundaries, so that its conversion never holds more than
// the text and a piece.
bool DecodeInPieces(const std::string& sjis, std::string& utf8) {
  constexpr std::size_t kPiece = 64 << 10;
  utf8.clear();
  utf8.reserve(sjis.size() + sjis.size() / 2);
  std::string piece;
  for (std::size_t start = 0, i = 0; start < sjis.size(); start = i) {
    while (i < sjis.size() && i - start < kPiece) {
      i += SjisCharLength(static_cast<unsigned char>(sjis[i]));
    }
    i = i < sjis.size() ? i : sjis.size();
    if (!SjisToUtf8(sjis.substr(start, i - start), piece)) return false;
    utf8 += piece;
  }
  return true;
}

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string PhraseFromFile(const std::string& sjis) {
  if (IsAscii(sjis)) return sjis;
  std::string utf8;
  return DecodeInPieces(sjis, utf8) ? utf8 : DecodeEach(sjis);
}

void TakeFromFile(LyricTable& table, int index) {
  std::string& phrase = table.phrase[index];
  std::string& original = table.original[index];
  original.clear();
  if (IsAscii(phrase)) return;
  std::string text, back;
  const bool whole = DecodeInPieces(phrase, text);
  if (!whole) text = DecodeEach(phrase);
  // Kept only where the text alone would not give the bytes back.
  if (!whole || (HoldsTwinLead(phrase) && !(Utf8ToSjis(text, back) && back == phrase))) {
    original.swap(phrase);
  }
  phrase.swap(text);
}

bool PhraseForFile(const LyricTable& lyrics, int index, std::string& sjis) {
  const std::string& original = lyrics.original[index];
  if (!original.empty() && PhraseFromFile(original) == lyrics.phrase[index]) {
    sjis = original;
    return true;
  }
  return Utf8ToSjis(lyrics.phrase[index], sjis);
}

int ToFileTable(const LyricTable& lyrics, int count, LyricTable& file) {
  for (int i = 0; i < count && i < kLyricEntries; ++i) {
    file.time[i] = lyrics.time[i];
    if (!PhraseForFile(lyrics, i, file.phrase[i])) return i;
  }
  file.AddedCount = count;
  return -1;
}

}  // namespace velomar
