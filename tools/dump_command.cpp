#include <memory>

#include "lyrics/lyric_file.h"
#include "lyrics/number_text.h"
#include "system/platform_files.h"
#include "tools/lyrics_commands.h"

namespace velomar {

std::string DumpText(const LyricTable& table) {
  std::string text;
  for (int i = 0; i < kLyricEntries; ++i) {
    text += NumberText(i);
    text += '\t';
    text += NumberText(table.time[i]);
    text += '\t';
    // Bytewise on purpose: a 0x5C trail byte of a Shift-JIS character is
    // escaped too, so every line reads back the same in any encoding.
    for (char c : table.phrase[i]) {
      switch (c) {
        case '\r': text += "\\r"; break;
        case '\n': text += "\\n"; break;
        case '\t': text += "\\t"; break;
        case '\\': text += "\\\\"; break;
        default: text += c;
      }
    }
    text += '\n';
  }
  return text;
}

int DumpCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  if (args.size() != 1) {
    std::fputs("usage: velomar-lyrics dump FILE\n", err);
    return 2;
  }
  const std::string& path = args[0];
  LyricFileSystem& files = PlatformFileSystem();
  // The load itself stays silent on a missing file, as the program does; the
  // tool must say so instead of printing an untouched table.
  if (files.OpenRead(path) == nullptr) {
    std::fprintf(err, "velomar-lyrics: cannot open %s\n", path.c_str());
    return 1;
  }
  auto table = std::make_unique<LyricTable>();
  LoadLyricFile(*table, path, nullptr, files);
  const std::string text = DumpText(*table);
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
    std::fputs("velomar-lyrics: cannot write the output\n", err);
    return 1;
  }
  return 0;
}

}  // namespace velomar
