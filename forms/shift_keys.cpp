// F7 and F8 move every line 0.1 s sooner or later from any window that
// shows or edits the lyrics, also while the song plays: lyrics that are all
// early or late are fixed while listening, and the display follows at once.
#include <windows.h>

#include "forms/forms.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar {

bool ShiftKey(Form in, const MSG& message) {
  if (!IsWindowEnabled(FormWindow(in))) return false;
  if (!Lyrics.Shift(0, message.wParam == VK_F7 ? -1 : 1)) MessageBeep(MB_OK);
  return true;
}

}  // namespace velomar
