// The lyrics being worked on: the table with its adding counters, one
// history of every change with undo and redo, a revision the views follow
// and a saved mark. Every write to the table goes through here, so that no
// change can be lost without a question or taken back into other lyrics.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/lyric_edit.h"
#include "lyrics/lyric_table.h"
#include "lyrics/press_stamp.h"
#include "lyrics/word_split.h"

namespace velomar {

class LyricDocument {
 public:
  // Names one state of the document: what a save wrote, to be marked saved.
  using StateId = std::uint64_t;

  LyricDocument();
  ~LyricDocument();
  LyricDocument(const LyricDocument&) = delete;
  LyricDocument& operator=(const LyricDocument&) = delete;
  // A new, empty document in place of this one (the watcher goes with it).
  LyricDocument(LyricDocument&&) noexcept;
  LyricDocument& operator=(LyricDocument&&) noexcept;

  // Its Revision is the document's.
  const LyricTable& Table() const { return *table_; }
  // Changes with every change of the table or its counters.
  std::uint32_t Revision() const { return table_->Revision; }
  // The entry the latest step, undo or redo changed (where an insert or a
  // delete moved the entries), -1 after a reset or a load: for the editor
  // to select, wherever the change came from.
  int ChangedEntry() const { return changed_; }
  // HoldsTranslations of the table, worked out again only after a change:
  // the windows ask at every change and every opening.
  bool HoldsTranslations() const;

  // Called after every change of the table or its counters, whatever made
  // it: the views follow the document rather than each command.
  void Watch(std::function<void()> watcher) { watcher_ = std::move(watcher); }

  // The counters start again (AddIndex 0, RemainingLines 3000, AddedCount
  // 0) for a new opening of the timing window; no step, nothing lost.
  void BeginAdding();

  // One press of the timing window: the phrase at AddIndex with the clock's
  // tick. While the clock runs, a press that is not after the press before
  // it in the same play (the same `play`: Play and the loop's restart give a
  // new one) stores that press's time + 1, so that the display shows both.
  // False, with no step, when AddPhrase would refuse.
  bool Press(const std::string& text, double ticks, bool clockRunning, std::int64_t play,
             bool pouredIn);
  // The same press stamped to the hundredth: the line at the stamp's tick,
  // with its hundredths; a press moved after the one before it lands on that
  // tick + 1 exactly.
  bool Press(const std::string& text, const PressStamp& stamp, bool clockRunning, std::int64_t play,
             bool pouredIn);
  // Undoes the latest step when it is a press of this opening (a word press
  // too), handing back what it registered; false, changing nothing,
  // otherwise.
  bool TakeBackPress(TakenBack& taken);

  // The timing window's word mode (word_press.h). The line its presses
  // stamp: the entry this opening's latest press stored when that press was
  // made word by word, with the words of the text as it was typed; index -1
  // when there is none, or when its phrase has been changed since.
  struct WordLine {
    int index = -1;
    PhraseWords words;
  };
  WordLine PressedWords() const;
  // A press word by word: the next word of the line being pressed, one step;
  // once that line has none left, `typed` becomes the next line, stored as
  // Press stores a phrase (SplitWords(typed).phrase, its first word stamped
  // at the line's time) in one step, and an undo of it hands `typed` back.
  enum class WordPressed { Refused, Word, Line };
  WordPressed PressByWord(const std::string& typed, const PressStamp& stamp, bool clockRunning,
                          std::int64_t play, bool pouredIn);
  // The end key: the end of the word being sung, one step; false when no
  // word is being sung.
  bool EndPressedWord(const PressStamp& stamp);

  // What the latest change did to a press of this opening, for the timing
  // window to hand its phrase back (undone) or take it again (redone),
  // whichever command undid or redid it. None after any other change.
  enum class PressChange { None, Undone, Redone };
  PressChange LastPressChange() const { return pressChange_; }
  const TakenBack& ChangedPress() const { return changedPress_; }

