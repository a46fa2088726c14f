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

// `to-lrc IN OUT` and `from-lrc IN OUT`: convert between lyric files and LRC
// (lrc_write.cpp and lrc_read.cpp tell how), writing OUT only when the whole
// conversion succeeds. Problems and moved times go to `err`, a summary line to
// `out`. Return the process exit code.
int ToLrcCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
int FromLrcCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// `from-mp3 SONG OUT`: the timed lyrics of SONG's ID3v2 tag (id3_lyrics.cpp)
// written as from-lrc writes, or as to-lrc writes when OUT ends in ".lrc".
int FromMp3Command(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// `to-srt IN OUT` and `to-ass IN OUT`: the lyrics of a lyric file or an LRC
// (by IN's extension), loaded as the program loads them, written as
// subtitles (subtitle_write.h); lines left out go to `err`.
int ToSrtCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
int ToAssCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// What the converting commands share: IN read whole (false, said on `err`,
// when it does not open), and OUT written whole only when `ok`, with the
// summary line "OUT: N `what`"; each returns the process exit code.
bool ReadCommandInput(const std::string& inPath, std::string& in, std::FILE* err);
int WriteCommandOutput(bool ok, const std::string& outPath, const std::string& bytes,
                       std::size_t count, const char* what, std::FILE* out, std::FILE* err);

// Their usage texts, command line first.
extern const char kToLrcUsage[];
extern const char kFromLrcUsage[];
extern const char kFromMp3Usage[];
extern const char kToSrtUsage[];
extern const char kToAssUsage[];

}  // namespace velomar
