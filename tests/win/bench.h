// Drives the real program from a test: the program runs its own start-up,
// loops and exit on a UI thread of the test process, and the test reaches
// its windows the way a user's input would, through messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "lyrics/lyric_table.h"

namespace velomar::test {

// Waits up to `ms` for `condition`; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = 5000);

// The lyrics with entries changed as a load of a lyric file would leave
// them: `fill` gets the entries as they stand, their phrases in Shift-JIS as
// a lyric file holds them; the counters go on, the history is emptied and
// nothing is unsaved.
void EditLyrics(const std::function<void(LyricTable&)>& fill);
// The phrase of entry `index` as a lyric file holds it (Shift-JIS), or, when
// it cannot, in UTF-8 as the lyrics do.
std::string Phrase(int index);
// The timing window's counters after `presses` presses of a new opening
// (entries 0 to presses-1 written, unsaved).
void PressedBefore(int presses);

class Program {
 public:
  // Starts the program with the files of a command line (each start begins
  // from the program's own fixed state, as a new process would), and waits
  // for its main window.
  explicit Program(const std::vector<std::wstring>& files = {});
  ~Program();  // closes whatever is still open and waits for the exit
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HWND main() const { return main_; }
  DWORD thread() const { return threadId_; }

  // Returns once the UI thread has taken every message posted before.
  void Flush();
  // Real TickTimer ticks are dropped while blocked, and the real time the
  // clock reads stands still; ticks posted by Tick() reach the main window
  // as WM_TIMER id 0 through the program's own loops, and move it one each.
  void BlockRealTicks(bool blocked);
  void Tick(int count = 1);
  // Runs `work` on the program's thread between two of its messages, for
  // what only that thread may ask (an MCI device's state), and waits for it.
  void RunOnUiThread(std::function<void()> work);
  // Posts an MCI notice to the main window, as the driver would.
  void Notify(UINT code);
  // Runs on the UI thread for every real TickTimer tick that passes.
  void OnRealTick(std::function<void()> callback);
  // Takes the test's hook off the program's messages, or puts it back: for
  // figures of the program alone, as each message the hook sees costs Wine
  // trips to its server. Meanwhile Flush, Tick, RunOnUiThread and OnRealTick
  // reach nothing.
  void Watch(bool watched);

  // Closes the main window and waits for the program to end.
  int CloseAndWait(DWORD ms = 10000);
  bool Finished() const;
  int ExitCode() const { return exitCode_; }

 private:
  std::thread ui_;
  DWORD threadId_ = 0;
  std::atomic<HHOOK> hook_{nullptr};
  HWND main_ = nullptr;
  int exitCode_ = -1;
  HANDLE done_ = nullptr;
};

// The process's GDI objects: GetGuiResources where the system counts them,
// else (Wine 8 answers 0) the live entries of the GDI handle table, found
// with GetObjectType on every 16-bit handle index. `cached` are the device
// contexts and regions among them, which Wine keeps for windows to reuse.
struct GdiCount {
  long all = 0;
  long cached = 0;
};
GdiCount CountGdi();

// Windows and controls.
std::string Text(HWND window);
std::string Text(HWND parent, int id);
HWND Item(HWND parent, int id);
bool Enabled(HWND parent, int id);
bool Visible(HWND parent, int id);
bool Checked(HWND parent, int id);
LONG Style(HWND window);
LONG ExStyle(HWND window);
RECT ClientRectIn(HWND parent, int id);  // control rectangle in parent client pixels
// The screen's pixels in `r` as a 24-bit DIB of `info`, bottom row first.
std::string ScreenPixels(const RECT& r, BITMAPINFOHEADER& info);
std::string ClassOf(HWND window);
std::vector<HWND> Children(HWND parent);  // in creation (z) order

// Input. Click posts BM_CLICK (a disabled button ignores it) and waits until
// the program has taken it; Command posts a WM_COMMAND (menus).
void Click(Program& program, HWND parent, int id);
void Command(Program& program, HWND window, int id, int code = 0);
void TypeText(HWND parent, int id, const std::string& text);

// Top-level windows of the program's thread.
std::vector<HWND> ThreadWindows(DWORD thread);  // all of them, shown or not
HWND FindTopLevel(DWORD thread, const char* className, const char* title = nullptr);
HWND WaitForTopLevel(DWORD thread, const char* className, const char* title = nullptr,
                     DWORD ms = 5000);
bool WaitGone(HWND window, DWORD ms = 5000);

struct MessageBoxSeen {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::string caption;
  std::string text;
  HICON icon = nullptr;
  std::vector<int> buttons;  // ids of its push buttons
  Program* program = nullptr;
};
// Waits for a message box of the program's thread (owned by `owner`, when
// one is named) and reads it.
MessageBoxSeen WaitForMessageBox(Program& program, DWORD ms = 5000, HWND owner = nullptr);
bool MessageBoxOpen(Program& program);
// Presses a button of the box and lets the code after the box run on.
void Answer(const MessageBoxSeen& box, int buttonId);
HICON SystemIcon(LPCSTR id);

// The file-open dialog: waits for it, types the path and presses open
// (or cancel when path is empty). Returns the dialog's title.
std::string AnswerOpenDialog(Program& program, const std::string& path, DWORD ms = 5000,
                             HWND owner = nullptr);

}  // namespace velomar::test
