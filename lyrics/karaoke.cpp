#include "lyrics/karaoke.h"

#include <algorithm>

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

}  // namespace velomar
