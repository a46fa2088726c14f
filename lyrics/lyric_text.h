// The lyrics hold every phrase as Unicode (UTF-8); a lyric file holds
// Shift-JIS. This is where a phrase crosses between them, both ways, so that
// a file read and saved again keeps its bytes, and a character the file
// cannot hold is refused instead of being written as "?".
#pragma once

#include <string>

#include "lyrics/lyric_table.h"

namespace velomar {

// A lyric file's phrase as text: its characters in UTF-8, U+FFFD for each
// byte that is no character of code page 932.
std::string PhraseFromFile(const std::string& sjis);

// Entry `index` of a table being read from a lyric file (its phrase still
// the file's bytes) made an entry of the lyrics: the phrase in UTF-8, and
// the bytes kept as its original where the text would not give them back.
void TakeFromFile(LyricTable& table, int index);

// The line as one phrase: its translation rows joined in after " / ", as
// a lyric file holds them, which has no rows of its own.
std::string ShownPhrase(const LyricTable& lyrics, int index);

// The bytes a lyric file holds for the phrase of entry `index` (its rows
// joined in): the bytes it
// was read from while it still reads as them (codes Unicode merges, bytes
// that are no character come back as they were), else its text in
// Shift-JIS. False when the text holds a character Shift-JIS lacks.
bool PhraseForFile(const LyricTable& lyrics, int index, std::string& sjis);

// Entries 0..count-1 of the lyrics as a lyric file's table (its counters
// say `count` added). The first entry whose phrase a lyric file cannot
// hold, -1 when there is none; `file` is then complete.
int ToFileTable(const LyricTable& lyrics, int count, LyricTable& file);

}  // namespace velomar
