#include "playback/playback.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "playback/player_views.h"
#include "playback/slow_route.h"
#include "system/late_dll.h"
#include "system/wide_path.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/lyric_open.h"
#include "ui/lyric_store.h"

namespace velomar {

PlaybackState Playback;

namespace {

void SetButtons(ButtonEvent event) {
  const ButtonStates states = ButtonsAfter(event);
  TellViews([&](PlayerView& view) { view.ShowButtons(states); });
}

void ErrorBox(const char* text, const char* caption = "Error") {
  ShowMessageBox(MainWindow(), text, caption, MB_OK | MB_ICONERROR);
}

bool SendClose() {
  MCI_GENERIC_PARMS parms{};
  return late::mciSendCommandA(Playback.DeviceId, MCI_CLOSE, MCI_WAIT,
                               reinterpret_cast<DWORD_PTR>(&parms)) == 0;
}

// From a position in milliseconds; 0 asks in the device's own time format,
// as Play always has.
bool SendPlayFrom(DWORD milliseconds) {
  if (milliseconds != 0) {
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    late::mciSendCommandA(Playback.DeviceId, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT,
                          reinterpret_cast<DWORD_PTR>(&format));
  }
  MCI_PLAY_PARMS parms{};
  parms.dwCallback = reinterpret_cast<DWORD_PTR>(MainWindow());
  parms.dwFrom = milliseconds;
  return late::mciSendCommandA(Playback.DeviceId, MCI_PLAY, MCI_NOTIFY | MCI_FROM,
                               reinterpret_cast<DWORD_PTR>(&parms)) == 0;
}

bool DeviceIs(DWORD type) {
  MCI_GETDEVCAPS_PARMS caps{};
  caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
  return late::mciSendCommandA(Playback.DeviceId, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM,
                               reinterpret_cast<DWORD_PTR>(&caps)) == 0 &&
         caps.dwReturn == type;
}

bool IsWaveDevice() { return DeviceIs(MCI_DEVTYPE_WAVEFORM_AUDIO); }

// Stops MCI's sound. Wine's wave driver holds a stop until the sound it has
// queued has played, up to a second; paused first, it drops that sound at
// once.
bool SendStop() {
  MCI_GENERIC_PARMS parms{};
  if (Playback.State == PlayState::Playing && IsWaveDevice()) {
    late::mciSendCommandA(Playback.DeviceId, MCI_PAUSE, MCI_WAIT,
                          reinterpret_cast<DWORD_PTR>(&parms));
  }
  return late::mciSendCommandA(Playback.DeviceId, MCI_STOP, MCI_WAIT,
                               reinterpret_cast<DWORD_PTR>(&parms)) == 0;
}

// Starts the song at `ms` through the path the speed asks for: a song the
// program's own path cannot read plays through MCI at full speed, after a
// box that says so.
bool StartSound(DWORD ms) {
  StopSlow();
  if (SlowWanted()) {
    // MCI may still be playing the song: a change of speed, a second Play.
    if (Playback.State == PlayState::Playing || Playback.State == PlayState::Paused) SendStop();
    if (StartSlow(ms)) return true;
    ShowMessageBox(MainWindow(), "この曲は速度を変えて再生できません", "再生速度",
                   MB_OK | MB_ICONINFORMATION);
    UseFullSpeed();
  }
  return SendPlayFrom(ms);
}

ClockSource Source = nullptr;

std::int64_t ReadClock() { return Source != nullptr ? Source() : MonotonicMicroseconds(); }

// The clock counts from `start` ticks at this moment.
void StartClock(double start) {
  Playback.ClockStart = ReadClock() - static_cast<std::int64_t>(start) * kTickPeriodMs * 1000;
  Playback.ClockRunning = true;
  Playback.PlayStart = start;
  Playback.PlayId += 1;
}

void TellPlaying(bool playing) {
  TellViews([playing](PlayerView& view) { view.ShowPlaying(playing); });
}

void StopClock() {
  Playback.ClockRunning = false;
  KillTimer(MainWindow(), kTickTimer);
  TellPlaying(false);
}

// Whole 100 ms periods of the song since Play; with the clock stopped, none.
// A slowed song's are its own song time.
std::int64_t ElapsedPeriods() {
  if (!Playback.ClockRunning) return 0;
  if (SlowActive()) return static_cast<std::int64_t>(SlowMs() / kTickPeriodMs);
  return (ReadClock() - Playback.ClockStart) / (kTickPeriodMs * 1000);
}

void ClearLyricLine() {
  TellViews([](PlayerView& view) { view.ClearLine(); });
}

void ShowLine(int entry) {
  TellViews([entry](PlayerView& view) { view.ShowLine(entry); });
}

// The song's length in ticks; unknown (never reached) when the device does
// not tell.
double SongLengthTicks() {
  MCI_SET_PARMS format{};
  format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
  late::mciSendCommandA(Playback.DeviceId, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT,
                        reinterpret_cast<DWORD_PTR>(&format));
  MCI_STATUS_PARMS status{};
  status.dwItem = MCI_STATUS_LENGTH;
  if (late::mciSendCommandA(Playback.DeviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                            reinterpret_cast<DWORD_PTR>(&status)) != 0) {
    return std::numeric_limits<double>::infinity();
  }
  return static_cast<double>(status.dwReturn) / kTickPeriodMs;
}

// A play from the middle first seeks, which takes a while with some
// drivers: the clock waits until the device says it plays, a bounded while.
void AwaitPlaying() {
  for (int i = 0; i < 50; ++i) {
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    if (late::mciSendCommandA(Playback.DeviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                              reinterpret_cast<DWORD_PTR>(&status)) != 0 ||
        status.dwReturn == MCI_MODE_PLAY) {
      return;
    }
    Sleep(5);
  }
}

bool ChooseSongFile(std::wstring& path) {
  static const char kFilter[] = "音楽 ファイル\0*.wav;*.mp3;*.mid;*.midi\0";
  return AskOpenFileName(MainWindow(), kFilter, "Soundファイルを開く", path);
}

}  // namespace

void EnableAs(HWND window, int id, Switch state) {
  if (state != Switch::Keep) EnableControl(window, id, state == Switch::On);
}

std::string FileTitle(const std::wstring& path) {
  if (path.empty()) return std::string();
  std::vector<wchar_t> title(path.size() + 2, L'\0');
  if (late::GetFileTitleW(path.c_str(), title.data(), static_cast<WORD>(title.size())) != 0) {
    return std::string();
  }
  return WideToUtf8(title.data());
}

namespace {

using PathCall = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

std::wstring AskPath(PathCall call, const std::wstring& path) {
  const DWORD size = call(path.c_str(), nullptr, 0);
  if (size == 0) return std::wstring();
  std::vector<wchar_t> buffer(size + 1, L'\0');
  const DWORD got = call(path.c_str(), buffer.data(), size + 1);
  return got == 0 || got > size ? std::wstring() : std::wstring(buffer.data(), got);
}

// Some MCI drivers (Wine's among them) pass the name on in the ANSI code
// page; the file's short name, where the volume keeps one, is plain ASCII.
// Wine makes short names from a hash of the long one, so another file of
// the folder may answer to the same: only one that leads back is used.
std::wstring ShortPath(const std::wstring& path) {
  const std::wstring shortPath = AskPath(GetShortPathNameW, path);
  const std::wstring longPath = AskPath(GetLongPathNameW, path);
  if (shortPath.empty() || longPath.empty()) return std::wstring();
  return AskPath(GetLongPathNameW, shortPath) == longPath ? shortPath : std::wstring();
}

void EndSong() {
  SetButtons(ButtonEvent::SongEnded);
  Playback.State = PlayState::Stopped;
  StopClock();
}

void RestartSong() {
  const bool played = StartSound(0);
  StartClock(0.0);
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
  std::wstring path;
  if (!ChooseSongFile(path)) return;
  if (OpenSongFile(path)) LoadLyricsBeside(MainWindow(), path);
}

bool OpenSongFile(const std::wstring& path) {
  if (SlowActive()) {
    StopSlow();
    // As MCI tells of a play its device closed under.
    PostMessageA(MainWindow(), MM_MCINOTIFY, kNotifyAborted, 0);
  }
  if (Playback.DeviceOpen == 1 && !SendClose()) ErrorBox("開放失敗");
  Playback.SongPath = ShownPath(path);
  Playback.SongWidePath.clear();
  const std::string shownPath = WideToUtf8(path);
  TellViews([&](PlayerView& view) { view.ShowPath(shownPath); });
  // Opened by its real name: the shown one may hold "?" for a character
  // the code page lacks.
  MCI_OPEN_PARMSW parms{};
  parms.wDeviceID = Playback.OpenParms.wDeviceID;  // a failed open leaves it
  parms.lpstrElementName = path.c_str();
  MCIERROR error =
      late::mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&parms));
  const std::wstring shortPath = ShortPath(path);
  if (error != 0 && !shortPath.empty() && shortPath != path) {
    parms.lpstrElementName = shortPath.c_str();
    error =
        late::mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&parms));
  }
  Playback.OpenParms.wDeviceID = parms.wDeviceID;
  Playback.DeviceId = parms.wDeviceID;
  Playback.DeviceOpen = 1;
  if (error != 0) {
    ErrorBox("デバイスオープンエラー");
    Playback.DeviceOpen = 0;
    return false;
  }
  Playback.SongWidePath = path;
  const std::string title = FileTitle(path);
  TellViews([&](PlayerView& view) { view.ShowTitle(title); });
  SetButtons(ButtonEvent::Opened);
  ClearLyricLine();
  NoteSongOpened(DeviceIs(MCI_DEVTYPE_SEQUENCER));
  return true;
}

