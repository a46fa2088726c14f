// The walk itself: starting and ending programs, waiting until the UI
// thread has settled after an action, the checks after it, and the random
// and the replayed walk.
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "forms/forms.h"
#include "forms/main_window.h"
#include "playback/playback.h"
#include "playback/player_views.h"
#include "tests/win/media.h"
#include "tests/win/monkey.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar::test::monkey {
namespace {

// Sees every message the UI thread takes. The driver's own notices come
// when the sound device says so, which no replay can repeat: they are
// dropped, and the walk posts its own instead. The walk's flush markers are
// recognised, and the rest is counted, quit messages apart.
UINT noticeMessage = 0;
UINT markerMessage = 0;
UINT benchMarker = 0;
HANDLE markerSeen = nullptr;
std::atomic<unsigned> markerTaken{0};
std::atomic<unsigned> activity{0};
std::atomic<unsigned> quits{0};

LRESULT CALLBACK Gate(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == MM_MCINOTIFY) {
      msg->message = WM_NULL;
    } else if (msg->message == noticeMessage) {
      msg->message = MM_MCINOTIFY;
    } else if (msg->message == markerMessage) {
      msg->message = WM_NULL;
      markerTaken = static_cast<unsigned>(msg->wParam);
      SetEvent(markerSeen);
      return CallNextHookEx(nullptr, code, removal, lParam);
    }
    if (msg->message == WM_QUIT) ++quits;
    // Real clock ticks are dropped by the bench and change nothing.
    const bool realTick = msg->message == WM_TIMER && msg->wParam == 0 && msg->hwnd == MainWindow();
    if (msg->message != benchMarker && !realTick) ++activity;
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

// The message boxes and open dialogs that went away, with their captions:
// each must have been answered by the walk.
std::mutex goneMutex;
std::vector<std::pair<HWND, std::string>> goneBoxes;

LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_DESTROYWND && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0 &&
      ClassOf(window) == "#32770") {
    std::lock_guard<std::mutex> lock(goneMutex);
    goneBoxes.emplace_back(window, Text(window));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<std::pair<HWND, std::string>> TakeGoneBoxes() {
  std::lock_guard<std::mutex> lock(goneMutex);
  return std::move(goneBoxes);
}

// The thread's windows as they stand: handles, visibility, enabled state
// and number of children.
std::string Windows(Program& program) {
  std::string state;
  for (HWND window : ThreadWindows(program.thread())) {
    state += std::to_string(reinterpret_cast<UINT_PTR>(window)) +
             (IsWindowVisible(window) ? "v" : "h") + (IsWindowEnabled(window) ? "e" : "d") +
             std::to_string(Children(window).size()) + ";";
  }
  return state;
}

// The entry whose phrase the player put up last (-1: none, or cleared), as
// every window that follows it is told.
class ShownLine final : public PlayerView {
 public:
  std::atomic<int> entry{-1};
  void ShowLine(int shown) override { entry = shown; }
  void ClearLine() override { entry = -1; }
};
ShownLine shownLine;

// The desktop lyrics' settings the bench keeps for this test process: each
// walk of the process starts without them, as a replay must.
void ForgetOverlaySettings() {
  DeleteFileA((ScratchDir() + "\\appdata\\Velomar\\overlay.ini").c_str());
}

}  // namespace

Walk::Walk() {
  noticeMessage = RegisterWindowMessageA("VelomarMonkeyNotice");
  markerMessage = RegisterWindowMessageA("VelomarMonkeyMarker");
  benchMarker = RegisterWindowMessageA("VelomarTestMarker");
  if (markerSeen == nullptr) markerSeen = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const char* trace = std::getenv("VELOMAR_MONKEY_TRACE");
  trace_ = trace != nullptr && *trace != '\0' && *trace != '0';
  ForgetOverlaySettings();
}

Walk::~Walk() {
  Stop();
  UnfollowPlayer(shownLine);
  ForgetOverlaySettings();
  RemoveSavedFiles();
}

