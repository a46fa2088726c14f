#include "tests/win/bench.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "app/program.h"
#include "forms/forms.h"
#include "forms/main_window.h"
#include "forms/overlay.h"
#include "lyrics/lyric_text.h"
#include "playback/playback.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

// Shared with the message hook that runs on the UI thread.
std::mutex hookMutex;
std::condition_variable hookSeen;
unsigned long long markerTaken = 0;
std::atomic<bool> realTicksBlocked{false};
UINT markerMessage = 0;
std::function<void()> realTickCallback;
UINT tickMessage = 0;
UINT runMessage = 0;
std::function<void()> runOnUi;
// While real ticks are blocked, real time stands still for the program's
// clock too, so that posted ticks alone move it, one each.
std::atomic<long long> frozenClock{-1};

long long BenchClock() {
  const long long frozen = frozenClock;
  return frozen >= 0 ? frozen : velomar::MonotonicMicroseconds();
}

// Sees every message the UI thread takes from its queue, whichever loop
// takes it: flush markers and test ticks are recognised and rewritten.
LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == markerMessage) {
      {
        std::lock_guard<std::mutex> lock(hookMutex);
        markerTaken = msg->wParam;
      }
      hookSeen.notify_all();
      msg->message = WM_NULL;
    } else if (msg->message == WM_TIMER && msg->hwnd == velomar::MainWindow() && msg->wParam == 0) {
      if (realTicksBlocked) {
        msg->message = WM_NULL;
      } else {
        std::lock_guard<std::mutex> lock(hookMutex);
        if (realTickCallback) realTickCallback();
      }
    } else if (msg->message == runMessage) {
      std::function<void()> run;
      {
        std::lock_guard<std::mutex> lock(hookMutex);
        run.swap(runOnUi);
      }
      if (run) run();
      msg->message = WM_NULL;
    } else if (msg->message == tickMessage) {
      msg->message = WM_TIMER;
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > ms) return condition();
    Sleep(2);
  }
}

void EditLyrics(const std::function<void(LyricTable&)>& fill) {
  const LyricTable before = Lyrics.Table();
  Lyrics.Load([&](LyricTable& table) {
    table.time = before.time;
    for (int i = 0; i < kLyricEntries; ++i) table.phrase[i] = Phrase(i);
    fill(table);
    for (int i = 0; i < kLyricEntries; ++i) TakeFromFile(table, i);
    return true;
  });
}

std::string Phrase(int index) {
  std::string sjis;
  return PhraseForFile(Lyrics.Table(), index, sjis) ? sjis : Lyrics.Table().phrase[index];
}

void PressedBefore(int presses) {
  Lyrics.BeginAdding();
  for (int i = 0; i < presses; ++i) Lyrics.Press("", i + 1, false, 0, false);
}

Program::Program(const std::vector<std::wstring>& files) {
  // The settings a program keeps under %APPDATA% (the desktop lyrics left
  // open) stay with the test process that made them: each has its own.
  const std::string appData = ScratchDir() + "\\appdata";
  CreateDirectoryA(appData.c_str(), nullptr);
  SetEnvironmentVariableA("APPDATA", appData.c_str());
  // Wine reuses process ids: an earlier test process's folder may hold the
  // desktop lyrics left open, or a press offset. A test process starts
  // without them.
  static bool fresh = false;
  if (!fresh) {
    DeleteFileA((appData + "\\Velomar\\overlay.ini").c_str());
    DeleteFileA((appData + "\\Velomar\\timing.ini").c_str());
  }
  fresh = true;
  frozenClock = -1;
  velomar::UseClockSource(BenchClock);
  markerMessage = RegisterWindowMessageA("VelomarTestMarker");
  tickMessage = RegisterWindowMessageA("VelomarTestTick");
  runMessage = RegisterWindowMessageA("VelomarTestRun");
  done_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> id{0};
  ui_ = std::thread([this, &id, files] {
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    id = GetCurrentThreadId();
    exitCode_ = RunProgram(files);
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_.exchange(nullptr));
    SetEvent(done_);
  });
  WaitUntil([&] { return id != 0; });
  threadId_ = id;
  WaitUntil(
      [&] { return velomar::MainWindow() != nullptr && IsWindowVisible(velomar::MainWindow()); });
  main_ = velomar::MainWindow();
  Flush();
}

bool Program::Finished() const { return WaitForSingleObject(done_, 0) == WAIT_OBJECT_0; }

int Program::CloseAndWait(DWORD ms) {
  PostMessageA(main_, WM_CLOSE, 0, 0);
  WaitForSingleObject(done_, ms);
  return Finished() ? exitCode_ : -1;
}

Program::~Program() {
  // Whatever a test left open is closed the way a user would close it.
  const DWORD start = GetTickCount();
  while (!Finished() && GetTickCount() - start < 15000) {
    for (HWND window : ThreadWindows(threadId_)) {
      if (ClassOf(window) == "#32770" && Text(window) == kQuitCaption) {
        PostMessageA(window, WM_COMMAND, IDYES, 0);  // unsaved adds: end anyway
      } else if (ClassOf(window) == "#32770") {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      } else if (IsWindowVisible(window) || window == main_) {
        PostMessageA(window, WM_CLOSE, 0, 0);
      }
    }
    WaitForSingleObject(done_, 100);
  }
  if (!Finished()) {
    ExitProcess(3);  // a program that cannot be closed fails the test run
  }
  ui_.join();
  CloseHandle(done_);
}

void Program::Flush() {
  static unsigned long long sequence = 0;
  const unsigned long long mine = ++sequence;
  if (Finished() || !PostThreadMessageA(threadId_, markerMessage, static_cast<WPARAM>(mine), 0)) {
    return;
  }
  std::unique_lock<std::mutex> lock(hookMutex);
  hookSeen.wait_for(lock, std::chrono::seconds(10), [&] { return markerTaken >= mine; });
}

void Program::BlockRealTicks(bool blocked) {
  realTicksBlocked = blocked;
  if (!blocked) {
    frozenClock = -1;
  } else if (frozenClock < 0) {
    frozenClock = velomar::MonotonicMicroseconds();
  }
  Flush();
}

void Program::OnRealTick(std::function<void()> callback) {
  std::lock_guard<std::mutex> lock(hookMutex);
  realTickCallback = std::move(callback);
}

void Program::Watch(bool watched) {
  if (watched && hook_ == nullptr) {
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, threadId_);
  } else if (!watched && hook_ != nullptr) {
    UnhookWindowsHookEx(hook_.exchange(nullptr));
  }
}

void Program::Tick(int count) {
  for (int i = 0; i < count; ++i) PostMessageA(main_, tickMessage, 0, 0);
  Flush();
}

void Program::RunOnUiThread(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(hookMutex);
    runOnUi = std::move(work);
  }
  PostThreadMessageA(threadId_, runMessage, 0, 0);
  Flush();
}

void Program::Notify(UINT code) {
  PostMessageA(main_, 0x3B9 /* MM_MCINOTIFY */, code, 0);
  Flush();
}

GdiCount CountGdi() {
  GdiCount count;
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) {
    count.all = static_cast<long>(reported);
    return count;
  }
  for (ULONG_PTR index = 1; index < 0x10000; ++index) {
    const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
    if (type != 0) ++count.all;
    if (type == OBJ_DC || type == OBJ_REGION) ++count.cached;
  }
  return count;
}

}  // namespace velomar::test
