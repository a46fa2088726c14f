#include "lyrics/lyric_table.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velomar {

void BeginAdding(LyricTable& table) {
  table.AddIndex = 0;
  table.RemainingLines = kMaxAdds;
  table.AddedCount = 0;
}

bool AddPhrase(LyricTable& table, const std::string& text, double ticks) {
  if (table.RemainingLines <= 0) return false;
  // A reset or a stray counter must never let an add write outside the table.
  if (!IsEntry(table.AddIndex)) return false;
  table.RemainingLines -= 1;
  table.AddedCount += 1;
  table.phrase[table.AddIndex] = text;
  table.time[table.AddIndex] = TicksToTime(ticks);
  table.detail[table.AddIndex] = LineDetail{};
  table.AddIndex += 1;
  return true;
}

void ResetLyrics(LyricTable& table) {
  for (int i = 0; i < kLyricEntries; ++i) {
    table.phrase[i].clear();
    table.original[i].clear();
    table.detail[i] = LineDetail{};
    table.time[i] = 0;
  }
}

bool HoldsTranslations(const LyricTable& table) {
  return std::any_of(table.detail.begin(), table.detail.end(),
                     [](const LineDetail& detail) { return !detail.rows.empty(); });
}

const std::string& FirstRow(const LyricTable& table, int index) {
  static const std::string kNone;
  const std::vector<std::string>& rows = table.detail[index].rows;
  return rows.empty() ? kNone : rows.front();
}

std::int64_t LineHundredths(std::int32_t time, const LineDetail& detail) {
  return std::max<std::int64_t>(0, std::int64_t{time} * 10 + detail.hundredths);
}

std::int32_t TicksToTime(double ticks) {
  constexpr std::int32_t kOutOfRange = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(ticks)) return kOutOfRange;
  const double whole = std::trunc(ticks);
  // Compare before converting: casting an out-of-range double is undefined.
  if (whole < -2147483648.0 || whole > 2147483647.0) return kOutOfRange;
  return static_cast<std::int32_t>(whole);
}

}  // namespace velomar
