// The to-srt and to-ass commands: a lyric file or an LRC, loaded as the
// program loads it, written as subtitles (subtitle_write.h).
#include <cstdint>

#include "lyrics/byte_stream.h"
#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_file.h"
#include "lyrics/memory_stream.h"
#include "lyrics/subtitle_write.h"
#include "tools/lyrics_commands.h"

namespace velomar {

const char kToSrtUsage[] =
    "to-srt IN.tolvenkari|IN.lrc OUT.srt\n"
    "      write the lyrics of IN (an LRC when it ends in .lrc) as SRT subtitles:\n"
    "      one cue a line from its time to the next line's, its end stamp, or\n"
    "      8 s at most; translation rows as further text lines; UTF-8 without\n"
    "      BOM, CR LF. Lines not after the line before are left out and named";

const char kToAssUsage[] =
    "to-ass IN.tolvenkari|IN.lrc OUT.ass\n"
    "      write the lyrics of IN as ASS subtitles, the times as to-srt gives\n"
    "      them, each word filled in time ({\\kf}) where the line has word\n"
    "      stamps; translation rows on a style of their own under the line;\n"
    "      UTF-8 with BOM, CR LF";

namespace {

using Write = std::string (*)(const LyricTable& lyrics, const std::vector<SubtitleCue>& cues);

int RunExport(const std::vector<std::string>& args, const char* usage, Write write, std::FILE* out,
              std::FILE* err) {
  if (args.size() != 2) {
    std::fprintf(err, "usage: velomar-lyrics %s\n", usage);
    return 2;
  }
  const std::string& inPath = args[0];
  const std::string& outPath = args[1];
  std::string in;
  if (!ReadCommandInput(inPath, in, err)) return 1;
  MemorySource source(in);
  LyricDocument doc;
  Notes notes;
  const bool loaded = LoadDocument(doc, &source, IsLrcPath(inPath), nullptr, notes);
  std::vector<SubtitleCue> cues;
  if (loaded) cues = SubtitleCues(doc.Table(), notes);
  for (const Note& note : notes) {
    std::fprintf(err, "velomar-lyrics: %s: %s\n", inPath.c_str(), note.text.c_str());
  }
  const std::string bytes = loaded ? write(doc.Table(), cues) : std::string();
  return WriteCommandOutput(loaded, outPath, bytes, cues.size(), "lines", out, err);
}

}  // namespace

int ToSrtCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  return RunExport(args, kToSrtUsage, SrtBytes, out, err);
}

int ToAssCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  return RunExport(args, kToAssUsage, AssBytes, out, err);
}

}  // namespace velomar
