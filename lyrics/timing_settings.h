// The press offset: how much earlier than the moment of its key a press is
// stamped (press_stamp.h), the user's own lag, in whole milliseconds from
// -1000 to 1000; positive for a user who presses late. It is kept in the
// settings file timing.ini (system/app_data.h reads and writes it whole) and
// typed, or measured with the click track (click_track.h), in the offset
// form's box.
#pragma once

#include <cstdint>
#include <string>

namespace velomar {

constexpr wchar_t kTimingSettingsFile[] = L"timing.ini";
constexpr std::int32_t kLargestPressOffset = 1000;

// The offset box's text, and the file's value: an optional "-" or "+", then
// decimal digits and nothing else, -1000..1000 (leading zeros and "-0" are
// fine). Blanks (spaces, tabs, the ideographic space) at either end are
// dropped; the full-width digits and signs a Japanese input method types
// read as their ASCII forms. Bad, false with `ms` untouched: empty or blank
// text, a letter, a decimal point or a blank inside ("1 0", "- 5"), a
// second sign, anything beyond the range.
bool ParsePressOffset(const std::string& text, std::int32_t& ms);

// timing.ini's offset: 0 when the file is missing or empty, holds no
// "offset" line, or its offset (the last one, if several) is bad.
std::int32_t ParseTimingSettings(const std::string& text);
// The whole file, "[timing]" and "offset=N" in CR LF lines; an offset beyond
// the range is written as the end of the range it passed.
std::string FormatTimingSettings(std::int32_t offsetMs);

}  // namespace velomar
