// The lyric editor: its controls by id, as the program's tools and tests reach them.
#pragma once

namespace velomar::kashi_edit_ids {

enum KashiEditControl : int {
  kLineList = 1000,
  kEarlierButton = 1001,
  kLaterButton = 1002,
  kClockButton = 1003,
  kInsertButton = 1004,
  kDeleteButton = 1005,
  kUndoButton = 1006,
  kPhraseBox = 1007,
  kPhraseButton = 1008,
  kPlayHereButton = 1009,
  kUnreachableLabel = 1010,
  kNameCaption = 1011,
  kNameBox = 1012,
  kSaveButton = 1013,
  kLrcButton = 1014,
  kRedoButton = 1015,
  kShiftEarlierButton = 1016,
  kShiftLaterButton = 1017,
  kRowBox = 1018,
  kRowButton = 1019,
  kExportButton = 1020,
  kWaveStrip = 1021,
  kClearWordsButton = 1022,
};

}  // namespace velomar::kashi_edit_ids
