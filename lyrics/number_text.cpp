#include "lyrics/number_text.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace velomar {

std::string NumberText(std::int64_t value) {
  // Work on the magnitude as unsigned so that INT64_MIN has no special case.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text;
  text.reserve(n + 1);
  if (value < 0) text.push_back('-');
  while (n > 0) text.push_back(digits[--n]);
  return text;
}

std::string TicksText(double ticks) {
  if (!std::isfinite(ticks)) return "0";
  const double whole = std::trunc(ticks);
  if (whole > -9.2e18 && whole < 9.2e18) return NumberText(static_cast<std::int64_t>(whole));
  // Beyond 64 bits the double itself is a whole number; print it exactly.
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", whole);
  return buffer;
}

namespace {

int DigitValue(unsigned char c, int base) {
  int v;
  if (c >= '0' && c <= '9') {
    v = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    v = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    v = c - 'A' + 10;
  } else {
    return -1;
  }
  return v < base ? v : -1;
}

// Accumulates digits from `pos`, saturating just above the 32-bit range so
// that hundreds of digits neither overflow nor lose the out-of-range verdict.
std::uint64_t ReadDigits(const std::string& text, std::size_t pos, int base) {
  constexpr std::uint64_t kCap = std::uint64_t{1} << 32;
  std::uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const int d = DigitValue(static_cast<unsigned char>(text[pos]), base);
    if (d < 0) break;
    if (value < kCap) value = value * base + d;
  }
  return value;
}

}  // namespace

std::int32_t ParseTimeField(const std::string& text) {
  constexpr std::int32_t kOutOfRange = std::numeric_limits<std::int32_t>::min();
  constexpr std::uint64_t kMax = std::numeric_limits<std::int32_t>::max();
  if (!text.empty() && text[0] == '&') {
    if (text.size() < 2) return 0;
    int base;
    if (text[1] == 'H' || text[1] == 'h') {
      base = 16;
    } else if (text[1] == 'O' || text[1] == 'o') {
      base = 8;
    } else {
      return 0;
    }
    const std::uint64_t value = ReadDigits(text, 2, base);
    return value > kMax ? kOutOfRange : static_cast<std::int32_t>(value);
  }
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Truncation toward zero drops the fraction, so the integer digits alone
  // decide the stored time.
  const std::uint64_t value = ReadDigits(text, pos, 10);
  if (negative) {
    return value > kMax + 1 ? kOutOfRange
                            : static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
  }
  return value > kMax ? kOutOfRange : static_cast<std::int32_t>(value);
}

}  // namespace velomar