bool Walk::Stop() {
  if (gate_ != nullptr) UnhookWindowsHookEx(gate_);
  if (watch_ != nullptr) UnhookWindowsHookEx(watch_);
  gate_ = nullptr;
  watch_ = nullptr;
  if (program_ == nullptr) return true;
  // What is open is closed the way a user would. A loop left waiting with
  // no window to end it gets the quit message it waits for; the bench
  // would otherwise end the whole test process.
  const DWORD start = GetTickCount();
  bool clean = true;
  while (!program_->Finished() && GetTickCount() - start < 8000) {
    bool anyLeft = false;
    for (HWND window : ThreadWindows(program_->thread())) {
      if (ClassOf(window) == "#32770" && IsWindowVisible(window) && Text(window) == kQuitCaption) {
        PostMessageA(window, WM_COMMAND, IDYES, 0);  // unsaved adds: end anyway
      } else if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      } else if (IsWindowVisible(window) || window == program_->main()) {
        PostMessageA(window, WM_CLOSE, 0, 0);
      } else {
        continue;
      }
      anyLeft = true;
    }
    if (!anyLeft) {
      PostThreadMessageA(program_->thread(), WM_QUIT, 0, 0);
      clean = false;
    }
    WaitUntil([&] { return program_->Finished(); }, 200);
  }
  const bool ended = program_->Finished();
  if (!ended) {
    // Still not ended: the thread is stuck. Ending it keeps the next
    // program in this process clean; the bench's object is let go, as
    // destroying it would end the test process.
    TerminateThread(thread_, 1);
    WaitForSingleObject(thread_, 5000);
    static_cast<void>(program_.release());
  }
  CloseHandle(thread_);
  thread_ = nullptr;
  program_.reset();
  return ended && clean;
}

bool Walk::Finish(Failure* failure) {
  if (Stop()) return true;
  failure->step = taken_.empty() ? 0 : taken_.size() - 1;
  return Fail(failure, "cannot close", "the program did not end when its windows were closed");
}

void Walk::Start() {
  Stop();
  // No UI thread runs now that could be telling the views.
  FollowPlayer(shownLine);
  shownLine.entry = -1;
  overlayLocked_ = true;
  program_ = std::make_unique<Program>();
  program_->BlockRealTicks(true);
  gate_ = SetWindowsHookExA(WH_GETMESSAGE, Gate, nullptr, program_->thread());
  TakeGoneBoxes();
  answered_.clear();
  watch_ = SetWindowsHookExA(WH_CBT, Watch, nullptr, program_->thread());
  thread_ = OpenThread(SYNCHRONIZE | THREAD_TERMINATE, FALSE, program_->thread());
  mainClosed_ = false;
  ++started_;
}

// Returns once the UI thread has taken every message posted before, or has
// ended; false when it took nothing for ten seconds.
bool Walk::Flush() {
  static unsigned sequence = 0;
  const unsigned mine = ++sequence;
  if (!PostThreadMessageA(program_->thread(), markerMessage, mine, 0)) return true;
  const HANDLE waits[] = {markerSeen, thread_};
  const DWORD start = GetTickCount();
  while (markerTaken < mine) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= 10000) return false;
    if (WaitForMultipleObjects(2, waits, FALSE, 10000 - spent) == WAIT_OBJECT_0 + 1) return true;
  }
  return true;
}

bool Walk::Settle(Failure* failure) {
  // A window's end may run message loops of its own that take a marker
  // while it is still going, and a form's quit message is passed on from
  // loop to loop: settled is a round in which the thread took nothing but
  // the marker, no quit went by and the windows stayed as they were.
  const DWORD start = GetTickCount();
  std::string before;
  std::string now = Windows(*program_);
  bool quiet = false;
  while (!quiet && GetTickCount() - start < 2000) {
    before = now;
    const unsigned seen = activity;
    const unsigned quitsBefore = quits;
    if (!Flush()) return Fail(failure, "hang", "the UI thread took no message for 10 s");
    now = Windows(*program_);
    // The next loop gets a passed-on quit only once its queue is empty.
    if (quits != quitsBefore) Sleep(5);
    quiet = activity == seen && quits == quitsBefore && now == before;
  }
  return true;
}

