#include "lyrics/timing_settings.h"

#include <algorithm>
#include <iterator>

#include "lyrics/number_text.h"
#include "lyrics/settings_text.h"

namespace velomar {

namespace {

// The UTF-8 forms an input method gives in full-width mode, and what they
// read as.
struct Wide {
  const char* utf8;
  char ascii;
};
constexpr Wide kWide[] = {
    {"\xef\xbc\x8b", '+'},
    {"\xef\xbc\x8d", '-'},
    {"\xe2\x88\x92", '-'},
    {"\xe3\x80\x80", ' '},
};

std::string Narrowed(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    // U+FF10..U+FF19: EF BC 90..99.
    if (text.compare(i, 2, "\xef\xbc") == 0 && i + 2 < text.size() &&
        static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
        static_cast<unsigned char>(text[i + 2]) <= 0x99) {
      out += static_cast<char>('0' + (static_cast<unsigned char>(text[i + 2]) - 0x90));
      i += 3;
      continue;
    }
    const Wide* wide = std::find_if(std::begin(kWide), std::end(kWide),
                                    [&](const Wide& w) { return text.compare(i, 3, w.utf8) == 0; });
    out += wide != std::end(kWide) ? wide->ascii : text[i];
    i += wide != std::end(kWide) ? 3 : 1;
  }
  return out;
}

}  // namespace

bool ParsePressOffset(const std::string& text, std::int32_t& ms) {
  const std::string narrow = Narrowed(text);
  const std::size_t first = narrow.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  const std::size_t last = narrow.find_last_not_of(" \t");
  std::size_t pos = first;
  const bool negative = narrow[pos] == '-';
  if (narrow[pos] == '-' || narrow[pos] == '+') ++pos;
  if (pos > last) return false;
  std::int32_t value = 0;
  for (; pos <= last; ++pos) {
    const char c = narrow[pos];
    if (c < '0' || c > '9') return false;
    // Stops growing past the range, so that no run of digits overflows.
    value = std::min(value * 10 + (c - '0'), kLargestPressOffset + 1);
  }
  if (value > kLargestPressOffset) return false;
  ms = negative ? -value : value;
  return true;
}

std::int32_t ParseTimingSettings(const std::string& text) {
  std::int32_t offset = 0;
  ForEachSetting(text, [&](const std::string& key, const std::string& value) {
    if (key == "offset" && !ParsePressOffset(value, offset)) offset = 0;
  });
  return offset;
}

std::string FormatTimingSettings(std::int32_t offsetMs) {
  const std::int32_t kept = std::min(std::max(offsetMs, -kLargestPressOffset), kLargestPressOffset);
  return "[timing]\r\noffset=" + NumberText(kept) + "\r\n";
}

}  // namespace velomar
