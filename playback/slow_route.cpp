// Which way a song is played, and the program's own path for slowed songs.
#include "playback/slow_route.h"

#include "playback/playback.h"
#include "playback/player_views.h"
#include "playback/slow_player.h"
#include "ui/form_host.h"

namespace velomar {

namespace {

struct Route {
  SongSpeed speed = SongSpeed::Full;
  bool midi = false;
  WPARAM play = 0;  // counts the slowed plays, so that a late end is known
  SlowPlayer player;
};
Route route;

void TellSpeed() {
  const SongSpeed speed = route.speed;
  const bool slower = !route.midi;
  TellViews([&](PlayerView& view) { view.ShowSpeed(speed, slower); });
}

}  // namespace

bool SlowWanted() { return route.speed != SongSpeed::Full && !route.midi; }

bool StartSlow(double ms) {
  std::unique_ptr<SongSource> source = OpenSongSource(Playback.SongWidePath);
  if (source == nullptr) return false;
  route.play += 1;
  return route.player.Start(std::move(source), SpeedFactor(route.speed), ms,
                            {MainWindow(), kSlowSongEnd, route.play});
}

void PauseSlow() { route.player.Pause(); }
void StopSlow() { route.player.Stop(); }
bool SlowActive() { return route.player.Active(); }
double SlowMs() { return route.player.SongMs(); }

double ClockRate() { return SlowActive() ? SpeedFactor(route.speed) : 1.0; }

void UseFullSpeed() {
  route.speed = SongSpeed::Full;
  TellSpeed();
}

void NoteSongOpened(bool midi) {
  route.midi = midi;
  if (midi) route.speed = SongSpeed::Full;
  TellSpeed();
}

void SetSongSpeed(SongSpeed speed) {
  if (speed == route.speed || (route.midi && speed != SongSpeed::Full)) return;
  const bool playing = Playback.State == PlayState::Playing && Playback.DeviceOpen == 1;
  const double ms = ClockMilliseconds();
  route.speed = speed;
  TellSpeed();
  if (playing) ContinueSongAt(ms);
}

void OnSlowSongEnd(WPARAM play) {
  // An end posted just before a Stop or a new play is no end of this one.
  if (play != route.play || !SlowActive()) return;
  StopSlow();
  OnMciNotify(kNotifySuccessful);
}

}  // namespace velomar
