#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <string>

#include "forms/forms.h"
#include "forms/given_files.h"
#include "forms/main_window.h"
#include "forms/overlay.h"
#include "lyrics/number_text.h"
#include "playback/playback.h"
#include "playback/player_views.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"
#include "ui/translation_row.h"
#include "ui/window_state.h"

namespace velomar {

using namespace main_ids;

namespace {

constexpr DWORD kEdge = WS_EX_STATICEDGE;
constexpr DWORD kToggle = BS_AUTOCHECKBOX | BS_CENTER | BS_PUSHLIKE;

const ControlSpec kControls[] = {
    {kPlayButton, "BUTTON", "再生", kEdge, WS_VISIBLE | WS_DISABLED, 10, 126, 85, 35},
    {kStopButton, "BUTTON", "停止", kEdge, WS_VISIBLE | WS_DISABLED, 184, 126, 85, 35},
    {kPathLine, "EDIT", "", kEdge, WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 91, 66, 167, 18,
     true},
    {kBrowseButton, "BUTTON", "ファイルの参照", kEdge, WS_VISIBLE, 263, 65, 88, 22},
    {kFileNameCaption, "STATIC", "ファイル名：", 0, WS_VISIBLE, 15, 13, 64, 12},
    {kFileNameLabel, "STATIC", "ここに再生中のファイル名が表示されます", kEdge,
     WS_VISIBLE | SS_CENTER, 82, 11, 274, 17, true},
    {kStatusCaption, "STATIC", "現在の再生状況：", 0, WS_VISIBLE, 15, 43, 95, 12},
    {kStatusLabel, "STATIC", "0", kEdge, WS_VISIBLE | SS_CENTER, 111, 43, 160, 15},
    {kLoopToggle, "BUTTON", "ループ再生", kEdge, WS_VISIBLE | kToggle, 272, 116, 80, 24},
    {kPathCaption, "STATIC", "ファイルパス：", 0, WS_VISIBLE, 15, 68, 72, 12},
    {kLyricsToggle, "BUTTON", "歌詞を表示", kEdge, WS_VISIBLE | kToggle, 272, 141, 80, 24},
    {kLyricLine, "EDIT", "", kEdge, WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL | ES_CENTER, 5, 91,
     353, 17, true},
    {kPauseButton, "BUTTON", "一時停止", kEdge, WS_DISABLED, 97, 126, 85, 35},
};

// Under the lyric line, 2 pixels apart; the buttons below move down by its
// height and the gap, and so does the window's bottom.
const ControlSpec kRowLabel = {
    kRowLine, "STATIC", "",  kEdge, WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
    5,        110,      353, 17,    true};
constexpr int kRowShift = 19;

bool LyricsToggleOn() { return IsChecked(MainWindow(), kLyricsToggle); }
bool LoopToggleOn() { return IsChecked(MainWindow(), kLoopToggle); }

// What the player shows here: the lyric line and its row (while the Mini
// form is open its label takes the phrases instead, and nothing else does),
// the clock, the song's path and title, and the four buttons.
class MainView final : public PlayerView {
 public:
  bool rowShown = false;

  void ShowLine(int entry) override {
    if (MiniModeActive() != 1) ShowLyricEntry(MainWindow(), kLyricLine, RowId(), entry);
  }
  void ClearLine() override {
    SetControlTextUtf8(MainWindow(), kLyricLine, "");
    if (rowShown) SetControlTextUtf8(MainWindow(), kRowLine, "");
  }
  void ShowTicks(double ticks) override {
    SetControlText(MainWindow(), kStatusLabel, TicksText(ticks));
  }
  void ShowButtons(const ButtonStates& states) override {
    EnableAs(MainWindow(), kPlayButton, states.play);
    EnableAs(MainWindow(), kStopButton, states.stop);
    EnableAs(MainWindow(), kBrowseButton, states.browse);
    EnableAs(MainWindow(), kPauseButton, states.pause);
  }
  void ShowPath(const std::string& path) override {
    SetControlTextUtf8(MainWindow(), kPathLine, path);
  }
  void ShowTitle(const std::string& title) override {
    SetControlTextUtf8(MainWindow(), kFileNameLabel, title);
  }
  void ShowSpeed(SongSpeed speed, bool slowerAllowed) override {
    ShowSpeedMenu(speed, slowerAllowed);
  }

