#include "playback/playback.h"

#include <commdlg.h>

#include <vector>

#include "app/controls.h"
#include "app/form_host.h"
#include "app/lyric_store.h"
#include "app/main_window.h"
#include "forms/forms.h"
#include "lyrics/number_text.h"

namespace velomar {

PlaybackState Playback;

namespace {

// The Mini form numbers its buttons the other way round.
constexpr int kMiniStop = 1000;
constexpr int kMiniPlay = 1001;
constexpr int kMiniLyricLabel = 1007;

void Apply(HWND window, int id, Switch state) {
  if (state != Switch::Keep) EnableControl(window, id, state == Switch::On);
}

void SetButtons(ButtonEvent event) {
  const ButtonStates b = ButtonsAfter(event);
  Apply(MainWindow, kPlayButton, b.play);
  Apply(MainWindow, kStopButton, b.stop);
  Apply(MainWindow, kBrowseButton, b.browse);
  Apply(MainWindow, kPauseButton, b.pause);
  if (MiniWindow != nullptr && IsWindow(MiniWindow)) {
    Apply(MiniWindow, kMiniStop, b.miniStop);
    Apply(MiniWindow, kMiniPlay, b.miniPlay);
  }
}

void ErrorBox(const char* text, const char* caption = "Error") {
  ShowMessageBox(MainWindow, text, caption, MB_OK | MB_ICONERROR);
}

bool SendClose() {
  MCI_GENERIC_PARMS parms{};
  return mciSendCommandA(Playback.DeviceId, MCI_CLOSE, MCI_WAIT,
                         reinterpret_cast<DWORD_PTR>(&parms)) == 0;
}

bool SendPlayFromStart() {
  MCI_PLAY_PARMS parms{};
  parms.dwCallback = reinterpret_cast<DWORD_PTR>(MainWindow);
  parms.dwFrom = 0;
  return mciSendCommandA(Playback.DeviceId, MCI_PLAY, MCI_NOTIFY | MCI_FROM,
                         reinterpret_cast<DWORD_PTR>(&parms)) == 0;
}

bool IsWaveDevice() {
  MCI_GETDEVCAPS_PARMS caps{};
  caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
  return mciSendCommandA(Playback.DeviceId, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM,
                         reinterpret_cast<DWORD_PTR>(&caps)) == 0 &&
         caps.dwReturn == MCI_DEVTYPE_WAVEFORM_AUDIO;
}

ClockSource Source = nullptr;

std::int64_t ReadClock() { return Source != nullptr ? Source() : MonotonicMicroseconds(); }

void StartClock() {
  Playback.ClockStart = ReadClock();
  Playback.ClockRunning = true;
}

void StopClock() {
  Playback.ClockRunning = false;
  KillTimer(MainWindow, kTickTimer);
}

// Whole 100 ms periods since Play; with the clock stopped, none.
std::int64_t ElapsedPeriods() {
  if (!Playback.ClockRunning) return 0;
  return (ReadClock() - Playback.ClockStart) / (kTickPeriodMs * 1000);
}

void ClearLyricLine() { SetControlText(MainWindow, kLyricLine, ""); }

bool ChooseSongFile(std::string& path) {
  static const char kFilter[] = "音楽 ファイル\0*.wav;*.mp3;*.mid;*.midi\0";
  return AskOpenFileName(MainWindow, kFilter, "Soundファイルを開く", path);
}

std::string FileTitle(const std::string& path) {
  std::vector<char> title(path.size() + 2, '\0');
  if (GetFileTitleA(path.c_str(), title.data(), static_cast<WORD>(title.size())) != 0) {
    return std::string();
  }
  return title.data();
}

void EndSong() {
  SetButtons(ButtonEvent::SongEnded);
  Playback.State = PlayState::Stopped;
  StopClock();
}

void RestartSong() {
  const bool played = SendPlayFromStart();
  StartClock();
  Playback.PlayTicks = 0.0;
  Playback.LyricCursor = 0;
  ClearLyricLine();
  if (!played) {
    ErrorBox("デバイス再生エラー");
    // The song is gone: leave the window as after an unlooped end.
    EndSong();
  }
}

}  // namespace

void OpenSong() {
  std::string path;
  if (!ChooseSongFile(path)) return;
  if (Playback.DeviceOpen == 1 && !SendClose()) ErrorBox("開放失敗");
  SetControlText(MainWindow, kPathLine, path);
  Playback.SongPath = path;
  Playback.OpenParms.lpstrElementName = Playback.SongPath.c_str();
  const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT,
                                         reinterpret_cast<DWORD_PTR>(&Playback.OpenParms));
  Playback.OpenParms.lpstrElementName = nullptr;
  Playback.DeviceId = Playback.OpenParms.wDeviceID;
  Playback.DeviceOpen = 1;
  if (error != 0) {
    ErrorBox("デバイスオープンエラー");
    Playback.DeviceOpen = 0;
    return;
  }
  SetControlText(MainWindow, kFileNameLabel, FileTitle(Playback.SongPath));
  SetButtons(ButtonEvent::Opened);
  ClearLyricLine();
}

