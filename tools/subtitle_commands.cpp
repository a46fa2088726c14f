// The to-srt and to-ass commands: a lyric file or an LRC, loaded as the
// program loads it, written as subtitles (subtitle_write.h).
#include <cstdint>
#include <memory>

#include "lyrics/byte_stream.h"
#include "lyrics/lrc_convert.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_file.h"
#include "lyrics/number_text.h"
#include "lyrics/subtitle_write.h"
#include "lyrics/whole_file.h"
#include "system/platform_files.h"
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
  LyricFileSystem& files = PlatformFileSystem();
  const std::unique_ptr<ByteSource> source = files.OpenRead(inPath);
  if (source == nullptr) {
    std::fprintf(err, "velomar-lyrics: cannot open %s\n", inPath.c_str());
    return 1;
  }
  LyricDocument doc;
  Notes notes;
  const bool loaded = LoadDocument(doc, source.get(), IsLrcPath(inPath), nullptr, notes);
  std::vector<SubtitleCue> cues;
  if (loaded) cues = SubtitleCues(doc.Table(), notes);
  for (const Note& note : notes) {
    std::fprintf(err, "velomar-lyrics: %s: %s\n", inPath.c_str(), note.text.c_str());
  }
  if (!loaded) {
    std::fprintf(err, "velomar-lyrics: nothing written to %s\n", outPath.c_str());
    return 1;
  }
  if (!WriteWholeFile(files, outPath, write(doc.Table(), cues))) {
    std::fprintf(err, "velomar-lyrics: cannot write %s\n", outPath.c_str());
    return 1;
  }
  std::fprintf(out, "%s: %s lines\n", outPath.c_str(),
               NumberText(static_cast<std::int64_t>(cues.size())).c_str());
  return 0;
}

}  // namespace

int ToSrtCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  return RunExport(args, kToSrtUsage, SrtBytes, out, err);
}

int ToAssCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  return RunExport(args, kToAssUsage, AssBytes, out, err);
}

}  // namespace velomar