  // The editor's changes, each false (no step) when `index` is no entry.
  // A time or phrase the entry already holds is accepted without a step.
  // A time set in ticks drops the line's hundredths.
  bool SetTime(int index, std::int32_t time);
  // The editor's "now": the line's tick and hundredths from a press stamp.
  bool SetTime(int index, const PressStamp& stamp);
  // The same with the line's word stamps, as one step: the editor's first
  // word press of a line.
  bool SetTime(int index, const PressStamp& stamp, const std::vector<WordStamp>& words);
  // Moves a time by `ticks` within the lyric file's range, its hundredths
  // kept; false when it is already at the end of the range it would leave.
  bool Nudge(int index, std::int32_t ticks);
  // Moves a time by `hundredths` (Alt+- and Alt++: one each way). The tick
  // becomes the new time's whole ticks, truncated as a press stamp's, but
  // never moves against the nudge: a line an LRC gave hundredths below its
  // tick keeps that tick on the way up until the time passes it. False when
  // the tick would leave the lyric file's range.
  bool NudgeHundredths(int index, std::int32_t hundredths);
  // A new phrase drops the line's word stamps, in the same step.
  bool SetPhrase(int index, const std::string& phrase);
  // The line's word stamps, as the timing window's word presses make them.
  bool SetWords(int index, const std::vector<WordStamp>& words);
  // The line's first translation row; "" takes that row away.
  bool SetTranslation(int index, const std::string& row);
  // A line one tick after line `index` (-1: a first line, at tick 1, since
  // an empty entry at 0 is no line); false when entry 3000 is in use and
  // would fall off.
  bool InsertAfter(int index);
  // Line `from` and every line after it `ticks` later (or sooner), no time
  // moved below 0: the whole song's lyrics early or late, fixed at once.
  // False, with no step, when no time would move.
  bool Shift(int from, std::int32_t ticks);
  bool Delete(int index);
  // Every entry unwritten, the counters kept; false, with no step, when
  // nothing is written.
  bool Reset();

  // Any step, whatever made it; the entries come back exactly. The counters
  // belong to the opening of the timing window: a step of this opening
  // brings them back with the entries, a step of an earlier one leaves them.
  // A new step clears what could be redone.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // A load opens a new document: `read` fills a table whose entries are all
  // unwritten; when it returns true that table replaces the whole table
  // (the counters kept), the history is emptied and the document is saved.
  // When it returns false nothing changes.
  bool Load(const std::function<bool(LyricTable& fresh)>& read);

  // Saved when no step was made since the last load or the save of the
  // state now shown. A save takes State() with what it writes and marks that
  // state once it is written.
  bool IsUnsaved() const { return state_ != saved_; }
  StateId State() const { return state_; }
  void MarkSaved(StateId state);
  // A file that held these lyrics was written over with one that does not:
  // no state of the document is saved any more.
  void MarkUnsaved() { saved_ = nextState_++; }

 private:
  enum class Kind { Press, Word, Set, Insert, Delete, Reset, Shift };
  struct Counters {
    std::int32_t addIndex, remaining, added;
  };
  struct LastPress {
    bool any = false;
    std::int64_t play = 0;
    std::int32_t time = 0;
    bool byWord = false;  // made word by word, of the text `typed`
    std::string typed;
  };
  // What one step changed, enough to undo and to redo it.
  struct Step {
    Kind kind;
    int index;
    std::int32_t timeBefore, timeAfter;
    std::string phraseBefore, phraseAfter;
    std::string originalBefore;  // Delete: the lyric file bytes it took
    LineDetail detailBefore, detailAfter;
    Counters countersBefore, countersAfter;
    LastPress pressBefore, pressAfter;
    std::uint64_t opening;                              // the timing window's opening
    bool pouredIn;                                      // Press
    std::string handBack;                               // Press: what its undo hands back
    StateId state;                                      // the state it leads to
    std::unique_ptr<LyricTable> cleared;                // Reset: the entries it cleared
    std::vector<std::int32_t> timesBefore, timesAfter;  // Shift: from `index` on
  };

  Counters CountersNow() const;
  void Restore(const Step& step, bool after);
  PressChange PressOf(const Step& step, PressChange change);
  static int ChangedBy(const Step& step);
  bool PressAt(const std::string& text, std::int32_t time, std::int8_t hundredths,
               bool clockRunning, std::int64_t play, bool pouredIn, bool byWord = false);
  void AddWordStamp(int index, const WordStamp& stamp);
  bool Retime(int index, std::int64_t time, std::int64_t hundredths,
              const std::vector<WordStamp>* words = nullptr);
  Step Begin(Kind kind, int index) const;
  void Commit(Step step);
  void Changed(PressChange press = PressChange::None);

  std::unique_ptr<LyricTable> table_;
  mutable bool rowsKnown_ = false, holdsRows_ = false;
  mutable std::uint32_t rowsRevision_ = 0;
  std::function<void()> watcher_;
  std::vector<Step> undo_, redo_;
  LastPress lastPress_;
  std::uint64_t opening_ = 0;
  int changed_ = -1;
  PressChange pressChange_ = PressChange::None;
  TakenBack changedPress_{"", false};
  StateId nextState_ = 1;
  StateId base_ = 0;  // the state before the first step of the history
  StateId state_ = 0, saved_ = 0;
};

}  // namespace velomar
