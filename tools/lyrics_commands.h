// The commands of the velomar-lyrics tool, one function each so that the
// tool's main only dispatches.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "lyrics/lyric_table.h"

namespace velomar {

// Every entry 0..3000 as "index<TAB>time<TAB>phrase" lines; the phrase bytes
// CR, LF, TAB and 0x5C are written as \r, \n, \t and \\.
std::string DumpText(const LyricTable& table);

// `dump FILE`: loads FILE into a fresh table with the program's reader and
// prints DumpText. Returns the process exit code.
int DumpCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace velomar
