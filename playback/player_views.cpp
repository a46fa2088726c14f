#include "playback/player_views.h"

#include <algorithm>
#include <vector>

namespace velomar {

namespace {

struct Followers {
  std::vector<PlayerView*> views;
  PlayerSwitches switches;
};
Followers player;

}  // namespace

void FollowPlayer(PlayerView& view) {
  if (std::find(player.views.begin(), player.views.end(), &view) == player.views.end())
    player.views.push_back(&view);
}

void UnfollowPlayer(PlayerView& view) {
  player.views.erase(std::remove(player.views.begin(), player.views.end(), &view),
                     player.views.end());
}

void TellViews(const std::function<void(PlayerView&)>& tell) {
  const std::vector<PlayerView*> views = player.views;
  for (PlayerView* view : views) {
    if (std::find(player.views.begin(), player.views.end(), view) != player.views.end())
      tell(*view);
  }
}

void UsePlayerSwitches(const PlayerSwitches& switches) { player.switches = switches; }

bool LyricsOn() { return player.switches.lyricsOn != nullptr && player.switches.lyricsOn(); }

bool LoopOn() { return player.switches.loopOn != nullptr && player.switches.loopOn(); }

}  // namespace velomar
