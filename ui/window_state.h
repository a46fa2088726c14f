// What one window keeps for itself: made as the window is created, held in
// its GWLP_USERDATA and deleted as the window is destroyed, so that nothing
// of one opening outlives it or leaks into the next.
#pragma once

#include <windows.h>

#include <memory>

namespace velomar {

template <typename State>
State& MakeWindowState(HWND window) {
  auto state = std::make_unique<State>();
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.get()));
  return *state.release();
}

// Null for a window that has none (not made yet, or already gone).
template <typename State>
State* WindowState(HWND window) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

template <typename State>
void DropWindowState(HWND window) {
  std::unique_ptr<State> state(WindowState<State>(window));
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

}  // namespace velomar
