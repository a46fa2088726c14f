// The to-lrc, from-lrc and from-mp3 commands: files in and out around the
// LRC conversion in lyrics/. Either the whole output is written or none of it.
#include <cstdint>

#include "lyrics/byte_stream.h"
#include "lyrics/id3_lyrics.h"
#include "lyrics/lrc_convert.h"
#include "lyrics/memory_stream.h"
#include "lyrics/number_text.h"
#include "lyrics/whole_file.h"
#include "system/platform_files.h"
#include "tools/lyrics_commands.h"

namespace velomar {

const char kToLrcUsage[] =
    "to-lrc IN.tolvenkari OUT.lrc\n"
    "      write the records of lyric file IN as LRC: one [mm:ss.xx]phrase line\n"
    "      each, in file order, in UTF-8 without BOM with LF line ends. Writes\n"
    "      nothing for a negative time, a phrase that is not Shift-JIS, or one\n"
    "      that holds a [m:ss] timestamp or a <m:ss> word timestamp; warns of\n"
    "      what from-lrc would not give back as it stands: blanks at either end\n"
    "      of a phrase, a time not after the one before";

const char kFromLrcUsage[] =
    "from-lrc [--encoding utf-8|shift-jis|utf-16le|utf-16be|windows-1252|\n"
    "         windows-1251] IN.lrc OUT.tolvenkari\n"
    "      write LRC file IN as a lyric file: Shift-JIS, CR LF, the bytes the\n"
    "      program saves. IN's encoding: a byte order mark picks UTF-8, UTF-16 LE\n"
    "      or UTF-16 BE; without one, NULs mean UTF-16, valid UTF-8 with any\n"
    "      character beyond ASCII is UTF-8; then Shift-JIS when it holds kana or\n"
    "      reads as Japanese, Windows-1252 for Western text, Windows-1251 for\n"
    "      Cyrillic text, and else any valid Shift-JIS;\n"
    "      --encoding forces one. Characters Shift-JIS cannot store are replaced,\n"
    "      accented letters by their base letters, others by ?, and counted on\n"
    "      stderr with their lines. [offset:ms] is applied (positive: sooner).\n"
    "      Times round to the nearest 100 ms tick, halves up; one record per\n"
    "      leading [m:ss.xx] or [m:ss:xx] stamp, and lines sharing a stamp are\n"
    "      joined with \" / \"; records are sorted by time; tags and word stamps\n"
    "      are left out; a tick not after the one before is moved one tick past\n"
    "      it and reported. Writes nothing for a NUL, more than 3001 records,\n"
    "      records of more than 8 MB together, or no timed line at all";

const char kFromMp3Usage[] =
    "from-mp3 SONG.mp3 OUT.tolvenkari|OUT.lrc\n"
    "      write the timed lyrics in SONG's ID3v2 tag: its first SYLT frame of\n"
    "      lyrics (times in milliseconds or MPEG frames), else a USLT frame whose\n"
    "      text holds LRC timestamps, read as from-lrc reads LRC. OUT ending in\n"
    "      .lrc is written as to-lrc writes, any other as from-lrc writes. Writes\n"
    "      nothing for no tag, a bad tag, or a tag without timed lyrics";

namespace {

void PrintNotes(const Notes& notes, const std::string& path, std::FILE* err) {
  for (const Note& note : notes) {
    std::fprintf(err, "velomar-lyrics: %s: %s\n", path.c_str(), note.text.c_str());
  }
}

using Convert = bool (*)(const std::string& in, LrcEncoding encoding, std::string& out,
                         std::size_t& count, Notes& notes);

}  // namespace

bool ReadCommandInput(const std::string& inPath, std::string& in, std::FILE* err) {
  if (ReadWholeFile(PlatformFileSystem(), inPath, in)) return true;
  std::fprintf(err, "velomar-lyrics: cannot open %s\n", inPath.c_str());
  return false;
}

int WriteCommandOutput(bool ok, const std::string& outPath, const std::string& bytes,
                       std::size_t count, const char* what, std::FILE* out, std::FILE* err) {
  if (!ok) {
    std::fprintf(err, "velomar-lyrics: nothing written to %s\n", outPath.c_str());
    return 1;
  }
  if (!WriteWholeFile(PlatformFileSystem(), outPath, bytes)) {
    std::fprintf(err, "velomar-lyrics: cannot write %s\n", outPath.c_str());
    return 1;
  }
  std::fprintf(out, "%s: %s %s\n", outPath.c_str(),
               NumberText(static_cast<std::int64_t>(count)).c_str(), what);
  return 0;
}

namespace {

// Reads IN, converts it, and writes OUT only when all went well. `--encoding`
// is taken only where the conversion reads LRC.
int RunConversion(std::vector<std::string> args, const char* usage, Convert convert, bool readsLrc,
                  std::FILE* out, std::FILE* err) {
  LrcEncoding encoding = LrcEncoding::kDetect;
  if (readsLrc && args.size() == 4 && args[0] == "--encoding" &&
      ParseLrcEncoding(args[1], encoding)) {
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 2) {
    std::fprintf(err, "usage: velomar-lyrics %s\n", usage);
    return 2;
  }
  const std::string& inPath = args[0];
  const std::string& outPath = args[1];
  std::string in;
  if (!ReadCommandInput(inPath, in, err)) return 1;
  std::string converted;
  std::size_t count = 0;
  Notes notes;
  const bool ok = convert(in, encoding, converted, count, notes);
  PrintNotes(notes, inPath, err);
  return WriteCommandOutput(ok, outPath, converted, count, "records", out, err);
}

bool FileToLrc(const std::string& in, LrcEncoding, std::string& out, std::size_t& count,
               Notes& notes) {
  const std::vector<LyricRecord> records = RecordsInFile(in);
  count = records.size();
  NoteBlanksLost(in, notes);
  return RecordsToLrc(records, out, notes);
}

// The song's lyric records written by `write`, the lyric file's writer
// (Shift-JIS) or the LRC one (every character).
template <LrcPhrases kept, bool (*write)(const std::vector<LyricRecord>&, std::string&, Notes&)>
bool Mp3To(const std::string& song, LrcEncoding, std::string& out, std::size_t& count,
           Notes& notes) {
  MemorySource source(song);
  std::vector<LyricRecord> records;
  if (!Mp3LyricsToRecords(source, records, notes, kept)) return false;
  count = records.size();
  return write(records, out, notes);
}

bool WriteLrc(const std::vector<LyricRecord>& records, std::string& out, Notes& notes) {
  return RecordsToLrc(records, out, notes, LrcPhrases::kUnicode);
}

bool WriteLyricFile(const std::vector<LyricRecord>& records, std::string& out, Notes&) {
  out = LyricFileBytes(records);
  return true;
}

}  // namespace

int ToLrcCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  return RunConversion(args, kToLrcUsage, FileToLrc, false, out, err);
}

int FromLrcCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  return RunConversion(args, kFromLrcUsage, LrcToLyricFile, true, out, err);
}

int FromMp3Command(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const bool lrc = !args.empty() && IsLrcPath(args.back());
  return RunConversion(
      args, kFromMp3Usage,
      lrc ? Mp3To<LrcPhrases::kUnicode, WriteLrc> : Mp3To<LrcPhrases::kShiftJis, WriteLyricFile>,
      false, out, err);
}

}  // namespace velomar
