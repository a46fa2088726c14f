// The platform's own file system behind the lyric file code's interface:
// Win32 in the Windows builds (win32_files.cpp), POSIX natively
// (posix_files.cpp). The lyric file code never reaches it by itself: the
// layers above hand it in.
#pragma once

#include "lyrics/byte_stream.h"

namespace velomar {

LyricFileSystem& PlatformFileSystem();

}  // namespace velomar
