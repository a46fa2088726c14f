// velomar-lyrics: looks at lyric files the way the program reads them, and
// converts them to and from LRC and out of an mp3's tag.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/lyrics_commands.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
};

const Command kCommands[] = {
    {"dump", "dump FILE    print entries 0..3000 as index<TAB>time<TAB>phrase",
     velomar::DumpCommand},
    {"to-lrc", velomar::kToLrcUsage, velomar::ToLrcCommand},
    {"from-lrc", velomar::kFromLrcUsage, velomar::FromLrcCommand},
    {"from-mp3", velomar::kFromMp3Usage, velomar::FromMp3Command},
    {"to-srt", velomar::kToSrtUsage, velomar::ToSrtCommand},
    {"to-ass", velomar::kToAssUsage, velomar::ToAssCommand},
};

int Usage() {
  std::fputs("usage: velomar-lyrics COMMAND ARGS...\ncommands:\n", stderr);
  for (const Command& command : kCommands) std::fprintf(stderr, "  %s\n", command.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Phrases are raw bytes: no CR may be added before LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc < 2) return Usage();
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) {
      return command.run(std::vector<std::string>(argv + 2, argv + argc), stdout, stderr);
    }
  }
  return Usage();
}
