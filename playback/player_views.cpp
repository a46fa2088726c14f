#include "playback/player_views.h"

#include <algorithm>
#include <vector>

namespace velomar {

namespace {

std::vector<PlayerView*> Views;
PlayerSwitches Switches;

}  // namespace

void FollowPlayer(PlayerView& view) {
  if (std::find(Views.begin(), Views.end(), &view) == Views.end()) Views.push_back(&view);
}

void UnfollowPlayer(PlayerView& view) {
  Views.erase(std::remove(Views.begin(), Views.end(), &view), Views.end());
}

void TellViews(const std::function<void(PlayerView&)>& tell) {
  const std::vector<PlayerView*> views = Views;
  for (PlayerView* view : views) {
    if (std::find(Views.begin(), Views.end(), view) != Views.end()) tell(*view);
  }
}

void UsePlayerSwitches(const PlayerSwitches& switches) { Switches = switches; }

bool LyricsOn() { return Switches.lyricsOn != nullptr && Switches.lyricsOn(); }

bool LoopOn() { return Switches.loopOn != nullptr && Switches.loopOn(); }

}  // namespace velomar