void PlaySong() { PlaySongFrom(0.0); }

void PlaySongFrom(double tick) {
  const double start = std::max(0.0, std::floor(tick));
  ClearLyricLine();
  Playback.PlayTicks = start;
  Playback.LyricCursor = FirstLineDue(Lyrics.Table(), start);
  SetButtons(ButtonEvent::Play);
  if (!StartSound(static_cast<DWORD>(start) * kTickPeriodMs)) {
    ErrorBox("デバイス再生エラー");
    SetButtons(ButtonEvent::PlayFailed);
    return;
  }
  if (start > 0.0 && !SlowActive()) AwaitPlaying();
  // Pause left the timer running.
  if (Playback.State != PlayState::Paused)
    SetTimer(MainWindow(), kTickTimer, kTickPeriodMs, nullptr);
  StartClock(start);
  Playback.State = PlayState::Playing;
  TellPlaying(true);
}

bool PlayFromLine(int line, double leadIn) {
  if (Playback.DeviceOpen != 1) return false;
  const PlayFrom from = DecidePlayFrom(Lyrics.Table(), line, leadIn, SongLengthTicks());
  if (from.refused) return false;
  PlaySongFrom(from.start);
  if (Playback.State == PlayState::Playing && from.shown >= 0 && LyricsOn()) ShowLine(from.shown);
  return true;
}

