#include "app/lyric_store.h"

namespace velomar {

LyricTable Lyrics;

}  // namespace velomar