 private:
  int RowId() const { return rowShown ? kRowLine : 0; }
};

struct MainState {
  MainView view;
};

void FollowLyricsChange() {
  MainState* state = WindowState<MainState>(MainWindow());
  if (state == nullptr) return;
  state->view.rowShown = LayOutTranslationRow(MainWindow(), kControls, kRowLabel, kRowShift,
                                              Lyrics.HoldsTranslations(), Shell().MainFont.get());
}

void OnCreate(HWND window) {
  KeepMainWindow(window);
  MainState& state = MakeWindowState<MainState>(window);
  SetMenu(window, Shell().MenuBar);
  // What DragAcceptFiles sets, without loading shell32 before a drop.
  SetWindowLongPtrA(window, GWL_EXSTYLE,
                    GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  CreateControls(window, kControls, Shell().MainFont.get());
  SetWindowTextA(window, "Velomar =ヴェロマ=　βEdition");
  FollowLyrics(FollowLyricsChange);
  FollowLyricsChange();
  FollowPlayer(state.view);
  UsePlayerSwitches({LyricsToggleOn, LoopToggleOn});
}

constexpr char kResetText[] =
    "変数を初期化しますので、〝初期化が完了しました〟のメッセージの後、"
    "歌詞を読み込みなおしてください。";

// The sentence the first box adds while lyrics are unsaved.
constexpr char kResetLoses[] = "\r\n\r\n保存されていない歌詞は失われます。";

// Two boxes around the reset. With unsaved lyrics the first one says they
// will be lost and may be cancelled, which resets nothing. A press made
// while a box is up (the timing window has no owner) is asked about before
// the reset takes it: the question is asked again until it covers what the
// reset would clear.
void ResetCommand() {
  bool warned = false;
  LyricDocument::StateId covered = 0;
  if (!LyricsUnsaved()) {
    ShowMessageBox(MainWindow(), kResetText, "初期化します", MB_OK | MB_ICONINFORMATION);
  }
  while (LyricsUnsaved() && !(warned && Lyrics.State() == covered)) {
    covered = Lyrics.State();
    warned = true;
    const std::string text = std::string(kResetText) + kResetLoses;
    if (ShowMessageBox(MainWindow(), text.c_str(), "初期化します", MB_OKCANCEL | MB_ICONWARNING) !=
        IDOK) {
      return;
    }
  }
  Lyrics.Reset();
  ShowMessageBox(MainWindow(), "初期化が完了しました", "初期化完了", MB_OK | MB_ICONINFORMATION);
}

void VersionCommand() {
  MessageBeep(MB_ICONASTERISK);
  OpenForm(MainWindow(), "Version");
}

void OnCommand(int id, int code) {
  const bool clicked = code == BN_CLICKED;
  // clang-format off
  switch (id) {
    case kPlayButton: if (clicked) PlaySong(); break;
    case kStopButton: if (clicked) StopSong(); break;
    case kBrowseButton: if (clicked) OpenSong(); break;
    case kPauseButton: if (clicked) PauseSong(); break;
    case kMenuKashiList: OpenForm(MainWindow(), "KashiList"); break;
    // Neither has an owner: Play and Stop stay usable while they are open.
    case kMenuKashi: OpenForm(nullptr, "Kashi"); break;
    case kMenuKashiEdit: OpenForm(nullptr, "KashiEdit"); break;
    case kMenuReset: ResetCommand(); break;
    case kMenuMini: OpenForm(MainWindow(), "Mini"); break;
    case kMenuVersion: VersionCommand(); break;
    case kMenuPressOffset: OpenForm(MainWindow(), "PressOffset"); break;
    case kMenuOverlay: ToggleOverlay(); break;
    case kMenuOverlayUnlock: ToggleOverlayLock(); break;
    case kMenuSpeedFull: SetSongSpeed(SongSpeed::Full); break;
    case kMenuSpeedThreeQuarters: SetSongSpeed(SongSpeed::ThreeQuarters); break;
    case kMenuSpeedHalf: SetSongSpeed(SongSpeed::Half); break;
    default: break;
  }
  // clang-format on
}

void OnClose(HWND window) {
  if (MayClose(window)) DestroyWindow(window);
}

void OnDestroy(HWND window) {
  CloseOverlayAtExit();
  UsePlayerSwitches({});
  UnfollowPlayer(WindowState<MainState>(window)->view);
  UnfollowLyrics(FollowLyricsChange);
  DropWindowState<MainState>(window);
  CloseSong();
  ReleaseShellObjects();
  if (!HandQuitToLoop(0)) PostQuitMessage(0);
  SetMenu(MainWindow(), nullptr);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER: OnTick(static_cast<UINT_PTR>(wParam)); return 0;
    case MM_MCINOTIFY: OnMciNotify(static_cast<UINT>(wParam)); return 0;
    case kSlowSongEnd: OnSlowSongEnd(wParam); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_HOTKEY: OnSharedHotKey(window, wParam); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_QUERYENDSESSION: return AnswerEndSession(window);
    case WM_ENABLE: KeepHeldWindowDisabled(window, wParam != 0); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace velomar
