// Songs and other files the Wine tests hand to the program.
#pragma once

#include <string>

namespace velomar::test {

// A Linux path as the program under Wine sees it (drive Z:).
std::string WindowsPath(const std::string& unixPath);

// Names what this test process leaves beside the executable or in the test
// data: its process id, and the bench it runs on, since the test command runs
// tests on two Wine benches at once and their ids repeat.
std::string ProcessTag();

// A folder of this test process's own (removed files are its business).
std::string ScratchDir();

// A mono 16-bit PCM wave of the given length (a quiet tone).
std::string MakeWave(const std::string& name, int milliseconds);
// A one-track MIDI file with a few notes.
std::string MakeMidi(const std::string& name);
// A file with a song's extension that no MCI driver can open.
std::string MakeBrokenSong(const std::string& name);
// A two-second mp3, made by the build.
std::string Mp3Song();

// Whole file as bytes; "" when it cannot be read.
std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);

// A lyric file the forms save lands beside the running executable; each
// test names its own and removes it again.
struct LyricFileBeside {
  std::string name;
  std::string path;
  explicit LyricFileBeside(const std::string& tag, const char* extension = ".tolvenkari");
  ~LyricFileBeside() { Remove(); }
  void Remove() const;
  bool Exists() const;
};

}  // namespace velomar::test
