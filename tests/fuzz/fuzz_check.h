// The fuzz targets' check: a broken invariant aborts, which libFuzzer and the
// corpus replay both report.
#pragma once

#include <cstdlib>

namespace velomar::fuzzing {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace velomar::fuzzing
