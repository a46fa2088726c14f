// Move-only owners for Win32 objects: each object has exactly one owner, and
// the owner frees it when it is reset or goes away.
#pragma once

#include <windows.h>

#include <utility>

namespace velomar {

template <typename T, auto Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(other.Release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  T Release() { return std::exchange(handle_, nullptr); }
  void Reset(T handle = nullptr) {
    if (handle_ != nullptr) Free(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void CloseKernelObject(HANDLE object) { CloseHandle(object); }

using FontOwner = Owned<HFONT, DeleteGdiObject>;
using BrushOwner = Owned<HBRUSH, DeleteGdiObject>;
using BitmapOwner = Owned<HBITMAP, DeleteGdiObject>;
using MemoryDcOwner = Owned<HDC, DeleteMemoryDc>;
using EventOwner = Owned<HANDLE, CloseKernelObject>;

}  // namespace velomar
