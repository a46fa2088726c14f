#include "lyrics/lyric_text.h"

#include <cstdint>
#include <vector>

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

constexpr std::uint32_t kNoCharacter = 0xFFFFFFFF;

// The UTF-8 of the code page 932 code of `length` bytes at `at`, packed with
// its length in the top byte; kNoCharacter for a code that is no character.
// Each code is asked of the platform once: a lyric file's thousands of
// phrases share a few hundred characters, and a platform call a phrase cost
// more than reading the file.
std::uint32_t CodeUtf8(const char* at, std::size_t length) {
  thread_local std::vector<std::uint32_t> known(1 << 16, 0);
  const unsigned char lead = static_cast<unsigned char>(at[0]);
  const std::uint16_t code = static_cast<std::uint16_t>(
      length == 2 ? lead << 8 | static_cast<unsigned char>(at[1]) : lead);
  std::uint32_t& packed = known[code];
  if (packed == 0) {
    std::string utf8;
    packed = kNoCharacter;
    if (SjisToUtf8(std::string(at, length), utf8) && !utf8.empty() && utf8.size() <= 3) {
      packed = static_cast<std::uint32_t>(utf8.size()) << 24;
      for (std::size_t i = 0; i < utf8.size(); ++i) {
        packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[i])) << (16 - 8 * i);
      }
    }
  }
  return packed;
}

// The text of a lyric file's phrase, U+FFFD for each byte that is no
// character; false when there was such a byte.
bool Decode(const std::string& sjis, std::string& utf8) {
  utf8.clear();
  utf8.reserve(sjis.size() + sjis.size() / 2);
  bool whole = true;
  for (std::size_t i = 0; i < sjis.size();) {
    const unsigned char lead = static_cast<unsigned char>(sjis[i]);
    if (lead < 0x80) {
      utf8 += sjis[i++];
      continue;
    }
    std::size_t length = SjisCharLength(lead);
    if (i + length > sjis.size()) length = 1;
    const std::uint32_t packed = CodeUtf8(sjis.data() + i, length);
    if (packed == kNoCharacter) {
      AppendUtf8(utf8, U'\uFFFD');
      whole = false;
      i += 1;
      continue;
    }
    for (std::uint32_t k = 0; k < packed >> 24; ++k) {
      utf8 += static_cast<char>(packed >> (16 - 8 * k) & 0xFF);
    }
    i += length;
  }
  return whole;
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
  Decode(sjis, utf8);
  return utf8;
}

void TakeFromFile(LyricTable& table, int index) {
  std::string& phrase = table.phrase[index];
  std::string& original = table.original[index];
  original.clear();
  if (IsAscii(phrase)) return;
  std::string text, back;
  const bool whole = Decode(phrase, text);
  // Kept only where the text alone would not give the bytes back.
  if (!whole || (HoldsTwinLead(phrase) && !(Utf8ToSjis(text, back) && back == phrase))) {
    original.swap(phrase);
  }
  phrase.swap(text);
}

constexpr char kRowJoin[] = " / ";

std::string ShownPhrase(const LyricTable& lyrics, int index) {
  std::string shown = lyrics.phrase[index];
  for (const std::string& row : lyrics.detail[index].rows) {
    if (row.empty()) continue;
    if (!shown.empty()) shown += kRowJoin;
    shown += row;
  }
  return shown;
}

bool PhraseForFile(const LyricTable& lyrics, int index, std::string& sjis) {
  const std::string& original = lyrics.original[index];
  const std::string& phrase = lyrics.phrase[index];
  if (!original.empty() && PhraseFromFile(original) == phrase) {
    sjis = original;
  } else if (!Utf8ToSjis(phrase, sjis)) {
    return false;
  }
  std::string row;
  for (const std::string& text : lyrics.detail[index].rows) {
    if (text.empty()) continue;
    if (!Utf8ToSjis(text, row)) return false;
    if (!sjis.empty()) sjis += kRowJoin;
    sjis += row;
  }
  return true;
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