void PlaySong() {
  ClearLyricLine();
  Playback.PlayTicks = 0.0;
  Playback.LyricCursor = 0;
  SetButtons(ButtonEvent::Play);
  if (!SendPlayFromStart()) {
    ErrorBox("デバイス再生エラー");
    SetButtons(ButtonEvent::PlayFailed);
    return;
  }
  // Pause left the timer running.
  if (Playback.State != PlayState::Paused) SetTimer(MainWindow, kTickTimer, kTickPeriodMs, nullptr);
  StartClock();
  Playback.State = PlayState::Playing;
}

void StopSong() {
  Playback.LyricCursor = 0;
  ClearLyricLine();
  SetButtons(ButtonEvent::Stop);
  MCI_GENERIC_PARMS parms{};
  // Wine's wave driver holds a stop until the sound it has queued has
  // played, up to a second; paused first, it drops that sound at once.
  if (Playback.State == PlayState::Playing && IsWaveDevice()) {
    mciSendCommandA(Playback.DeviceId, MCI_PAUSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
  }
  if (mciSendCommandA(Playback.DeviceId, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms)) !=
      0) {
    ErrorBox("デバイス停止エラー");
    return;
  }
  Playback.State = PlayState::Stopped;
  StopClock();
}

void PauseSong() {
  mciSendCommandA(Playback.DeviceId, MCI_PAUSE, 0, 0);
  SetButtons(ButtonEvent::Pause);
  Playback.State = PlayState::Paused;
}

void OnMciNotify(UINT code) {
  switch (DecideNotice(code, IsChecked(MainWindow, kLoopToggle), Playback.State)) {
    case NoticeAction::Ignore: break;
    case NoticeAction::EndSong: EndSong(); break;
    case NoticeAction::RestartSong: RestartSong(); break;
    case NoticeAction::ReportFailure:
      ErrorBox("デバイス（音楽）再生中に、エラーが発生しました!!!", "ERROR");
      break;
  }
}

std::int64_t MonotonicMicroseconds() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  // Split so that the product cannot overflow in a long run.
  const std::int64_t seconds = now.QuadPart / frequency.QuadPart;
  const std::int64_t rest = now.QuadPart % frequency.QuadPart;
  return seconds * 1000000 + rest * 1000000 / frequency.QuadPart;
}

void UseClockSource(ClockSource source) { Source = source; }

double ClockNow() { return velomar::ClockNow(Playback.PlayTicks, ElapsedPeriods()); }

void OnTick(UINT_PTR timerId) {
  if (timerId != kTickTimer) return;
  const bool lyricsOn = IsChecked(MainWindow, kLyricsToggle);
  const bool catchUp = !Playback.LyricsWereOn || Playback.RevisionSeen != Lyrics.Revision;
  Playback.LyricsWereOn = lyricsOn;
  Playback.RevisionSeen = Lyrics.Revision;
  const double to = AdvanceClock(Playback.PlayTicks, ElapsedPeriods());
  const int shown =
      StepTicks(Lyrics, lyricsOn, catchUp, Playback.PlayTicks, Playback.LyricCursor, to);
  if (shown >= 0) {
    const std::string& phrase = Lyrics.phrase[shown];
    if (MiniModeActive == 1) {
      SetControlText(MiniWindow, kMiniLyricLabel, phrase);
    } else {
      SetControlText(MainWindow, kLyricLine, phrase);
    }
  }
  SetControlText(MainWindow, kStatusLabel, TicksText(Playback.PlayTicks));
}

void CloseSong() {
  if (Playback.DeviceOpen == 1 && !SendClose()) ErrorBox("開放失敗");
}

}  // namespace velomar
