// A seeded random walk of user actions over the real program's windows,
// with the checks that must hold after every step, a replay of a recorded
// walk and a readable form of each action.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/win/bench.h"

namespace velomar::test::monkey {

enum class Where : int { Main, Kashi, KashiList, Mini, Version, KashiEdit, Other };

// The forms, in the order of Where.
constexpr int kForms = static_cast<int>(Where::Other);

enum class Kind : int {
  Click,       // a button or check box of `where`: id
  Menu,        // a command of the main window's menu: id
  Type,        // `text` into the edit box `id` of `where`; UTF-8 set as UTF-16 when `n` is 1
  Close,       // the caption's close box of `where`
  Escape,      // the Escape key on control `id` of `where` (0: the window itself)
  AnswerBox,   // button `id` of the message box owned by `where`
  AnswerFile,  // the open dialog answered with file choice `n`
  Tick,        // `n` clock ticks posted to the main window
  Notice,      // an MCI notice with code `n` posted to the main window
  Shut,        // another program's WM_CLOSE to `where` (id 0), also hidden or
               // disabled, or to the box or dialog `where` owns (id 1)
  Key,         // the key `id` on the lyric editor's list, with Ctrl held when `n` is 1
  Paste,       // `text` (UTF-8) copied as UTF-16 by another program, pasted into box `id`
  Overlay,  // the desktop lyrics: menu command `id` (kMenuOverlay, kMenuOverlayUnlock), Ctrl+Alt+L
            // (id 0) or a drag to place `n` (id 1)
};

// What the user types into an open dialog.
enum class File : int { Wave, SjisWave, Midi, Mp3, Broken, Missing, Lyrics, Saved, Cancel, Count };

struct Action {
  Kind kind = Kind::Tick;
  Where where = Where::Main;
  int id = 0;
  int n = 0;
  std::string text;
};

std::string Describe(const Action& action);
// Text as a C string literal's inside: bytes outside printable ASCII escaped.
std::string Escaped(const std::string& text);

struct Failure {
  std::string check;   // which check failed: its kind, compared when shrinking
  std::string detail;  // what was seen
  size_t step = 0;     // index of the action after which it failed
};

// What the user can see of the program at a moment.
struct Box {
  HWND window = nullptr;
  HWND owner = nullptr;
  bool fileDialog = false;  // an open dialog rather than a message box
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // ids of its visible push buttons
};

struct View {
  HWND main = nullptr;          // null once the main window is gone
  HWND forms[kForms] = {};      // by Where; null unless that form is on screen
  std::vector<Box> boxes;       // visible dialog windows of the UI thread
  std::vector<HWND> strangers;  // any other visible window of the UI thread
  HWND overlay = nullptr;       // the desktop lyrics' window while it exists
  HWND form(Where where) const { return forms[static_cast<int>(where)]; }
  HWND window(Where where) const { return where == Where::Main ? main : form(where); }
};

View Look(Program& program);
// Which of the program's windows `owner` is.
Where OwnerOf(const View& view, HWND owner);
// Whether `window` is on screen and takes input.
bool Usable(HWND window);
// A window's name in the walk's words: "main", "Kashi", ...
const char* NameOf(Where where);
// Records the check that failed and what was seen; false, to be returned.
bool Fail(Failure* failure, const char* check, const std::string& detail);

// Whether the view is one the program may show; otherwise the failed check.
bool CheckView(const View& view, Failure* failure);
// The desktop lyrics in the walk: the actions a user has on them, taking
// one (false: skipped; `locked` follows it), its words, and whether they
// are as their rules allow, `locked` as the walk left them and `line` the
// entry the player shows (-1: none).
void AddOverlayOptions(const View& view, bool locked, std::vector<std::pair<Action, int>>* options);
bool ApplyOverlay(const View& view, const Action& action, bool* locked);
std::string DescribeOverlay(const Action& action);
bool CheckOverlay(const View& view, bool locked, int line, Failure* failure);

// splitmix64: the same numbers on every platform and build.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  int Below(int bound);  // 0 .. bound-1
 private:
  std::uint64_t state_;
};

