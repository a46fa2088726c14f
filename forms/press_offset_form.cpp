// The press offset form: the user presses along with a click track of the
// program's own, the median lag of the presses is shown and proposed, and
// the offset typed or measured is kept for every later press.
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/press_offset_form.h"
#include "lyrics/click_track.h"
#include "lyrics/number_text.h"
#include "lyrics/timing_settings.h"
#include "playback/playback.h"
#include "playback/press_time.h"
#include "system/late_dll.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/shell.h"
#include "ui/window_state.h"

namespace velomar {

using namespace press_offset_ids;

namespace {

// Ends the measurement once the track has played out.
constexpr UINT_PTR kTrackTimer = 1;

constexpr DWORD kEdge = WS_EX_STATICEDGE;
constexpr DWORD kShown = WS_VISIBLE;

const ControlSpec kControls[] = {
    {kBeatButton, "BUTTON", "拍に合わせて押す", kEdge, kShown, 10, 10, 130, 30},
    {kLagLabel, "STATIC", "", 0, kShown, 148, 19, 170, 12},
    {kOffsetBox, "EDIT", "", WS_EX_CLIENTEDGE, kShown | ES_AUTOHSCROLL, 120, 52, 80, 21},
    {kOkButton, "BUTTON", "OK", kEdge, kShown, 70, 86, 88, 26},
    {kCancelButton, "BUTTON", "キャンセル", kEdge, kShown, 166, 86, 88, 26},
    {kOffsetCaption, "STATIC", "補正 (ミリ秒)：", 0, kShown, 20, 56, 96, 12},
};

struct OffsetState {
  // Played from memory: the bytes live as long as the sound may play.
  std::string track;
  bool measuring = false;
  std::int64_t startUs = 0;
  std::vector<double> presses;  // ms since the track started, at each key
};

OffsetState& State(HWND window) { return *WindowState<OffsetState>(window); }

void StopTrack() { late::PlaySoundA(nullptr, nullptr, 0); }

void StartTrack(HWND window) {
  OffsetState& state = State(window);
  state.presses.clear();
  if (state.track.empty()) state.track = ClickTrackWave();
  // The clock starts as the song's does, at the command that starts the
  // sound: what the device takes to sound is part of the lag measured.
  state.startUs = MonotonicMicroseconds();
  state.measuring =
      late::PlaySoundA(state.track.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != 0;
  if (!state.measuring) {
    MessageBeep(MB_OK);
    return;
  }
  SetControlText(window, kLagLabel, "");
  SetTimer(window, kTrackTimer, static_cast<UINT>(ClickTimes().back() + 1000), nullptr);
}

void Press(HWND window) {
  OffsetState& state = State(window);
  const double now = static_cast<double>(MonotonicMicroseconds() - state.startUs) / 1000.0;
  state.presses.push_back(now - MessageWaitMs());
}

void EndMeasurement(HWND window) {
  KillTimer(window, kTrackTimer);
  OffsetState& state = State(window);
  state.measuring = false;
  const MeasuredLag lag = MeasureLag(state.presses);
  if (!lag.measured) {
    SetControlText(window, kLagLabel, "平均の遅れ: 6 回以上押してください");
    return;
  }
  SetControlText(window, kLagLabel, "平均の遅れ: " + NumberText(lag.ms) + " ms");
  SetControlText(window, kOffsetBox, NumberText(lag.ms));
}

void OnBeat(HWND window) {
  if (State(window).measuring) {
    Press(window);
  } else {
    StartTrack(window);
  }
}

// Bad text keeps the form open: the user corrects it or cancels.
void OnOk(HWND window) {
  std::int32_t ms = 0;
  if (!ParsePressOffset(ControlTextUtf8(window, kOffsetBox), ms)) {
    ShowMessageBox(window, "打鍵の補正は -1000 から 1000 までの整数（ミリ秒）で入力してください",
                   "打鍵の補正", MB_OK | MB_ICONWARNING);
    return;
  }
  if (!KeepPressOffset(ms)) {
    ShowMessageBox(window, "打鍵の補正を保存できませんでした", "Error", MB_OK | MB_ICONERROR);
    return;
  }
  SendMessageA(window, WM_CLOSE, 0, 0);
}

void OnInitDialog(HWND window) {
  MakeWindowState<OffsetState>(window);
  CreateControls(window, kControls, Shell().VersionFont.get());
  SetWindowTextA(window, "打鍵の補正");
  SetControlText(window, kOffsetBox, NumberText(PressOffset()));
}

void OnCommand(HWND window, int id, int code) {
  if (code != BN_CLICKED) return;
  // clang-format off
  switch (id) {
    case kBeatButton: OnBeat(window); break;
    case kOkButton: OnOk(window); break;
    case kCancelButton: SendMessageA(window, WM_CLOSE, 0, 0); break;
    default: break;
  }
  // clang-format on
}

void OnTimer(HWND window, UINT_PTR id) {
  if (id == kTrackTimer) EndMeasurement(window);
}

void OnDestroy(HWND window) {
  if (State(window).measuring) StopTrack();
  DropWindowState<OffsetState>(window);
}

}  // namespace

// Space presses along while the track plays, wherever the focus is in the
// form; a held key counts once.
bool PressOffsetKeys(const MSG& message) {
  HWND form = FormWindow(Form::PressOffset);
  if (message.message != WM_KEYDOWN || message.wParam != VK_SPACE || !OnScreen(form)) return false;
  if (message.hwnd != form && !IsChild(form, message.hwnd)) return false;
  if (!IsWindowEnabled(form) || !State(form).measuring) return false;
  if ((message.lParam & (1 << 30)) == 0) Press(form);
  return true;
}

LRESULT CALLBACK PressOffsetFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(window, static_cast<UINT_PTR>(wParam)); return 0;
    case WM_CLOSE: CloseForm(window, 0); return 0;
    case WM_ENABLE: KeepHeldWindowDisabled(window, wParam != 0); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
