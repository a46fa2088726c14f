// A file written whole or not at all, and read whole. The bytes go to a file
// beside the target first, which takes the target's place only once every
// byte is in it, so that a failed write leaves what the target held as it
// was: the lyric file's save, the tool's outputs, the LRC save and the
// settings files all go this way.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "lyrics/byte_stream.h"

namespace velomar {

// The file beside the target is named target + kSavingSuffix.
constexpr char kSavingSuffix[] = ".saving";

// Where a whole file goes: the platform's steps around the file beside the
// target.
class SavePlace {
 public:
  virtual ~SavePlace() = default;
  // Creates or truncates the file beside the target; nullptr when it cannot.
  virtual std::unique_ptr<ByteSink> CreateBeside() = 0;
  // Puts that file in the target's place in one step, replacing any file
  // there.
  virtual bool ReplaceTarget() = 0;
  virtual void RemoveBeside() = 0;
};

// A target named by its path in a LyricFileSystem.
class FileSystemPlace : public SavePlace {
 public:
  FileSystemPlace(LyricFileSystem& files, const std::string& target);
  std::unique_ptr<ByteSink> CreateBeside() override;
  bool ReplaceTarget() override;
  void RemoveBeside() override;

 private:
  LyricFileSystem& files_;
  std::string target_;
  std::string beside_;
};

// Runs `write` on the file beside the target, and puts that file in the
// target's place when `write` and the close succeeded; else removes it.
// `write` runs also when there is no place (nullptr: a name that must not
// be saved) or its file cannot be made, with a sink that refuses every
// byte, so that a progress it shows sees every line either way. Returns
// whether the target now holds what `write` wrote.
bool SaveWhole(SavePlace* place, const std::function<bool(ByteSink&)>& write);

// `bytes` as the whole of the target.
bool WriteWholeFile(SavePlace& place, const std::string& bytes);
bool WriteWholeFile(LyricFileSystem& files, const std::string& path, const std::string& bytes);

// Every byte of the file at `path`; false when it does not open.
bool ReadWholeFile(LyricFileSystem& files, const std::string& path, std::string& bytes);

}  // namespace velomar
