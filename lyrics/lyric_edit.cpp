#include "lyrics/lyric_edit.h"

#include <algorithm>

namespace velomar {

// A line whose phrase was emptied still holds its translation.
bool Unwritten(const LyricTable& table, int index) {
  return table.time[index] == 0 && table.phrase[index].empty() && table.detail[index].rows.empty();
}

namespace {

NeverShown Reason(Unreachable why) {
  switch (why) {
    case Unreachable::Negative: return NeverShown::Negative;
    case Unreachable::SameAsPrevious: return NeverShown::SameAsPrevious;
    case Unreachable::BeforePrevious: return NeverShown::BeforePrevious;
    case Unreachable::None: break;
  }
  return NeverShown::No;
}

}  // namespace

void ShiftEntriesUp(LyricTable& table, int at) {
  for (int i = kLyricEntries - 1; i > at; --i) {
    table.time[i] = table.time[i - 1];
    table.phrase[i] = std::move(table.phrase[i - 1]);
    table.original[i] = std::move(table.original[i - 1]);
    table.detail[i] = std::move(table.detail[i - 1]);
  }
  table.time[at] = 0;
  table.phrase[at].clear();
  table.original[at].clear();
  table.detail[at] = LineDetail{};
}

void ShiftEntriesDown(LyricTable& table, int at) {
  for (int i = at; i < kLyricEntries - 1; ++i) {
    table.time[i] = table.time[i + 1];
    table.phrase[i] = std::move(table.phrase[i + 1]);
    table.original[i] = std::move(table.original[i + 1]);
    table.detail[i] = std::move(table.detail[i + 1]);
  }
  table.time[kLyricEntries - 1] = 0;
  table.phrase[kLyricEntries - 1].clear();
  table.original[kLyricEntries - 1].clear();
  table.detail[kLyricEntries - 1] = LineDetail{};
}

// The counters point at entries: they move with the entries an insert or a
// delete moves, so the next press still writes after the same phrase and
// the Kashi form's save still covers every line it added.
// Neither passes the 3000 adds of one opening: the line pushed past them is
// still in the lyrics, but no press of this opening writes after it.
void MoveCountersForInsert(LyricTable& table, int at) {
  if (table.AddIndex > 0 && at <= table.AddIndex && table.AddIndex < kMaxAdds) {
    table.AddIndex += 1;
    table.RemainingLines = std::max(0, table.RemainingLines - 1);
  }
  if (table.AddedCount > 0 && at <= table.AddedCount && table.AddedCount < kMaxAdds) {
    table.AddedCount += 1;
  }
}

void MoveCountersForDelete(LyricTable& table, int at) {
  if (at < table.AddIndex) {
    table.AddIndex -= 1;
    table.RemainingLines += 1;
  }
  if (at < table.AddedCount) table.AddedCount -= 1;
}

int LyricLineCount(const LyricTable& table) {
  for (int i = kLyricEntries - 1; i >= 0; --i) {
    if (!Unwritten(table, i)) return i + 1;
  }
  return 0;
}

Unreachable WhyUnreachable(const LyricTable& table, int index) {
  if (!IsEntry(index)) return Unreachable::None;
  const std::int32_t time = table.time[index];
  if (time < 0) return Unreachable::Negative;
  if (index == 0) return Unreachable::None;
  const std::int32_t previous = table.time[index - 1];
  if (time == previous) return Unreachable::SameAsPrevious;
  if (time < previous) return Unreachable::BeforePrevious;
  return Unreachable::None;
}

int FirstUnreached(const LyricTable& table) {
  for (int i = 0; i < kLyricEntries; ++i) {
    if (WhyUnreachable(table, i) != Unreachable::None) return i;
  }
  return kLyricEntries;
}

NeverShown LineMarks::Of(int line) const {
  if (line < first || line >= lines) return NeverShown::No;
  return line == first ? firstReason : NeverShown::StoppedEarlier;
}

LineMarks MarkLines(const LyricTable& table) {
  LineMarks marks;
  marks.lines = LyricLineCount(table);
  marks.first = std::min(FirstUnreached(table), marks.lines);
  if (marks.first < marks.lines) marks.firstReason = Reason(WhyUnreachable(table, marks.first));
  return marks;
}

namespace {

// `value` in units of 1/`perSecond` s as m:ss and `digits` digits of the
// fraction.
std::string Minutes(std::int64_t value, std::int64_t perSecond, int digits) {
  const std::int64_t whole = value < 0 ? -value : value;
  const std::int64_t seconds = whole / perSecond % 60;
  std::string fraction = std::to_string(whole % perSecond);
  while (fraction.size() < static_cast<std::size_t>(digits)) fraction.insert(0, 1, '0');
  return (value < 0 ? "-" : "") + std::to_string(whole / perSecond / 60) + ":" +
         (seconds < 10 ? "0" : "") + std::to_string(seconds) + "." + fraction;
}

}  // namespace

std::string MinutesText(std::int32_t ticks) { return Minutes(ticks, 10, 1); }

std::string MinutesText(std::int32_t ticks, std::int8_t hundredths) {
  return Minutes(std::int64_t{ticks} * 10 + hundredths, 100, 2);
}

}  // namespace velomar
