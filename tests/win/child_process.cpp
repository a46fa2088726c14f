#include "tests/win/child_process.h"

#include <atomic>
#include <thread>

#include "tests/win/bench.h"
#include "tests/win/media.h"

namespace velomar::test {
namespace {

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
};

// The child's end is inheritable; ours is not, so the child's exit closes
// the pipe and our reads see its end.
Pipe MakePipe(bool childReads) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  Pipe pipe;
  if (!CreatePipe(&pipe.read, &pipe.write, &inherit, 0)) return Pipe{};
  SetHandleInformation(childReads ? pipe.write : pipe.read, HANDLE_FLAG_INHERIT, 0);
  return pipe;
}

void CloseIf(HANDLE& handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = nullptr;
}

void ReadAll(HANDLE from, std::string* into) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(from, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    into->append(buffer, got);
}

bool Start(std::string commandLine, HANDLE in, HANDLE out, HANDLE err, PROCESS_INFORMATION* info) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, info) != 0;
}

HANDLE InheritableNul() {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  return CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

ChildResult RunCapturing(const std::string& commandLine, DWORD ms) {
  ChildResult result;
  Pipe out = MakePipe(false);
  Pipe err = MakePipe(false);
  HANDLE nul = InheritableNul();
  PROCESS_INFORMATION info{};
  const bool started = Start(commandLine, nul, out.write, err.write, &info);
  CloseIf(out.write);
  CloseIf(err.write);
  CloseIf(nul);
  if (!started) {
    CloseIf(out.read);
    CloseIf(err.read);
    result.err = "cannot start: " + commandLine;
    return result;
  }
  std::thread outReader(ReadAll, out.read, &result.out);
  std::thread errReader(ReadAll, err.read, &result.err);
  result.finished = WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0;
  if (!result.finished) TerminateProcess(info.hProcess, 99);
  WaitForSingleObject(info.hProcess, 5000);
  GetExitCodeProcess(info.hProcess, &result.exitCode);
  outReader.join();
  errReader.join();
  CloseIf(out.read);
  CloseIf(err.read);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return result;
}

std::string LyricsToolPath() { return WindowsPath(VELOMAR_LYRICS_TOOL); }

FileHolder::FileHolder(const std::string& path) {
  Pipe toChild = MakePipe(true);
  Pipe fromChild = MakePipe(false);
  HANDLE nul = InheritableNul();
  const std::string command = "\"" + WindowsPath(VELOMAR_HOLDFILE_EXE) + "\" \"" + path + "\"";
  const bool started = Start(command, toChild.read, fromChild.write, nul, &info_);
  CloseIf(toChild.read);
  CloseIf(fromChild.write);
  CloseIf(nul);
  toChild_ = toChild.write;
  if (!started) said_ = "<cannot start: " + command + ">";
  if (started) {
    // The holder writes one word once its open has succeeded or failed.
    std::string& said = said_;
    WaitUntil(
        [&] {
          DWORD ready = 0;
          if (!PeekNamedPipe(fromChild.read, nullptr, 0, nullptr, &ready, nullptr)) {
            said += "<pipe error " + std::to_string(GetLastError()) + ">";
            return true;
          }
          if (ready == 0) return false;
          char buffer[64];
          DWORD got = 0;
          if (ReadFile(fromChild.read, buffer, sizeof(buffer), &got, nullptr))
            said.append(buffer, got);
          return said.find('\n') != std::string::npos;
        },
        10000);
    // The C runtime writes its text-mode line end, CR LF.
    holding_ = said.rfind("held", 0) == 0;
  }
  CloseIf(fromChild.read);
}

FileHolder::~FileHolder() {
  // Closing its input tells the holder to let go and end.
  CloseIf(toChild_);
  if (info_.hProcess != nullptr) {
    if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
}

std::string UnixPath(const std::string& windowsPath) {
  std::string path = windowsPath;
  if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string RunUnixShell(const std::string& script, DWORD ms) {
  static std::atomic<int> sequence{0};
  const std::string base = ScratchDir() + "\\sh" + std::to_string(++sequence);
  const std::string answer = base + ".out";
  // The answer appears in one step (rename), never half written.
  // A subshell, so that an exit in the script still leaves the answer.
  const std::string wrapper = "PATH=/usr/sbin:/usr/bin:/sbin:/bin\n(\n" + script + "\n) >'" +
                              UnixPath(base) + ".tmp' 2>&1 </dev/null\nmv '" + UnixPath(base) +
                              ".tmp' '" + UnixPath(answer) + "'\n";
  if (!WriteBytes(base + ".sh", wrapper)) return "<no script>";
  HANDLE nul = InheritableNul();
  PROCESS_INFORMATION info{};
  const bool started = Start("Z:\\bin\\sh " + UnixPath(base) + ".sh", nul, nul, nul, &info);
  CloseIf(nul);
  if (!started) return "<not started>";
  CloseIf(info.hThread);
  CloseIf(info.hProcess);
  const bool done =
      WaitUntil([&] { return GetFileAttributesA(answer.c_str()) != INVALID_FILE_ATTRIBUTES; }, ms);
  std::string said = done ? ReadBytes(answer) : std::string("<no answer>");
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
  DeleteFileA(answer.c_str());
  DeleteFileA((base + ".sh").c_str());
  return said;
}

}  // namespace velomar::test
