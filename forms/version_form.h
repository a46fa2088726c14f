// The about box (Version Info): its controls by id, as the program's tools and tests reach them.
#pragma once

namespace velomar::version_ids {

enum VersionControl : int {
  kOkButton = 1000,
  kProductLabel = 1004,
  kVersionLabel = 1005,
  kCreditLabel = 1006,
};

}  // namespace velomar::version_ids
