// The timing window (歌詞追加): its controls by id, as the program's tools and tests reach them.
#pragma once

namespace velomar::kashi_ids {

enum KashiControl : int {
  kAddButton = 1000,
  kSaveButton = 1001,
  kPhraseBox = 1002,
  kRemainingCaption = 1004,
  kRemainingLabel = 1005,
  kFileNameCaption = 1006,
  kLastCaption = 1007,
  kPourInSwitch = 1008,
  kLastTimeLabel = 1009,
  kPourInBox = 1011,
  kFileNameBox = 1013,
  kSaveFrame = 1014,
  kLastPhraseLabel = 1015,
  kSavingCaption = 1016,
  kSavingLabel = 1017,
  kWordSwitch = 1018,
  kWordLabel = 1019,
};

}  // namespace velomar::kashi_ids
