// The lyric file window (歌詞ファイルの参照): its controls by id, as the program's tools and tests
// reach them.
#pragma once

namespace velomar::kashi_list_ids {

enum KashiListControl : int {
  kBrowseButton = 1000,
  kLoadButton = 1001,
  kPathBox = 1002,
  kRemainingCaption = 1004,
  kRemainingLabel = 1005,
  kPhraseCaption = 1006,
  kTimeLabel = 1007,
  kPhraseLabel = 1009,
};

}  // namespace velomar::kashi_list_ids
