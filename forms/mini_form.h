// The compact view (縮小モード): its controls by id, as the program's tools and tests reach them.
#pragma once

namespace velomar::mini_ids {

// Stop and Play are numbered the other way round from the main window's.
enum MiniControl : int {
  kMiniStop = 1000,
  kMiniPlay = 1001,
  kMiniTitleCaption = 1004,
  kMiniLyricCaption = 1005,
  kMiniTitleLabel = 1006,
  kMiniLyricLabel = 1007,
  kMiniTopmost = 1008,
  kMiniRowLabel = 1009,  // only while the lyrics hold a translation
};

}  // namespace velomar::mini_ids
