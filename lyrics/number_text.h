// Numbers as the program shows and writes them: plain decimal digits, a "-"
// before negative values, nothing else.
#pragma once

#include <cstdint>
#include <string>

namespace velomar {

std::string NumberText(std::int64_t value);

// The clock as shown in the status label: a whole number of ticks.
std::string TicksText(double ticks);

// The time field of a lyric file record as a table time: optional sign,
// decimal digits, optional fraction (truncated toward zero); "&H"/"&O" in
// either case for hexadecimal/octal digits. Reading stops at the first other
// character; no digit gives 0; a value outside the signed 32-bit range gives
// INT32_MIN.
std::int32_t ParseTimeField(const std::string& text);

}  // namespace velomar
