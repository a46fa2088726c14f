// The press offset form (打鍵の補正): its controls by id, as the program's
// tools and tests reach them.
#pragma once

namespace velomar::press_offset_ids {

enum PressOffsetControl : int {
  kBeatButton = 1000,
  kLagLabel = 1001,
  kOffsetBox = 1002,
  kOkButton = 1003,
  kCancelButton = 1004,
  kOffsetCaption = 1005,
};

}  // namespace velomar::press_offset_ids
