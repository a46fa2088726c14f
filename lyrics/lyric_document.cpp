#include "lyrics/lyric_document.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "lyrics/lyric_file.h"
#include "lyrics/word_press.h"

namespace velomar {
namespace {

void SetTimes(LyricTable& table, int from, const std::vector<std::int32_t>& times) {
  for (std::size_t i = 0; i < times.size(); ++i) table.time[from + static_cast<int>(i)] = times[i];
}

void SwapEntries(LyricTable& a, LyricTable& b) {
  a.time.swap(b.time);
  a.phrase.swap(b.phrase);
  a.original.swap(b.original);
  a.detail.swap(b.detail);
}

}  // namespace

LyricDocument::LyricDocument() : table_(std::make_unique<LyricTable>()) {}

LyricDocument::~LyricDocument() = default;

bool LyricDocument::HoldsTranslations() const {
  if (!rowsKnown_ || rowsRevision_ != table_->Revision) {
    holdsRows_ = velomar::HoldsTranslations(*table_);
    rowsRevision_ = table_->Revision;
    rowsKnown_ = true;
  }
  return holdsRows_;
}

LyricDocument::Counters LyricDocument::CountersNow() const {
  return {table_->AddIndex, table_->RemainingLines, table_->AddedCount};
}

// The entry the editor selects after a step: a shift keeps the selection.
int LyricDocument::ChangedBy(const Step& step) {
  return step.kind == Kind::Shift ? -1 : step.index;
}

// The counters of another opening would let the next press skip entries
// or write past the 3000 adds one opening may make; that opening's steps
// bring back their entries only.
void LyricDocument::Restore(const Step& step, bool after) {
  if (step.opening != opening_) return;
  const Counters& counters = after ? step.countersAfter : step.countersBefore;
  table_->AddIndex = counters.addIndex;
  table_->RemainingLines = counters.remaining;
  table_->AddedCount = counters.added;
  lastPress_ = after ? step.pressAfter : step.pressBefore;
}

// Every change moves the revision on, so that the display catches up with
// it; the table's own unsaved flag follows the saved mark for its readers.
LyricDocument::LyricDocument(LyricDocument&&) noexcept = default;
LyricDocument& LyricDocument::operator=(LyricDocument&&) noexcept = default;

// The watcher sees what the change did to a press; the next change starts
// from none.
void LyricDocument::Changed(PressChange press) {
  pressChange_ = press;
  table_->Revision += 1;
  if (watcher_) watcher_();
  pressChange_ = PressChange::None;
}

// An undone or redone press of this opening is handed to the timing window
// exactly as F6 and F5 would hand it; any other step is not.
LyricDocument::PressChange LyricDocument::PressOf(const Step& step, PressChange change) {
  if (step.kind != Kind::Press || step.opening != opening_) return PressChange::None;
  changedPress_ = {step.handBack, step.pouredIn};
  return change;
}

void LyricDocument::BeginAdding() {
  velomar::BeginAdding(*table_);
  opening_ += 1;
  Changed();
}

LyricDocument::Step LyricDocument::Begin(Kind kind, int index) const {
  Step step{};
  step.kind = kind;
  step.index = index;
  if (IsEntry(index)) {
    step.timeBefore = table_->time[index];
    step.phraseBefore = table_->phrase[index];
    step.originalBefore = table_->original[index];
    step.detailBefore = table_->detail[index];
  }
  step.countersBefore = CountersNow();
  step.pressBefore = lastPress_;
  step.opening = opening_;
  return step;
}

// The change is already in the table; the step takes what it left.
void LyricDocument::Commit(Step step) {
  if (IsEntry(step.index)) {
    step.timeAfter = table_->time[step.index];
    step.phraseAfter = table_->phrase[step.index];
    step.detailAfter = table_->detail[step.index];
  }
  step.countersAfter = CountersNow();
  step.pressAfter = lastPress_;
  step.state = nextState_++;
  state_ = step.state;
  changed_ = ChangedBy(step);
  undo_.push_back(std::move(step));
  redo_.clear();
  Changed();
}

bool LyricDocument::Press(const std::string& text, double ticks, bool clockRunning,
                          std::int64_t play, bool pouredIn) {
  return PressAt(text, TicksToTime(ticks), 0, clockRunning, play, pouredIn);
}

bool LyricDocument::Press(const std::string& text, const PressStamp& stamp, bool clockRunning,
                          std::int64_t play, bool pouredIn) {
  return PressAt(text, stamp.tick, stamp.hundredths, clockRunning, play, pouredIn);
}

bool LyricDocument::PressAt(const std::string& text, std::int32_t time, std::int8_t hundredths,
                            bool clockRunning, std::int64_t play, bool pouredIn, bool byWord) {
  const int index = table_->AddIndex;
  // One opening writes entries 0..2999 at most, whatever moved the counters.
  if (table_->RemainingLines <= 0 || index < 0 || index >= kMaxAdds) return false;
  const LastPress& last = lastPress_;
  if (clockRunning && last.any && last.play == play && time <= last.time) {
    time = last.time < kLatestTime ? last.time + 1 : last.time;
    hundredths = 0;
  }
  Step step = Begin(Kind::Press, index);
  step.pouredIn = pouredIn;
  // Word by word the line keeps the phrase without its "|", and its first
  // word starts with it.
  const PhraseWords words = byWord ? SplitWords(text) : PhraseWords{};
  AddPhrase(*table_, byWord ? words.phrase : text, time);
  table_->detail[index].hundredths = hundredths;
  table_->detail[index].words = FirstStamps(words);
  step.handBack = byWord ? text : table_->phrase[index];
  lastPress_ = {true, play, time, byWord, byWord ? text : std::string()};
  Commit(std::move(step));
  return true;
}

bool LyricDocument::TakeBackPress(TakenBack& taken) {
  if (undo_.empty()) return false;
  const Step& last = undo_.back();
  if ((last.kind != Kind::Press && last.kind != Kind::Word) || last.opening != opening_) {
    return false;
  }
  taken.phrase = last.handBack;
  taken.pouredIn = last.pouredIn;
  return Undo();
}

// A time typed in ticks drops the hundredths an LRC gave, unless it is the
// tick the line already has.
bool LyricDocument::SetTime(int index, std::int32_t time) {
  if (!IsEntry(index)) return false;
  return table_->time[index] == time || Retime(index, time, 0);
}

bool LyricDocument::SetTime(int index, const PressStamp& stamp) {
  return IsEntry(index) && Retime(index, stamp.tick, stamp.hundredths);
}

bool LyricDocument::SetTime(int index, const PressStamp& stamp,
                            const std::vector<WordStamp>& words) {
  return IsEntry(index) && Retime(index, stamp.tick, stamp.hundredths, &words);
}

// Both within their range, or no step: the tick a lyric file's, the
// hundredths what LineDetail holds.
bool LyricDocument::Retime(int index, std::int64_t time, std::int64_t hundredths,
                           const std::vector<WordStamp>* words) {
  LineDetail& detail = table_->detail[index];
  using Held = std::numeric_limits<std::int8_t>;
  if (time < kEarliestTime || time > kLatestTime || hundredths < Held::min() ||
      hundredths > Held::max()) {
    return false;
  }
  const bool sameWords = words == nullptr || detail.words == *words;
  if (table_->time[index] == time && detail.hundredths == hundredths && sameWords) return true;
  Step step = Begin(Kind::Set, index);
  table_->time[index] = static_cast<std::int32_t>(time);
  detail.hundredths = static_cast<std::int8_t>(hundredths);
  if (words != nullptr) detail.words = *words;
  Commit(std::move(step));
  return true;
}

bool LyricDocument::Nudge(int index, std::int32_t ticks) {
  if (!IsEntry(index)) return false;
  const std::int64_t wanted = static_cast<std::int64_t>(table_->time[index]) + ticks;
  const std::int64_t kept =
      std::min<std::int64_t>(std::max<std::int64_t>(wanted, kEarliestTime), kLatestTime);
  if (kept == table_->time[index]) return false;
  return Retime(index, kept, table_->detail[index].hundredths);
}

bool LyricDocument::NudgeHundredths(int index, std::int32_t hundredths) {
  if (!IsEntry(index) || hundredths == 0) return false;
  const std::int64_t time = table_->time[index];
  const std::int64_t line = time * 10 + table_->detail[index].hundredths + hundredths;
  const std::int64_t whole = line >= 0 ? line / 10 : -((-line + 9) / 10);
  const std::int64_t tick = hundredths > 0 ? std::max(time, whole) : std::min(time, whole);
  return Retime(index, tick, line - tick * 10);
}

bool LyricDocument::SetPhrase(int index, const std::string& phrase) {
  if (!IsEntry(index)) return false;
  if (table_->phrase[index] == phrase) return true;
  Step step = Begin(Kind::Set, index);
  table_->phrase[index] = phrase;
  // The stamps point into the words that were there.
  table_->detail[index].words.clear();
  Commit(std::move(step));
  return true;
}

bool LyricDocument::SetWords(int index, const std::vector<WordStamp>& words) {
  if (!IsEntry(index)) return false;
  if (table_->detail[index].words == words) return true;
  Step step = Begin(Kind::Set, index);
  table_->detail[index].words = words;
  Commit(std::move(step));
  return true;
}

bool LyricDocument::SetTranslation(int index, const std::string& row) {
  if (!IsEntry(index)) return false;
  std::vector<std::string>& rows = table_->detail[index].rows;
  if (rows.empty() ? row.empty() : rows.front() == row) return true;
  Step step = Begin(Kind::Set, index);
  if (row.empty()) {
    rows.erase(rows.begin());
  } else if (rows.empty()) {
    rows.push_back(row);
  } else {
    rows.front() = row;
  }
  Commit(std::move(step));
  return true;
}

bool LyricDocument::InsertAfter(int index) {
  const int at = index + 1;
  if (index < -1 || !IsEntry(at) || !Unwritten(*table_, kLyricEntries - 1)) return false;
  Step step = Begin(Kind::Insert, at);
  ShiftEntriesUp(*table_, at);
  // One tick after the line it follows, so that the display reaches it.
  const std::int32_t before = index >= 0 ? table_->time[index] : 0;
  table_->time[at] = before < kLatestTime ? before + 1 : before;
  MoveCountersForInsert(*table_, at);
  Commit(std::move(step));
  return true;
}

bool LyricDocument::Shift(int from, std::int32_t ticks) {
  const int lines = LyricLineCount(*table_);
  if (from < 0 || from >= lines) return false;
  Step step = Begin(Kind::Shift, from);
  bool moved = false;
  for (int i = from; i < lines; ++i) {
    const std::int64_t time = table_->time[i];
    // A time already below 0 (a lyric file may hold one) is not moved lower.
    const std::int64_t floor = std::min<std::int64_t>(time, 0);
    const std::int64_t wanted = std::max(floor, std::min<std::int64_t>(time + ticks, kLatestTime));
    step.timesBefore.push_back(table_->time[i]);
    step.timesAfter.push_back(static_cast<std::int32_t>(wanted));
    moved = moved || wanted != time;
  }
  if (!moved) return false;
  for (int i = from; i < lines; ++i) table_->time[i] = step.timesAfter[i - from];
  Commit(std::move(step));
  return true;
}

bool LyricDocument::Delete(int index) {
  if (!IsEntry(index)) return false;
  Step step = Begin(Kind::Delete, index);
  ShiftEntriesDown(*table_, index);
  MoveCountersForDelete(*table_, index);
  Commit(std::move(step));
  return true;
}

bool LyricDocument::Reset() {
  bool written = false;
  for (int i = 0; i < kLyricEntries && !written; ++i) written = !Unwritten(*table_, i);
  if (!written) return false;
  Step step = Begin(Kind::Reset, -1);
  step.cleared = std::make_unique<LyricTable>();
  SwapEntries(*table_, *step.cleared);
  Commit(std::move(step));
  return true;
}

bool LyricDocument::Undo() {
  if (undo_.empty()) return false;
  Step& step = undo_.back();
  LyricTable& table = *table_;
  switch (step.kind) {
    case Kind::Insert: ShiftEntriesDown(table, step.index); break;
    case Kind::Delete:
      ShiftEntriesUp(table, step.index);
      table.original[step.index] = step.originalBefore;
      [[fallthrough]];
    case Kind::Press:
    case Kind::Word:
    case Kind::Set:
      table.time[step.index] = step.timeBefore;
      table.phrase[step.index] = step.phraseBefore;
      table.detail[step.index] = step.detailBefore;
      break;
    case Kind::Reset: SwapEntries(table, *step.cleared); break;
    case Kind::Shift: SetTimes(table, step.index, step.timesBefore); break;
  }
  Restore(step, false);
  changed_ = ChangedBy(step);
  const PressChange press = PressOf(step, PressChange::Undone);
  redo_.push_back(std::move(step));
  undo_.pop_back();
  state_ = undo_.empty() ? base_ : undo_.back().state;
  Changed(press);
  return true;
}

bool LyricDocument::Redo() {
  if (redo_.empty()) return false;
  Step& step = redo_.back();
  LyricTable& table = *table_;
  switch (step.kind) {
    case Kind::Delete: ShiftEntriesDown(table, step.index); break;
    case Kind::Insert: ShiftEntriesUp(table, step.index); [[fallthrough]];
    case Kind::Press:
    case Kind::Word:
    case Kind::Set:
      table.time[step.index] = step.timeAfter;
      table.phrase[step.index] = step.phraseAfter;
      table.detail[step.index] = step.detailAfter;
      break;
    case Kind::Reset: SwapEntries(table, *step.cleared); break;
    case Kind::Shift: SetTimes(table, step.index, step.timesAfter); break;
  }
  Restore(step, true);
  changed_ = ChangedBy(step);
  state_ = step.state;
  const PressChange press = PressOf(step, PressChange::Redone);
  undo_.push_back(std::move(step));
  redo_.pop_back();
  Changed(press);
  return true;
}

bool LyricDocument::Load(const std::function<bool(LyricTable& fresh)>& read) {
  auto fresh = std::make_unique<LyricTable>();
  if (!read(*fresh)) return false;
  // A load replaces the entries only: the timing window's counters go on.
  fresh->AddIndex = table_->AddIndex;
  fresh->RemainingLines = table_->RemainingLines;
  fresh->AddedCount = table_->AddedCount;
  fresh->Revision = table_->Revision;
  table_ = std::move(fresh);
  undo_.clear();
  redo_.clear();
  lastPress_ = LastPress{};
  changed_ = -1;
  base_ = state_ = saved_ = nextState_++;
  Changed();
  return true;
}

void LyricDocument::MarkSaved(StateId state) { saved_ = state; }

}  // namespace velomar
