#include "lyrics/karaoke.h"

#include <algorithm>
#include <cmath>

namespace velomar {

KaraokeEdge KaraokeAt(const std::string& phrase, const std::vector<WordStamp>& words,
                      std::int64_t lineHundredths, std::int64_t nextHundredths, double ms) {
  KaraokeEdge edge;
  const auto size = static_cast<std::uint32_t>(phrase.size());
  // Words are the stamps inside the phrase; one at its end only ends the last.
  std::size_t count = 0;
  while (count < words.size() && words[count].at < size) ++count;
  if (count == 0) return edge;
  auto startMs = [&](std::size_t i) {
    return static_cast<double>(lineHundredths + words[i].after) * 10.0;
  };
  for (std::size_t i = 0; i < count; ++i) {
    const double start = startMs(i);
    double end;
    if (i + 1 < words.size()) {
      end = startMs(i + 1);
    } else {
      end = start + kLastWordMostMs;
      if (nextHundredths >= 0) end = std::min(end, static_cast<double>(nextHundredths) * 10.0);
    }
    // Stamps out of order or a next line too soon: the word is sung at once.
    end = std::max(end, start);
    if (ms >= end) continue;
    edge.state = FillState::Filling;
    edge.word = i;
    edge.begin = words[i].at;
    edge.end = i + 1 < words.size() ? std::min(words[i + 1].at, size) : size;
    edge.fraction = ms <= start ? 0.0 : (ms - start) / (end - start);
    return edge;
  }
  edge.state = FillState::AllSung;
  edge.begin = edge.end = size;
  edge.fraction = 1.0;
  return edge;
}

namespace {

double DueMs(const LyricTable& table, int line) {
  return static_cast<double>(LineHundredths(table.time[line], table.detail[line])) * 10.0;
}

bool IsLine(int line) { return line >= 0 && line < kLyricEntries; }

// Within the next tick's 100 ms: later, the tick itself comes first.
std::int64_t ChangeIn(double dueMs, double nowMs) {
  const double wait = dueMs - nowMs;
  return wait < 100.0 ? static_cast<std::int64_t>(std::ceil(std::max(wait, 1.0))) : -1;
}

}  // namespace

DueLine LineDueAt(const LyricTable& table, int told, int shown, double nowMs) {
  if (!IsLine(told)) return DueLine{};
  const double toldMs = DueMs(table, told);
  if (toldMs > nowMs) {
    const int kept = IsLine(shown) && shown < told ? shown : -1;
    return DueLine{kept, ChangeIn(toldMs, nowMs)};
  }
  const int next = told + 1;
  if (!IsLine(next) || table.time[next] <= table.time[told]) return DueLine{told, -1};
  const double nextMs = DueMs(table, next);
  if (nextMs <= nowMs) return DueLine{next, -1};
  return DueLine{told, ChangeIn(nextMs, nowMs)};
}

}  // namespace velomar
