// Other programs a Wine test starts beside the program under test: the
// Windows build of velomar-lyrics, a process that holds a file open, and
// Unix commands the bench needs (mounts) run through Wine's Z: drive.
#pragma once

#include <windows.h>

#include <string>

namespace velomar::test {

struct ChildResult {
  bool finished = false;  // ended within the time allowed
  DWORD exitCode = 0;
  std::string out;  // stdout bytes, untouched
  std::string err;
};

// Runs a Windows console program, collecting its stdout and stderr; a
// program still running after `ms` is ended and reported unfinished.
ChildResult RunCapturing(const std::string& commandLine, DWORD ms = 60000);

// The Windows path of the velomar-lyrics tool this build made.
std::string LyricsToolPath();

// A separate process that keeps one file open with no sharing at all, as
// another program reading it would, until this object goes away.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path);
  ~FileHolder();
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;
  // True once the other process has reported the file open.
  bool holding() const { return holding_; }
  // What the other process said, for a failure message.
  const std::string& said() const { return said_; }

 private:
  PROCESS_INFORMATION info_{};
  HANDLE toChild_ = nullptr;
  bool holding_ = false;
  std::string said_;
};

// Runs `script` with /bin/sh as a Unix process and waits up to `ms` for its
// end. Returns what the script printed to stdout (trimmed of the last line
// end), or "<no answer>" when it did not finish in time. Wine gives no exit
// code for Unix processes: a script reports through its output.
std::string RunUnixShell(const std::string& script, DWORD ms = 15000);

// The Linux path behind a Z: path, and the other way round.
std::string UnixPath(const std::string& windowsPath);

}  // namespace velomar::test
