#include "tests/win/media.h"

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace velomar::test {
namespace {

void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}
void Put32Be(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
  std::string path = unixPath;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string ProcessTag() {
  std::string tag = std::to_string(GetCurrentProcessId());
  // scripts/wine-env names the bench by its folder.
  char bench[MAX_PATH] = "";
  const DWORD got = GetEnvironmentVariableA("VELOMAR_BENCH", bench, MAX_PATH);
  if (got > 0 && got < MAX_PATH) {
    const std::string folder = bench;
    tag += "-" + folder.substr(folder.find_last_of('/') + 1);
  }
  return tag;
}

std::string ScratchDir() {
  static std::string dir;
  if (dir.empty()) {
    const std::string base = WindowsPath(VELOMAR_TESTDATA);
    CreateDirectoryA(base.c_str(), nullptr);
    dir = base + "\\run" + ProcessTag();
    CreateDirectoryA(dir.c_str(), nullptr);
  }
  return dir;
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::string MakeWave(const std::string& name, int milliseconds) {
  const std::uint32_t rate = 8000;
  const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
  std::string wav = "RIFF";
  Put32(wav, 36 + samples * 2);
  wav += "WAVEfmt ";
  Put32(wav, 16);
  Put16(wav, 1);  // PCM
  Put16(wav, 1);  // mono
  Put32(wav, rate);
  Put32(wav, rate * 2);
  Put16(wav, 2);
  Put16(wav, 16);
  wav += "data";
  Put32(wav, samples * 2);
  for (std::uint32_t i = 0; i < samples; ++i) {
    const double v = 3000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate);
    Put16(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }
  const std::string path = ScratchDir() + "\\" + name;
  WriteBytes(path, wav);
  return path;
}

std::string MakeMidi(const std::string& name) {
  std::string track;
  const unsigned char notes[] = {60, 62, 64, 65, 67};
  for (unsigned char note : notes) {
    track += std::string{'\x00', '\x90', static_cast<char>(note), '\x50'};
    track += std::string{'\x83', '\x60', '\x80', static_cast<char>(note), '\x00'};  // 480 ticks
  }
  track += std::string{'\x00', '\xFF', '\x2F', '\x00'};
  std::string midi = "MThd";
  Put32Be(midi, 6);
  midi += std::string{'\x00', '\x00', '\x00', '\x01', '\x01', '\xE0'};  // format 0, 1 track, 480
  midi += "MTrk";
  Put32Be(midi, static_cast<std::uint32_t>(track.size()));
  midi += track;
  const std::string path = ScratchDir() + "\\" + name;
  WriteBytes(path, midi);
  return path;
}

std::string MakeBrokenSong(const std::string& name) {
  const std::string path = ScratchDir() + "\\" + name;
  WriteBytes(path, std::string("this is not a song at all\r\n", 27));
  return path;
}

std::string Mp3Song() { return WindowsPath(std::string(VELOMAR_TESTDATA) + "/tone2s.mp3"); }

LyricFileBeside::LyricFileBeside(const std::string& tag, const char* extension)
    : name("kashi" + ProcessTag() + tag) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  path = std::string(exe) + name + extension;
  Remove();
}

void LyricFileBeside::Remove() const { DeleteFileA(path.c_str()); }

bool LyricFileBeside::Exists() const {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace velomar::test