// The file an open dialog is answered with ("" for cancel), made once.
std::string FilePath(File file);
// Text the user types into box `id` of `where`: phrases of ASCII and
// Shift-JIS with '#', commas and line breaks; scratch names in the save box.
std::string TextFor(Random& random, Where where, int id);
// Lyrics in many scripts as UTF-8: Hangul, Chinese, Cyrillic, Greek, accented
// Latin, an emoji, odd spaces and dashes, with '#' and line breaks.
std::string UnicodeText(Random& random);
// Removes the lyric files the walk's saves left beside the executable.
void RemoveSavedFiles();
// The lyric editor's LRC save dialog, and the new file the walk names in it.
constexpr char kLrcSaveTitle[] = "LRC \x82\xc5\x95\xdb\x91\xb6";  // LRC で保存
std::string SavedLrcPath();

class Walk {
 public:
  Walk();
  ~Walk();
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;

  // Takes `steps` random actions; false at the first failed check.
  bool RunRandom(std::uint64_t seed, int steps, Failure* failure);
  // Takes the recorded actions, skipping those that do not apply then.
  bool Replay(const std::vector<Action>& actions, Failure* failure);

  // The actions taken so far (skipped ones left out).
  const std::vector<Action>& taken() const { return taken_; }
  int programsStarted() const { return started_; }
  int boxesAnswered() const { return boxes_; }
  int dialogsAnswered() const { return dialogs_; }

 private:
  enum class Outcome { Skipped, Done, Failed };
  void Start();
  bool Stop();
  bool Finish(Failure* failure);
  bool Flush();
  bool Settle(Failure* failure);
  std::vector<std::pair<Action, int>> Options(const View& view) const;
  Outcome Apply(const Action& action, Failure* failure);
  // Taking one kind of action: Skipped when what it needs is not on screen
  // or not usable now, Done when the program is to settle after it.
  using Doer = Outcome (Walk::*)(const View& view, const Action& action, Failure* failure);
  Outcome DoClick(const View& view, const Action& action, Failure* failure);
  Outcome DoMenu(const View& view, const Action& action, Failure* failure);
  Outcome DoType(const View& view, const Action& action, Failure* failure);
  Outcome DoPaste(const View& view, const Action& action, Failure* failure);
  Outcome DoClose(const View& view, const Action& action, Failure* failure);
  Outcome DoEscape(const View& view, const Action& action, Failure* failure);
  Outcome DoShut(const View& view, const Action& action, Failure* failure);
  Outcome DoAnswerBox(const View& view, const Action& action, Failure* failure);
  Outcome DoAnswerFile(const View& view, const Action& action, Failure* failure);
  Outcome DoKey(const View& view, const Action& action, Failure* failure);
  Outcome DoTick(const View& view, const Action& action, Failure* failure);
  Outcome DoNotice(const View& view, const Action& action, Failure* failure);
  Outcome DoOverlay(const View& view, const Action& action, Failure* failure);
  bool Take(const Action& action, Failure* failure);
  bool Check(Failure* failure);
  bool CheckSettled(const View& view, Failure* failure);

  std::unique_ptr<Program> program_;
  HHOOK gate_ = nullptr;
  HHOOK watch_ = nullptr;    // sees boxes and dialogs go
  HANDLE thread_ = nullptr;  // the UI thread, to see it end
  std::vector<Action> taken_;
  int started_ = 0;
  int boxes_ = 0;
  int dialogs_ = 0;
  bool mainClosed_ = false;
  bool overlayLocked_ = true;   // every opening of the desktop lyrics is locked
  std::vector<HWND> answered_;  // boxes the walk answered or closed, until they go
  bool trace_ = false;          // VELOMAR_MONKEY_TRACE: each action and its time on stderr
};

}  // namespace velomar::test::monkey