bool Walk::Check(Failure* failure) {
  // Every box a command shows waits for the user: none may go unanswered,
  // as one does that takes a quit meant for a loop below it.
  for (const auto& [box, caption] : TakeGoneBoxes()) {
    const auto known = std::find(answered_.begin(), answered_.end(), box);
    if (known == answered_.end()) {
      return Fail(failure, "box vanished", "'" + Escaped(caption) + "' went away unanswered");
    }
    answered_.erase(known);
  }
  const bool finished = program_->Finished();
  const View view = finished ? View{} : Look(*program_);
  if (!CheckOverlay(view, overlayLocked_, shownLine.entry, failure)) return false;
  if (view.overlay == nullptr) overlayLocked_ = true;
  if (finished || view.main == nullptr) {
    if (!mainClosed_) return Fail(failure, "ended", "the main window went away unasked");
    bool anyWindow = !view.boxes.empty();
    for (HWND form : view.forms) anyWindow |= form != nullptr;
    if (anyWindow) return CheckSettled(view, failure);  // a form outlives it
    if (!WaitUntil([&] { return program_->Finished(); }, 2000)) {
      return Fail(failure, "lingers", "no window is left, yet the program runs on");
    }
    if (program_->ExitCode() != 0) {
      return Fail(failure, "exit code", "ended with " + std::to_string(program_->ExitCode()));
    }
    Start();  // the user starts it again
    return true;
  }
  // A close that was refused or answered No; one the user answered Yes to
  // waits while a box of the main window's still has not returned.
  if (!WaitsOnBox(view.main)) mainClosed_ = false;
  return CheckSettled(view, failure);
}

bool Walk::CheckSettled(const View& view, Failure* failure) {
  if (CheckView(view, failure)) return true;
  if (failure->check != "unreachable") return false;
  // A message box disables its owner at once but shows itself only once its
  // queue is empty, which the walk's own marker may have delayed: a box that
  // a queued notice brings up is looked for once more before the verdict.
  if (!Settle(failure)) return false;
  return CheckView(Look(*program_), failure);
}

bool Walk::RunRandom(std::uint64_t seed, int steps, Failure* failure) {
  RemoveSavedFiles();
  taken_.clear();
  Start();
  Random random(seed);
  for (int step = 0; step < steps; ++step) {
    const std::vector<std::pair<Action, int>> options = Options(Look(*program_));
    int total = 0;
    for (const auto& option : options) total += option.second;
    if (total == 0) {
      failure->step = taken_.size();
      return Fail(failure, "unreachable", "no window takes any input");
    }
    int pick = random.Below(total);
    size_t chosen = 0;
    while (pick >= options[chosen].second) pick -= options[chosen++].second;
    Action action = options[chosen].first;
    if (action.kind == Kind::Paste || (action.kind == Kind::Type && action.n == 1)) {
      action.text = UnicodeText(random);
    } else if (action.kind == Kind::Type) {
      action.text = TextFor(random, action.where, action.id);
    }
    if (action.kind == Kind::Tick) action.n = 1 + random.Below(30);
    if (action.kind == Kind::Notice) action.n = 1 << random.Below(4);  // 1, 2, 4 or 8
    if (!Take(action, failure)) return false;
  }
  return Finish(failure);
}

bool Walk::Take(const Action& action, Failure* failure) {
  const DWORD start = GetTickCount();
  taken_.push_back(action);
  const Outcome outcome = Apply(action, failure);
  if (outcome == Outcome::Skipped) taken_.pop_back();
  const bool ok = outcome == Outcome::Skipped || (outcome == Outcome::Done && Check(failure));
  if (!ok) failure->step = taken_.size() - 1;
  if (trace_) {
    std::fprintf(stderr, "[monkey] %5lu ms %s%s\n", GetTickCount() - start,
                 outcome == Outcome::Skipped ? "(skipped) " : "", Describe(action).c_str());
  }
  return ok;
}

bool Walk::Replay(const std::vector<Action>& actions, Failure* failure) {
  RemoveSavedFiles();
  taken_.clear();
  Start();
  for (const Action& action : actions) {
    if (!Take(action, failure)) return false;
  }
  return Finish(failure);
}

}  // namespace velomar::test::monkey
