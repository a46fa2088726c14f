// The desktop lyrics' window: layered, topmost, never activated, without a
// taskbar button; click-through while locked. A Unicode window, whose text
// is always the line it shows.
#include <windows.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/main_window.h"
#include "forms/overlay.h"
#include "lyrics/karaoke.h"
#include "lyrics/overlay_settings.h"
#include "playback/playback.h"
#include "playback/player_views.h"
#include "system/app_data.h"
#include "system/wide_path.h"
#include "ui/form_host.h"
#include "ui/layered_text.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar {

using namespace main_ids;

namespace {

constexpr wchar_t kOverlayClass[] = L"VelomarOverlay";
constexpr wchar_t kSettingsFile[] = L"overlay.ini";
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

// The fill's redraw, at about 30 frames a second while the song plays.
constexpr UINT_PTR kFillTimer = 1;
constexpr UINT kFillPeriodMs = 33;
// A one-shot timer for the moment a line is due between two ticks.
constexpr UINT_PTR kLineTimer = 2;
// The faint backdrop of the unlocked overlay, to see and grab it by.
constexpr BYTE kUnlockedBackdrop = 0x60;
// How near an edge the mouse sizes instead of moving.
constexpr int kEdge = 8;

// It follows the player and the lyrics from start-up, shown or not, so that
// it opens on the line of the moment.
class OverlayView : public PlayerView {
 public:
  void ShowLine(int entry) override { ShowOverlayLine(entry); }
  void ClearLine() override { ShowOverlayLine(-1); }
  void ShowPlaying(bool playing) override { OverlayPlaying(playing); }
  void ShowTicks(double) override { OverlayTick(); }
};

struct Overlay {
  HWND window = nullptr;
  OverlayView view;
  int line = -1;  // shown
  int told = -1;  // the player's
  bool playing = false;
  bool locked = true;
  bool timing = false;  // the fill timer runs
  // Where the user put it. Locked, the window shrinks to its texts inside
  // it; unlocked, the window is this place.
  RECT frame{};
  bool placing = false;  // the picture moves or sizes the window
  std::unique_ptr<LayeredText> picture;
};
Overlay overlay;

const LyricTable& Table() { return Lyrics.Table(); }

bool HasLine() { return overlay.line >= 0 && overlay.line < kLyricEntries; }

std::string Phrase() { return HasLine() ? Table().phrase[overlay.line] : std::string(); }

// The line after it as the display reaches it; -1 when none follows.
std::int64_t NextHundredths(int line) {
  const LyricTable& table = Table();
  if (line + 1 >= kLyricEntries || table.time[line + 1] <= table.time[line]) return -1;
  return LineHundredths(table.time[line + 1], table.detail[line + 1]);
}

KaraokeEdge Edge() {
  if (!HasLine()) return KaraokeEdge{};
  const int i = overlay.line;
  const LyricTable& table = Table();
  return KaraokeAt(table.phrase[i], table.detail[i].words,
                   LineHundredths(table.time[i], table.detail[i]), NextHundredths(i),
                   ClockMilliseconds());
}

// The x the line is sung up to: its UTF-8 bytes counted as the UTF-16 the
// picture lays out.
double SungTo(const KaraokeEdge& edge) {
  if (edge.state == FillState::None) return -std::numeric_limits<double>::infinity();
  if (edge.state == FillState::AllSung) return std::numeric_limits<double>::infinity();
  const std::string phrase = Phrase();
  const double from = overlay.picture->LineX(Utf8ToWide(phrase.substr(0, edge.begin)).size());
  const double to = overlay.picture->LineX(Utf8ToWide(phrase.substr(0, edge.end)).size());
  return from + (to - from) * edge.fraction;
}

// Only a line being sung needs frames between the player's changes.
void KeepTimer(const KaraokeEdge& edge) {
  const bool wanted =
      overlay.window != nullptr && overlay.playing && edge.state == FillState::Filling;
  if (wanted == overlay.timing) return;
  overlay.timing = wanted;
  if (wanted) {
    SetTimer(overlay.window, kFillTimer, kFillPeriodMs, nullptr);
  } else {
    KillTimer(overlay.window, kFillTimer);
  }
}

void Draw() {
  if (overlay.window == nullptr || !overlay.picture) return;
  const KaraokeEdge edge = Edge();
  const RECT& frame = overlay.frame;
  overlay.placing = true;
  overlay.picture->Show(overlay.window, {frame.left, frame.top}, SungTo(edge),
                        overlay.locked ? 0 : kUnlockedBackdrop);
  overlay.placing = false;
  KeepTimer(edge);
}

// The line, its first translation row and the window's text, at its size.
void LayOut() {
  if (overlay.window == nullptr || !overlay.picture) return;
  const std::wstring line = Utf8ToWide(Phrase());
  const std::wstring row = HasLine() ? Utf8ToWide(FirstRow(Table(), overlay.line)) : std::wstring();
  const RECT& place = overlay.frame;
  overlay.picture->Layout(place.right - place.left, place.bottom - place.top, line, row);
  SetWindowTextW(overlay.window, line.c_str());
  Draw();
}

// The player's line at its exact hundredth while the song plays; at once
// otherwise.
void Settle() {
  if (overlay.window != nullptr) KillTimer(overlay.window, kLineTimer);
  DueLine due{overlay.told, -1};
  if (overlay.playing) due = LineDueAt(Table(), overlay.told, overlay.line, ClockMilliseconds());
  if (due.changeIn >= 0 && overlay.window != nullptr) {
    SetTimer(overlay.window, kLineTimer, static_cast<UINT>(due.changeIn), nullptr);
  }
  if (due.line == overlay.line) return;
  overlay.line = due.line;
  LayOut();
}

void ShowMenuState() {
  const HMENU menu = Shell().SettingsMenu;
  if (menu == nullptr) return;
  const bool shown = overlay.window != nullptr;
  CheckMenuItem(menu, kMenuOverlay, shown ? MF_CHECKED : MF_UNCHECKED);
  // Checked while unlocked: choosing it again locks.
  CheckMenuItem(menu, kMenuOverlayUnlock, shown && !overlay.locked ? MF_CHECKED : MF_UNCHECKED);
  EnableMenuItem(menu, kMenuOverlayUnlock, shown ? MF_ENABLED : MF_GRAYED);
}

void SaveSettings(bool open) {
  if (overlay.window == nullptr) return;
  const RECT& r = overlay.frame;
  OverlaySettings settings;
  settings.placed = true;
  settings.place = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  settings.open = open;
  WriteSettingsFile(kSettingsFile, FormatOverlaySettings(settings));
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
  reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back(
      {rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

// The saved place on the monitors there are now, else the default one.
OverlayPlace Place() {
  const OverlaySettings saved = ParseOverlaySettings(ReadSettingsFile(kSettingsFile));
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return PlaceOverlay(saved, monitors, {work.left, work.top, work.right, work.bottom});
}

void Lock(bool locked) {
  overlay.locked = locked;
  const LONG_PTR style = GetWindowLongPtrW(overlay.window, GWL_EXSTYLE);
  SetWindowLongPtrW(overlay.window, GWL_EXSTYLE,
                    locked ? style | WS_EX_TRANSPARENT : style & ~WS_EX_TRANSPARENT);
  ShowMenuState();
  Draw();
}

LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterOverlayClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, kOverlayClass, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = OverlayProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kOverlayClass;
  RegisterClassExW(&wc);
}

void OpenOverlay() {
  RegisterOverlayClass();
  const OverlayPlace p = Place();
  overlay.locked = true;
  overlay.frame = {p.left, p.top, p.left + p.width, p.top + p.height};
  // Its procedure keeps its handle and lays the picture out.
  CreateWindowExW(kExStyle | WS_EX_TRANSPARENT, kOverlayClass, L"", WS_POPUP, p.left, p.top,
                  p.width, p.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (overlay.window == nullptr) return;
  LayOut();
  ShowWindow(overlay.window, SW_SHOWNOACTIVATE);
  // Taken by another program: the menu still locks and unlocks.
  RegisterHotKey(MainWindow(), kOverlayLockHotKey, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'L');
  ShowMenuState();
  SaveSettings(true);
}

void CloseOverlay(bool keepOpen) {
  if (overlay.window == nullptr) return;
  SaveSettings(keepOpen);
  UnregisterHotKey(MainWindow(), kOverlayLockHotKey);
  DestroyWindow(overlay.window);
  ShowMenuState();
}

void OnCreate(HWND window) {
  overlay.window = window;
  overlay.picture = std::make_unique<LayeredText>();
  overlay.timing = false;
}

// Locked, the clicks go through; unlocked, any point drags it and the
// edges size it.
LRESULT OnHitTest(HWND window, LPARAM lParam) {
  if (overlay.locked) return HTTRANSPARENT;
  static const LRESULT kAreas[3][3] = {{HTTOPLEFT, HTTOP, HTTOPRIGHT},
                                       {HTLEFT, HTCAPTION, HTRIGHT},
                                       {HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT}};
  RECT r{};
  GetWindowRect(window, &r);
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  const int column = x < r.left + kEdge ? 0 : x >= r.right - kEdge ? 2 : 1;
  const int row = y < r.top + kEdge ? 0 : y >= r.bottom - kEdge ? 2 : 1;
  return kAreas[row][column];
}

void OnMinMaxInfo(LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize = {kOverlayMinWidth, kOverlayMinHeight};
}

// Windows never activates a WS_EX_NOACTIVATE window when the active one
// closes; Wine may, taking the top window, and the keys would then reach no
// window of ours. The activation goes on to the window under it that
// Windows would have chosen.
void OnActivate(HWND window, WORD state) {
  if (state == WA_INACTIVE) return;
  for (HWND next = GetWindow(window, GW_HWNDNEXT); next != nullptr;
       next = GetWindow(next, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrW(next, GWL_STYLE);
    if (GetWindowThreadProcessId(next, nullptr) == GetCurrentThreadId() &&
        (style & (WS_VISIBLE | WS_DISABLED | WS_CHILD)) == WS_VISIBLE &&
        (GetWindowLongPtrW(next, GWL_EXSTYLE) & WS_EX_NOACTIVATE) == 0) {
      SetActiveWindow(next);
      return;
    }
  }
}

// Moved or sized by the user while unlocked: the new place is the user's.
// Its own shrinking to the texts changes nothing.
void OnPlaced(bool sized) {
  if (overlay.placing || overlay.locked) return;
  GetWindowRect(overlay.window, &overlay.frame);
  if (sized) LayOut();
}

void OnTimer(UINT_PTR id) {
  if (id == kFillTimer) Draw();
  if (id == kLineTimer) Settle();
}

void OnDestroy() {
  if (overlay.timing) KillTimer(overlay.window, kFillTimer);
  KillTimer(overlay.window, kLineTimer);
  overlay.timing = false;
  overlay.picture.reset();
  overlay.window = nullptr;
}

LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ACTIVATE: OnActivate(window, LOWORD(wParam)); return 0;
    case WM_NCHITTEST: return OnHitTest(window, lParam);
    case WM_GETMINMAXINFO: OnMinMaxInfo(lParam); return 0;
    case WM_MOVE: OnPlaced(false); return 0;
    case WM_SIZE: OnPlaced(true); return 0;
    case WM_EXITSIZEMOVE: SaveSettings(true); return 0;
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); return 0;
    case WM_CLOSE: CloseOverlay(false); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace

void ShowOverlayLine(int index) {
  overlay.told = index >= 0 && index < kLyricEntries ? index : -1;
  Settle();
}

void OverlayPlaying(bool playing) {
  overlay.playing = playing;
  Settle();
  Draw();
}

void OverlayTick() { Settle(); }

void OverlayLyricsChanged() { LayOut(); }

void ToggleOverlay() {
  if (overlay.window != nullptr) {
    CloseOverlay(false);
  } else {
    OpenOverlay();
  }
}

void ToggleOverlayLock() {
  if (overlay.window != nullptr) Lock(!overlay.locked);
}

bool OverlayLockKey(Form, const MSG&) {
  ToggleOverlayLock();
  return true;
}

HWND OverlayWindow() { return overlay.window; }

void RestoreOverlay() {
  overlay = Overlay{};
  FollowPlayer(overlay.view);
  FollowLyrics(OverlayLyricsChanged);
  if (ParseOverlaySettings(ReadSettingsFile(kSettingsFile)).open) OpenOverlay();
}

void CloseOverlayAtExit() {
  UnfollowPlayer(overlay.view);
  UnfollowLyrics(OverlayLyricsChanged);
  CloseOverlay(true);
  // A new start shows nothing of this run's song.
  overlay = Overlay{};
}

}  // namespace velomar
