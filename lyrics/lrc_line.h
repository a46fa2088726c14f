// The pieces of one LRC line that the reader takes apart and the writer must
// not produce by accident (lrc_line.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velomar {

bool IsLrcBlank(char c);

// A word stamp taken out of a line: the byte of the words it stood before,
// and its time in milliseconds.
struct LrcWordStamp {
  std::size_t at;
  std::int64_t ms;
};

// The words of a timed line from `pos` to `end`, after its leading
// timestamps: every <m:ss.xx> and [m:ss.xx] stamp taken out, the blanks
// around each collapsed to one, and blanks and tabs trimmed at both ends.
// The stamps taken out go to `stamps` when given, in line order.
std::string LrcWords(const std::string& text, std::size_t pos, std::size_t end,
                     std::vector<LrcWordStamp>* stamps = nullptr);

// Whether `text` holds a timestamp in `open` and `close` anywhere, as
// ReadLrcStamp reads it.
bool HoldsLrcStamp(const std::string& text, char open, char close);

// "[offset:+500]", "[offset: -200 ]", in any case, at `pos`: milliseconds by
// which the lyrics come sooner.
enum class OffsetTag { kNone, kOffset, kNotANumber };
OffsetTag ReadOffsetTag(const std::string& text, std::size_t pos, std::size_t end,
                        std::int64_t& ms);

}  // namespace velomar
