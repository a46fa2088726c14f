// The compact view's always-on-top switch, which acts only at the form's own
// one-shot timer tick.
#include <gtest/gtest.h>

#include <atomic>

#include "forms/forms.h"
#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "ui/form_host.h"

namespace velomar::test {
namespace {

// Sees the UI thread's queue: counts the form's own timer ticks, and holds
// the thread still while a test posts several messages that must be taken
// together, before any timer can come between them.
std::atomic<int> formTimerTicks{0};
HANDLE holding = nullptr;
HANDLE released = nullptr;
UINT holdMessage = 0;

LRESULT CALLBACK WatchQueue(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == WM_TIMER && msg->hwnd == MiniWindow() && msg->wParam == 0) ++formTimerTicks;
    if (msg->message == holdMessage) {
      msg->message = WM_NULL;
      SetEvent(holding);
      WaitForSingleObject(released, 10000);
    }
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

class QueueWatch {
 public:
  explicit QueueWatch(DWORD thread) {
    formTimerTicks = 0;
    holdMessage = RegisterWindowMessageA("VelomarMiniTestHold");
    holding = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    released = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, thread);
    thread_ = thread;
  }
  ~QueueWatch() {
    UnhookWindowsHookEx(hook_);
    SetEvent(released);
  }
  QueueWatch(const QueueWatch&) = delete;
  QueueWatch& operator=(const QueueWatch&) = delete;

  bool Hold() {
    PostThreadMessageA(thread_, holdMessage, 0, 0);
    return WaitForSingleObject(holding, 5000) == WAIT_OBJECT_0;
  }
  void Release(Program& program) {
    SetEvent(released);
    program.Flush();
  }
  // Waits for the form's timer to have ticked `count` times in all and for
  // the tick to have been handled.
  bool WaitForTicks(Program& program, int count) {
    const bool ticked = WaitUntil([&] { return formTimerTicks >= count; });
    program.Flush();
    return ticked;
  }

 private:
  HHOOK hook_ = nullptr;
  DWORD thread_ = 0;
};

bool Topmost(HWND form) { return (ExStyle(form) & WS_EX_TOPMOST) != 0; }

// True when an ordinary window brought to the front ends up above the form,
// as another program's window does when the user switches to it.
bool AnOrdinaryWindowCovers(HWND form) {
  HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  bool covers = false;
  for (HWND w = GetTopWindow(nullptr); w != nullptr && w != form; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == other) covers = true;
  }
  DestroyWindow(other);
  return covers;
}

TEST(MiniFormTopmost, TheCheckBoxActsAtTheFormsNextTimerTick) {
  Program program;
  QueueWatch watch(program.thread());
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  Click(program, form, mini_ids::kMiniTopmost);
  ASSERT_TRUE(watch.WaitForTicks(program, 1));
  EXPECT_TRUE(Checked(form, mini_ids::kMiniTopmost));
  EXPECT_TRUE(Topmost(form));
  EXPECT_FALSE(AnOrdinaryWindowCovers(form));
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(WaitUntil([] { return formTimerTicks > 1; }, 100)) << "the timer fires once";

  Click(program, form, mini_ids::kMiniTopmost);
  ASSERT_TRUE(watch.WaitForTicks(program, 2));
  EXPECT_FALSE(Checked(form, mini_ids::kMiniTopmost));
  EXPECT_FALSE(Topmost(form));
  EXPECT_TRUE(AnOrdinaryWindowCovers(form));
}

TEST(MiniFormTopmost, TwoClicksBeforeTheTickLeaveTheFormAsItWas) {
  Program program;
  QueueWatch watch(program.thread());
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const bool wasTopmost = Topmost(form);
    ASSERT_TRUE(watch.Hold());
    PostMessageA(Item(form, mini_ids::kMiniTopmost), BM_CLICK, 0, 0);
    PostMessageA(Item(form, mini_ids::kMiniTopmost), BM_CLICK, 0, 0);
    watch.Release(program);
    ASSERT_TRUE(watch.WaitForTicks(program, 2 * round + 1)) << "one tick for both clicks";
    EXPECT_EQ(Checked(form, mini_ids::kMiniTopmost), wasTopmost);
    EXPECT_EQ(Topmost(form), wasTopmost);
    // Then a single click, to start the next round from the other state.
    Click(program, form, mini_ids::kMiniTopmost);
    ASSERT_TRUE(watch.WaitForTicks(program, 2 * round + 2));
    EXPECT_EQ(Topmost(form), !wasTopmost);
  }
}

TEST(MiniFormTopmost, OnlyItsOwnTimerSwitchesAndANewFormStartsOrdinary) {
  Program program;
  QueueWatch watch(program.thread());
  HWND form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  SendDlgItemMessageA(form, mini_ids::kMiniTopmost, BM_SETCHECK, BST_CHECKED,
                      0);  // no click, no timer
  PostMessageA(form, WM_TIMER, 7, 0);
  program.Flush();
  EXPECT_FALSE(Topmost(form)) << "another timer id does nothing";
  PostMessageA(form, WM_TIMER, 0, 0);
  program.Flush();
  EXPECT_TRUE(Topmost(form)) << "the state of the box counts at the tick";
  CloseByCaption(program, form);

  form = OpenMini(program);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(Topmost(form));
  EXPECT_FALSE(Checked(form, mini_ids::kMiniTopmost));
  // Closed with the timer still pending: the timer goes with the form.
  ASSERT_TRUE(watch.Hold());
  PostMessageA(Item(form, mini_ids::kMiniTopmost), BM_CLICK, 0, 0);
  PostMessageA(form, WM_CLOSE, 0, 0);
  watch.Release(program);
  ASSERT_TRUE(WaitGone(form));
  EXPECT_TRUE(IsWindowVisible(program.main()));
  EXPECT_EQ(MiniModeActive(), 0);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

}  // namespace
}  // namespace velomar::test
