// F7 and F8 move every line 0.1 s sooner or later from any window that
// shows or edits the lyrics, also while the song plays: lyrics that are all
// early or late are fixed while listening, and the display follows at once.
#include <windows.h>

#include "forms/forms.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/main_window.h"

namespace velomar {

bool ShiftKeys(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.wParam != VK_F7 && message.wParam != VK_F8) return false;
  for (HWND top : {MainWindow, KashiWindow, MiniWindow, KashiEditWindow}) {
    if (!OnScreen(top) || !IsWindowEnabled(top)) continue;
    if (message.hwnd != top && !IsChild(top, message.hwnd)) continue;
    if (!Lyrics.Shift(0, message.wParam == VK_F7 ? -1 : 1)) MessageBeep(MB_OK);
    return true;
  }
  return false;
}

}  // namespace velomar
