#include "tests/win/responsiveness.h"

#include <windows.h>

#include "forms/main_window.h"
// after windows.h, which it needs
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "tests/win/monkey.h"

namespace velomar::test {
namespace {

double NowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER counter{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// When the UI thread takes the watched message, the hook posts a mark to
// the same thread: the mark is taken as soon as the thread is back at any
// message loop, which is when the user's next input would be taken.
std::atomic<HWND> watchedWindow{nullptr};
std::atomic<UINT> watchedMessage{0};
std::atomic<bool> armed{false};
std::atomic<double> inputTaken{0};
std::atomic<double> markTaken{0};
UINT markMessage = 0;

LRESULT CALLBACK Timing(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == markMessage) {
      markTaken = NowMs();
      msg->message = WM_NULL;
    } else if (armed && msg->message == watchedMessage && msg->hwnd == watchedWindow) {
      armed = false;
      inputTaken = NowMs();
      PostThreadMessageA(GetCurrentThreadId(), markMessage, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

// The program is linked into this executable and finds the open dialog and
// MCI through GetProcAddress, at their first use, by way of this
// executable's import table: there it is handed stand-ins that take the
// time the system spends inside.
std::atomic<double> dialogFrom{0};
std::atomic<double> dialogUntil{0};  // 0 while inside
void* realGetOpenFileName = nullptr;
void* realGetProcAddress = nullptr;
// Time spent inside MCI opening a song since the input was taken: the
// system's codecs (GStreamer under Wine) take 40 to 120 ms for an mp3.
std::atomic<double> mciOpenSpent{0};
void* realMciSendCommandW = nullptr;

DWORD WINAPI TimedMciSendCommandW(UINT device, UINT message, DWORD_PTR flags, DWORD_PTR parms) {
  using Call = DWORD(WINAPI*)(UINT, UINT, DWORD_PTR, DWORD_PTR);
  const double from = NowMs();
  const DWORD result = reinterpret_cast<Call>(realMciSendCommandW)(device, message, flags, parms);
  if (message == MCI_OPEN) mciOpenSpent = mciOpenSpent + (NowMs() - from);
  return result;
}

BOOL WINAPI TimedGetOpenFileName(void* request) {
  using Call = BOOL(WINAPI*)(void*);
  dialogUntil = 0;
  dialogFrom = NowMs();
  const BOOL result = reinterpret_cast<Call>(realGetOpenFileName)(request);
  dialogUntil = NowMs();
  return result;
}

FARPROC WINAPI WatchingGetProcAddress(HMODULE module, LPCSTR name) {
  using Call = FARPROC(WINAPI*)(HMODULE, LPCSTR);
  const FARPROC found = reinterpret_cast<Call>(realGetProcAddress)(module, name);
  const bool byName = (reinterpret_cast<ULONG_PTR>(name) >> 16) != 0;
  if (found == nullptr || !byName) return found;
  if (std::strcmp(name, "GetOpenFileNameW") == 0) {
    realGetOpenFileName = reinterpret_cast<void*>(found);
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(TimedGetOpenFileName));
  }
  if (std::strcmp(name, "mciSendCommandW") == 0) {
    realMciSendCommandW = reinterpret_cast<void*>(found);
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(TimedMciSendCommandW));
  }
  return found;
}

// The part of [from, to] spent inside the last open dialog.
double DialogTimeWithin(double from, double to) {
  if (dialogFrom == 0) return 0;
  const double until = dialogUntil != 0 ? dialogUntil.load() : to;
  return std::max(0.0, std::min(until, to) - std::max(dialogFrom.load(), from));
}

}  // namespace

void Responsiveness::SetUp() {
  program_ = std::make_unique<Program>();
  markMessage = RegisterWindowMessageA("VelomarResponsivenessMark");
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, Timing, nullptr, program_->thread());
  program_->BlockRealTicks(true);
  dialogSwap_ = std::make_unique<ImportSwap>("kernel32.dll", "GetProcAddress",
                                             reinterpret_cast<void*>(WatchingGetProcAddress));
  ASSERT_TRUE(dialogSwap_->found()) << "the program's look-up of the open dialog";
  realGetProcAddress = dialogSwap_->original();
}

// Each command is timed in every round; the bound holds for its best time,
// so that a moment's load on this machine from other tests does not count
// against the program, while a command slow every time does.
void Responsiveness::TearDown() {
  UnhookWindowsHookEx(hook_);
  dialogSwap_.reset();
  std::printf("[busy] %-48s %9s %9s %9s\n", "command (ms, dialog and song opening apart)", "best",
              "worst", "system");
  for (const Figure& figure : figures_) {
    std::printf("[busy] %-48s %9.1f %9.1f %9.1f\n", figure.name.c_str(), figure.best, figure.worst,
                figure.dialog);
    RecordProperty(figure.name, std::to_string(figure.best));
    EXPECT_LT(figure.best, kBusyBoundMs) << figure.name << " keeps the user waiting";
  }
  program_.reset();
}

void Responsiveness::Time(const std::string& name, HWND window, UINT message,
                          const std::function<void()>& act, const std::function<bool()>& shown) {
  inputTaken = 0;
  markTaken = 0;
  mciOpenSpent = 0;
  watchedWindow = window;
  watchedMessage = message;
  armed = true;
  act();
  const bool marked = WaitUntil([] { return markTaken != 0; });
  double done = markTaken;
  if (shown) {
    WaitUntil(shown);
    done = std::max(done, NowMs());
  }
  const double dialog = DialogTimeWithin(inputTaken, done) + mciOpenSpent;
  armed = false;
  program_->Flush();
  ASSERT_TRUE(marked) << name << ": the UI thread never took it";
  const double busy = done - inputTaken - dialog;
  for (Figure& figure : figures_) {
    if (figure.name != name) continue;
    figure.best = std::min(figure.best, busy);
    figure.worst = std::max(figure.worst, busy);
    figure.dialog = std::max(figure.dialog, dialog);
    return;
  }
  figures_.push_back({name, busy, busy, dialog});
}

void Responsiveness::Click(const std::string& name, HWND window, int id,
                           const std::function<bool()>& shown) {
  HWND button = Item(window, id);
  Time(
      name, button, BM_CLICK, [button] { PostMessageA(button, BM_CLICK, 0, 0); }, shown);
}

void Responsiveness::Menu(const std::string& name, int id, const std::function<bool()>& shown) {
  HWND window = main();
  Time(
      name, window, WM_COMMAND, [window, id] { PostMessageA(window, WM_COMMAND, id, 0); }, shown);
}

void Responsiveness::Close(const std::string& name, HWND form) {
  Time(
      name, form, WM_CLOSE, [form] { PostMessageA(form, WM_CLOSE, 0, 0); },
      [form] { return !IsWindow(form); });
}

void Responsiveness::Notice(const std::string& name, UINT code) {
  HWND window = main();
  Time(name, window, MM_MCINOTIFY, [window, code] { PostMessageA(window, MM_MCINOTIFY, code, 0); });
}

HWND Responsiveness::Box() { return FindTopLevel(program_->thread(), "#32770"); }

std::function<bool()> Responsiveness::BoxShown() {
  HWND old = Box();
  return [this, old] { return Box() != nullptr && Box() != old; };
}

std::function<bool()> Responsiveness::SongShown(const std::string& path) {
  const std::string name = path.substr(path.rfind('\\') + 1);
  return [this, name] { return Text(main(), main_ids::kFileNameLabel) == name; };
}

void Responsiveness::AnswerBox(const std::string& name, int id,
                               const std::function<bool()>& shown) {
  HWND box = Box();
  ASSERT_NE(box, nullptr) << name;
  Click(name, box, id, shown);
  WaitGone(box);
  program_->Flush();
}

void Responsiveness::AnswerDialog(const std::string& name, const std::string& path,
                                  const std::function<bool()>& shown) {
  HWND dialog = Box();
  ASSERT_NE(dialog, nullptr) << name;
  HWND nameBox = GetDlgItem(dialog, 1148);
  if (nameBox == nullptr) nameBox = GetDlgItem(dialog, 1152);
  HWND button = nullptr;
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) == "Button" && GetDlgCtrlID(child) == (path.empty() ? IDCANCEL : IDOK)) {
      button = child;
    }
  }
  if (!path.empty()) SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  Time(
      name, button, BM_CLICK, [button] { PostMessageA(button, BM_CLICK, 0, 0); },
      [dialog, shown] { return !IsWindowVisible(dialog) && (!shown || shown()); });
  WaitGone(dialog);
  program_->Flush();
}

void Responsiveness::OpenSong(const std::string& path) {
  PostMessageA(Item(main(), main_ids::kBrowseButton), BM_CLICK, 0, 0);
  AnswerOpenDialog(*program_, path);
}

}  // namespace velomar::test
