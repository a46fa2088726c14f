// The desktop lyrics in the walk: shown and hidden from the menu, unlocked
// and locked from it and by Ctrl+Alt+L, dragged while unlocked; and what
// must hold of them after every step.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "forms/main_window.h"
#include "lyrics/karaoke.h"
#include "lyrics/overlay_settings.h"
#include "playback/playback.h"
#include "system/app_data.h"
#include "system/wide_path.h"
#include "tests/win/monkey.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"

namespace velomar::test::monkey {

using namespace main_ids;

namespace {

// The actions besides the two menu commands, and where a drag leaves it:
// the smallest size at the corner, wide, partly off the screen.
enum OverlayMove : int { kHotKey = 0, kDrag = 1 };
const OverlayPlace kDrags[] = {
    {0, 0, kOverlayMinWidth, kOverlayMinHeight}, {40, 300, 1200, 200}, {-150, 900, 600, 160}};

}  // namespace

// Ctrl+Alt+L reaches the main window whatever holds it; only an unlocked
// overlay can be grabbed.
void AddOverlayOptions(const View& view, bool locked,
                       std::vector<std::pair<Action, int>>* options) {
  auto add = [&](int id, int n, int weight) {
    options->emplace_back(Action{Kind::Overlay, Where::Main, id, n, {}}, weight);
  };
  if (Usable(view.main)) add(kMenuOverlay, 0, 4);
  if (view.overlay == nullptr) return;
  if (Usable(view.main)) add(kMenuOverlayUnlock, 0, 4);
  add(kHotKey, 0, 4);
  for (int n = 0; n < static_cast<int>(std::size(kDrags)) && !locked; ++n) add(kDrag, n, 2);
}

bool ApplyOverlay(const View& view, const Action& action, bool* locked) {
  const bool menu = action.id == kMenuOverlay || action.id == kMenuOverlayUnlock;
  if ((menu && !Usable(view.main)) || (action.id != kMenuOverlay && view.overlay == nullptr) ||
      (action.id == kDrag && *locked)) {
    return false;
  }
  if (menu) {
    PostMessageA(view.main, WM_COMMAND, MAKEWPARAM(action.id, 0), 0);
  } else if (action.id == kHotKey) {
    PostMessageA(view.main, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'L'));
  } else {
    // A user's drag is the system's modal move loop, which no posted input
    // ends (and the walk gives no real input anywhere): it is taken as that
    // loop leaves it, the place set, then WM_EXITSIZEMOVE. Asynchronously,
    // so that a hung UI thread fails the settling instead of hanging the
    // walk; that sent request is taken before the posted end.
    const OverlayPlace& p = kDrags[action.n];
    SetWindowPos(view.overlay, nullptr, p.left, p.top, p.width, p.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    PostMessageW(view.overlay, WM_EXITSIZEMOVE, 0, 0);
  }
  if (action.id == kMenuOverlayUnlock || action.id == kHotKey) *locked = !*locked;
  return true;
}

std::string DescribeOverlay(const Action& a) {
  if (a.id == kMenuOverlay)
    return "menu " + std::to_string(a.id) + " (desktop lyrics: show or hide)";
  if (a.id == kMenuOverlayUnlock)
    return "menu " + std::to_string(a.id) + " (desktop lyrics: unlock or lock)";
  if (a.id == kHotKey) return "Ctrl+Alt+L (desktop lyrics: unlock or lock)";
  const OverlayPlace& p = kDrags[a.n];
  return "drag the desktop lyrics to " + std::to_string(p.left) + "," + std::to_string(p.top) +
         " " + std::to_string(p.width) + "x" + std::to_string(p.height);
}

namespace {

// 設定 marks the overlay shown, and unlocked, exactly while it is.
bool CheckMenuMarks(const View& view, bool locked, const std::string& state, Failure* failure) {
  const HMENU menu = GetSubMenu(GetMenu(view.main), 0);
  const UINT shown = GetMenuState(menu, kMenuOverlay, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
  const UINT unlocked =
      GetMenuState(menu, kMenuOverlayUnlock, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
  const UINT unlockMark = view.overlay == nullptr ? MF_GRAYED : locked ? 0u : MF_CHECKED;
  if (shown != (view.overlay ? MF_CHECKED : 0u) || unlocked != unlockMark) {
    return Fail(failure, "overlay menu",
                state + ", marked " + std::to_string(shown) + " and " + std::to_string(unlocked));
  }
  return true;
}

bool CheckOverlayWindow(HWND overlay, bool locked, const std::string& state, Failure* failure) {
  const LONG style = GetWindowLongW(overlay, GWL_EXSTYLE);
  const LONG always = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  if (!IsWindowVisible(overlay) ||
      (style & (always | WS_EX_TRANSPARENT)) != (locked ? always | WS_EX_TRANSPARENT : always)) {
    return Fail(failure, "overlay style",
                state + ", extended style " + std::to_string(style) +
                    (IsWindowVisible(overlay) ? "" : ", not visible"));
  }
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  GetGUIThreadInfo(GetWindowThreadProcessId(overlay, nullptr), &gui);
  if (gui.hwndActive == overlay || gui.hwndFocus == overlay || GetForegroundWindow() == overlay) {
    return Fail(failure, "overlay active", "it took the activation or the focus");
  }
  return true;
}

// While the song plays the overlay takes the player's line at its exact
// hundredth: before it is due an earlier line (or none) still shows, and the
// line after it shows as soon as that one is due. The clock runs on between
// the overlay's last change and this look: what was due a tick ago counts.
bool OverlayLineDue(const std::string& text, int line) {
  const LyricTable& table = Lyrics.Table();
  if (!Playback.ClockRunning || line < 0) {
    return text == (line >= 0 ? table.phrase[line] : std::string());
  }
  const double now = ClockMilliseconds();
  for (double at : {now, now - 150.0}) {
    const DueLine due = LineDueAt(table, line, -1, at);
    if (due.line >= 0 && text == table.phrase[due.line]) return true;
    if (due.line >= 0) continue;
    if (text.empty()) return true;
    for (int earlier = 0; earlier < line; ++earlier) {
      if (text == table.phrase[earlier]) return true;
    }
  }
  return false;
}

bool CheckOverlayText(HWND overlay, int line, Failure* failure) {
  std::wstring text(GetWindowTextLengthW(overlay) + 1, L'\0');
  text.resize(GetWindowTextW(overlay, text.data(), static_cast<int>(text.size())));
  const std::string phrase = line >= 0 ? Lyrics.Table().phrase[line] : std::string();
  if (!OverlayLineDue(WideToUtf8(text), line)) {
    return Fail(failure, "overlay text",
                "'" + Escaped(WideToUtf8(text)) + "' while the player shows '" + Escaped(phrase) +
                    "' (entry " + std::to_string(line) + ")");
  }
  return true;
}

// Unlocked it stands where it is kept; locked, it shrinks to its texts
// inside that place.
bool CheckOverlayPlace(HWND overlay, bool locked, const std::string& saved,
                       const std::string& state, Failure* failure) {
  RECT r{};
  GetWindowRect(overlay, &r);
  const OverlaySettings kept = ParseOverlaySettings(saved);
  const RECT place{kept.place.left, kept.place.top, kept.place.left + kept.place.width,
                   kept.place.top + kept.place.height};
  RECT inside{};
  const bool placed =
      kept.open && (locked ? IntersectRect(&inside, &r, &place) && EqualRect(&inside, &r)
                           : EqualRect(&r, &place));
  char stands[64];
  std::snprintf(stands, sizeof stands, "%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  return placed || Fail(failure, "overlay settings",
                        state + ", kept as '" + Escaped(saved) + "', standing at " + stands);
}

}  // namespace

// Shown only with the main window, never active nor focused, always layered,
// topmost and without a taskbar button, click-through exactly while locked;
// the menu marks both; its text is the phrase the player shows as the lyrics
// hold it now, and its settings file its place and that it shows.
bool CheckOverlay(const View& view, bool locked, int line, Failure* failure) {
  const HWND overlay = view.overlay;
  if (view.main == nullptr) {
    return overlay == nullptr || Fail(failure, "overlay", "it outlives the main window");
  }
  const std::string state = overlay == nullptr ? "hidden" : locked ? "locked" : "unlocked";
  if (!CheckMenuMarks(view, locked, state, failure)) return false;
  const std::string saved = ReadSettingsFile(L"overlay.ini");
  if (overlay == nullptr) {
    return saved.empty() || saved.find("\r\nopen=0\r\n") != std::string::npos ||
           Fail(failure, "overlay settings", "hidden, kept as '" + Escaped(saved) + "'");
  }
  return CheckOverlayWindow(overlay, locked, state, failure) &&
         CheckOverlayText(overlay, line, failure) &&
         CheckOverlayPlace(overlay, locked, saved, state, failure);
}

}  // namespace velomar::test::monkey
