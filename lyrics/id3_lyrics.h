// Timed lyrics carried inside an mp3's ID3v2 tag, read as LRC so that the
// LRC rules (offset, joins, sorting, limits, replaced characters) apply to
// them unchanged.
#pragma once

#include <string>
#include <vector>

#include "lyrics/byte_stream.h"
#include "lyrics/lrc_convert.h"

namespace velomar {

// The timed lyrics of the tag at the start of `song` as LRC bytes and the
// encoding to read them in (id3_lyrics.cpp tells which frame is taken and
// how). False, with an error note, when there is no tag, the tag is bad or it
// holds no timed lyrics. Reads at most the tag, and after it, only for times
// in MPEG frames, the first audio frame header.
bool ReadId3Lyrics(ByteSource& song, std::string& lrc, LrcEncoding& encoding, Notes& notes);

// The records those lyrics become, as LrcToRecords gives them; false, with
// error notes, when there are none or the LRC read refuses them.
bool Mp3LyricsToRecords(ByteSource& song, std::vector<LyricRecord>& records, Notes& notes,
                        LrcPhrases kept = LrcPhrases::kShiftJis);

}  // namespace velomar
