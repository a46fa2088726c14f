#include "playback/playback_rules.h"

namespace velomar {

ButtonStates ButtonsAfter(ButtonEvent event) {
  constexpr Switch K = Switch::Keep, I = Switch::On, O = Switch::Off;
  switch (event) {
    //                                          play stop browse pause mStop mPlay
    case ButtonEvent::Start: return ButtonStates{O, O, I, O, K, K};
    case ButtonEvent::Opened: return ButtonStates{I, K, K, K, K, K};
    case ButtonEvent::Play: return ButtonStates{O, I, O, I, I, O};
    // A failed play must not leave the main window with nothing to press.
    case ButtonEvent::PlayFailed: return ButtonStates{I, O, I, O, O, I};
    case ButtonEvent::Stop: return ButtonStates{I, O, I, O, O, I};
    case ButtonEvent::Pause: return ButtonStates{I, I, I, O, K, K};
    case ButtonEvent::SongEnded: return ButtonStates{I, O, I, K, O, I};
    case ButtonEvent::LoopRestartFailed: return ButtonStates{I, O, I, K, O, I};
  }
  return ButtonStates{K, K, K, K, K, K};
}

NoticeAction DecideNotice(unsigned code, bool loopOn, PlayState state) {
  const bool interrupted = code == kNotifyAborted || code == kNotifySuperseded;
  if (!loopOn) {
    // A play cut short by a newer play: the song is still playing.
    if (interrupted && state == PlayState::Playing) return NoticeAction::Ignore;
    return NoticeAction::EndSong;
  }
  if (code == kNotifyFailure) return NoticeAction::ReportFailure;
  if (code == kNotifySuccessful) return NoticeAction::RestartSong;
  return NoticeAction::Ignore;
}

int StepTick(const LyricTable& table, bool lyricsOn, double& playTicks, std::int32_t& cursor) {
  int shown = -1;
  if (lyricsOn && cursor >= 0 && cursor < kLyricEntries &&
      static_cast<double>(table.time[cursor]) == playTicks) {
    shown = cursor;
    ++cursor;
  }
  playTicks += 1.0;
  return shown;
}

}  // namespace velomar
