// The velomar-lyrics commands called in-process on files in a scratch
// directory, for the tests of the LRC conversion.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/lyrics_commands.h"

namespace velomar::lrc_testing {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Command = int (*)(const std::vector<std::string>&, std::FILE*, std::FILE*);

struct Outcome {
  int code;
  std::string out;  // stdout, and stderr below, with the paths as IN and OUT
  std::string err;
  std::string written;  // OUT afterwards, "(none)" when there is no such file
  bool strayFiles;      // anything else left beside IN, OUT and the two
};

// `command OPTIONS.. IN OUT` with IN holding `input` and OUT, when given,
// `before`.
inline Outcome Convert(Command command, const std::string& input, const char* before = nullptr,
                       std::vector<std::string> options = {}) {
  TempDir dir;
  const std::string in = dir.File("in"), out = dir.File("out");
  WriteBytes(in, input);
  if (before != nullptr) WriteBytes(out, before);
  std::FILE* stdoutFile = std::fopen(dir.File("stdout").c_str(), "wb");
  std::FILE* stderrFile = std::fopen(dir.File("stderr").c_str(), "wb");
  options.insert(options.end(), {in, out});
  Outcome run{command(options, stdoutFile, stderrFile), "", "", "(none)", false};
  std::fclose(stdoutFile);
  std::fclose(stderrFile);
  run.out = ReadBytes(dir.File("stdout"));
  run.err = ReadBytes(dir.File("stderr"));
  for (std::string* text : {&run.out, &run.err}) {
    for (const auto& [path, name] : {std::pair(in, "IN"), std::pair(out, "OUT")}) {
      for (std::size_t i; (i = text->find(path)) != std::string::npos;)
        text->replace(i, path.size(), name);
    }
  }
  if (std::filesystem::exists(out)) run.written = ReadBytes(out);
  const std::filesystem::directory_iterator files(dir.path());
  run.strayFiles = std::distance(begin(files), end(files)) != 4 - (run.written == "(none)");
  return run;
}

inline std::string Fixture(const std::string& name) {
  return ReadBytes(VELOMAR_LRC_FIXTURES "/" + name);
}

inline std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

}  // namespace velomar::lrc_testing