void StopSong() {
  Playback.LyricCursor = 0;
  ClearLyricLine();
  SetButtons(ButtonEvent::Stop);
  if (SlowActive()) {
    StopSlow();
  } else if (!SendStop()) {
    ErrorBox("デバイス停止エラー");
    return;
  }
  Playback.State = PlayState::Stopped;
  StopClock();
}

void PauseSong() {
  if (SlowActive()) {
    PauseSlow();
  } else {
    late::mciSendCommandA(Playback.DeviceId, MCI_PAUSE, 0, 0);
  }
  SetButtons(ButtonEvent::Pause);
  Playback.State = PlayState::Paused;
  TellPlaying(false);
}

void OnMciNotify(UINT code) {
  switch (DecideNotice(code, LoopOn(), Playback.State)) {
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

double ClockMilliseconds() {
  const double ticked = Playback.PlayTicks * kTickPeriodMs;
  if (!Playback.ClockRunning) return ticked;
  if (SlowActive()) return std::max(ticked, SlowMs());
  return std::max(ticked, static_cast<double>(ReadClock() - Playback.ClockStart) / 1000.0);
}

void ContinueSongAt(double ms) {
  if (!StartSound(static_cast<DWORD>(ms))) {
    ErrorBox("デバイス再生エラー");
    EndSong();
    return;
  }
  if (SlowActive()) return;
  if (ms > 0) AwaitPlaying();
  Playback.ClockStart = ReadClock() - static_cast<std::int64_t>(ms * 1000);
}

void OnTick(UINT_PTR timerId) {
  if (timerId != kTickTimer) return;
  const bool lyricsOn = LyricsOn();
  const LyricTable& table = Lyrics.Table();
  const bool catchUp = !Playback.LyricsWereOn || Playback.RevisionSeen != table.Revision;
  Playback.LyricsWereOn = lyricsOn;
  Playback.RevisionSeen = table.Revision;
  // A slowed song's clock is its song time, which a tick cannot hurry.
  const double to = SlowActive() ? velomar::ClockNow(Playback.PlayTicks, ElapsedPeriods())
                                 : AdvanceClock(Playback.PlayTicks, ElapsedPeriods());
  const int shown = StepTicks(table, lyricsOn, catchUp, Playback.PlayStart, Playback.PlayTicks,
                              Playback.LyricCursor, to);
  if (shown >= 0) ShowLine(shown);
  const double ticks = Playback.PlayTicks;
  TellViews([ticks](PlayerView& view) { view.ShowTicks(ticks); });
}

void CloseSong() {
  StopSlow();
  if (Playback.DeviceOpen == 1 && !SendClose()) ErrorBox("開放失敗");
}

}  // namespace velomar
