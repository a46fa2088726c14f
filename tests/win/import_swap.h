// Swaps the address of one function in this executable's import table. The
// program is linked into the test executable, so its calls of system
// functions go through that table: a test can watch them there, time them,
// or make them fail.
#pragma once

namespace velomar::test {

class ImportSwap {
 public:
  ImportSwap(const char* dll, const char* function, void* replacement);
  ~ImportSwap();
  ImportSwap(const ImportSwap&) = delete;
  ImportSwap& operator=(const ImportSwap&) = delete;

  bool found() const { return slot_ != nullptr; }
  void* original() const { return original_; }

 private:
  void* Exchange(void* value);

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace velomar::test
