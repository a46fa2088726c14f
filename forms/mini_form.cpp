// The compact view: takes the main window's place, shows the song's title
// and the phrase of the moment, and has its own Stop and Play.
#include "forms/mini_form.h"

#include <windows.h>

#include <string>

#include "forms/forms.h"
#include "playback/playback.h"
#include "playback/player_views.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"
#include "ui/translation_row.h"
#include "ui/window_state.h"

namespace velomar {

using namespace mini_ids;

namespace {

// The always-on-top switch waits for this one-shot timer.
constexpr UINT_PTR kTopmostTimer = 0;
constexpr UINT kTopmostDelayMs = 1;

const ControlSpec kControls[] = {
    {kMiniTitleCaption, "STATIC", "曲名：", 0, WS_VISIBLE | SS_CENTER, 7, 3, 30, 12},
    {kMiniLyricCaption, "STATIC", "歌詞：", 0, WS_VISIBLE | SS_CENTER, 7, 18, 30, 12},
    {kMiniTitleLabel, "STATIC", "曲名を此処に表示", 0, WS_VISIBLE, 42, 3, 227, 12, true},
    {kMiniLyricLabel, "STATIC", "歌詞を此処に表示", 0, WS_VISIBLE, 42, 18, 227, 12, true},
    {kMiniStop, "BUTTON", "停止", WS_EX_STATICEDGE, WS_VISIBLE, 218, 41, 51, 21},
    {kMiniTopmost, "BUTTON", "常に最前面表示", 0, WS_VISIBLE | BS_AUTOCHECKBOX, 11, 45, 104, 15},
    {kMiniPlay, "BUTTON", "再生", WS_EX_STATICEDGE, WS_VISIBLE, 164, 41, 51, 21},
};

// Under the lyric label, 2 pixels apart; the buttons and the check box move
// down by its height and the gap.
const ControlSpec kRowLabel = {kMiniRowLabel, "STATIC", "",  0, WS_VISIBLE | SS_NOPREFIX, 42, 32,
                               227,           12,       true};
constexpr int kRowShift = 14;

// What the player shows here: each phrase and its row as it falls due
// (nothing clears them), and Stop and Play.
class MiniView final : public PlayerView {
 public:
  bool rowShown = false;

  void ShowLine(int entry) override {
    ShowLyricEntry(MiniWindow(), kMiniLyricLabel, rowShown ? kMiniRowLabel : 0, entry);
  }
  void ShowButtons(const ButtonStates& states) override {
    EnableAs(MiniWindow(), kMiniStop, states.miniStop);
    EnableAs(MiniWindow(), kMiniPlay, states.miniPlay);
  }
};

struct MiniState {
  MiniView view;
};

void FollowLyricsChange() {
  MiniState* state = WindowState<MiniState>(MiniWindow());
  if (state == nullptr) return;
  state->view.rowShown = LayOutTranslationRow(MiniWindow(), kControls, kRowLabel, kRowShift,
                                              Lyrics.HoldsTranslations(), Shell().MiniFont.get());
}

// It stands in for its owner, the main window, while it is open.
void ShowOwner(HWND window, UINT visibility) {
  SetWindowPos(GetWindow(window, GW_OWNER), HWND_TOP, 0, 0, 0, 0,
               visibility | SWP_NOMOVE | SWP_NOSIZE);
}

void OnInitDialog(HWND window) {
  MiniState& state = MakeWindowState<MiniState>(window);
  CreateControls(window, kControls, Shell().MiniFont.get());
  SetWindowTextA(window, "縮小モード　Velomar =ヴェロマ=");
  FollowLyrics(FollowLyricsChange);
  FollowLyricsChange();
  FollowPlayer(state.view);
  ShowOwner(window, SWP_HIDEWINDOW);
  // The song cannot change while the form is open, so once is enough.
  // Its real name; a song that did not open has only the name shown for it.
  const std::wstring& song = Playback.SongWidePath;
  SetControlTextUtf8(window, kMiniTitleLabel,
                     FileTitle(song.empty() ? WidePath(Playback.SongPath) : song));
}

void OnCommand(HWND window, int id, int code) {
  if (code != BN_CLICKED) return;
  // clang-format off
  switch (id) {
    case kMiniStop: StopSong(); break;
    case kMiniPlay: PlaySong(); break;
    case kMiniTopmost: SetTimer(window, kTopmostTimer, kTopmostDelayMs, nullptr); break;
    default: break;
  }
  // clang-format on
}

bool IsTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void OnTimer(HWND window, UINT_PTR timerId) {
  if (timerId != kTopmostTimer) return;
  KillTimer(window, kTopmostTimer);
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
  const bool onTop = IsChecked(window, kMiniTopmost);
  SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
  if (onTop || !IsTopmost(window)) return;
  // Wine keeps an owned window right above its owner and, with the hidden
  // main window just below this form, turns HWND_NOTOPMOST into "stay
  // where you are". With the hidden owner moved out of the way it works.
  SetWindowPos(GetWindow(window, GW_OWNER), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
}

void OnDestroy(HWND window) {
  UnfollowPlayer(WindowState<MiniState>(window)->view);
  UnfollowLyrics(FollowLyricsChange);
  DropWindowState<MiniState>(window);
  ShowOwner(window, SWP_SHOWWINDOW);
}

}  // namespace

LRESULT CALLBACK MiniFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(window, static_cast<UINT_PTR>(wParam)); return 0;
    case WM_CLOSE: CloseForm(window, 0); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
