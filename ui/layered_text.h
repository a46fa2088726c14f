// The picture of a layered window that shows lyrics over the desktop: a
// line large with an outline, so that it reads on any background, a row
// smaller under it, and a karaoke fill over the line. Drawn into a 32-bit
// top-down DIB with premultiplied alpha and handed to UpdateLayeredWindow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/owned.h"

namespace velomar {

class LayeredText {
 public:
  // Lays the texts out for a window of this size and draws what they cover
  // once, so that a frame of the fill only mixes colours. Call when a text
  // or the size changes.
  void Layout(int width, int height, const std::wstring& line, const std::wstring& row);
  // The x of the line's UTF-16 offset `units`, in window pixels.
  double LineX(std::size_t units) const;
  // Shows the picture in `window`, whose laid-out area has its top left at
  // `origin` on the screen: the line sung up to x `sungTo` (below the line's
  // left end: none of it), over a black backdrop of alpha `backdrop`. With
  // no backdrop the desktop shows between the letters, and the window
  // shrinks to what the texts cover: Wine's work for each frame of a layered
  // window grows with its area, not with the part that changed.
  void Show(HWND window, POINT origin, double sungTo, BYTE backdrop);

 private:
  // Draws `text` centred at `top` in `font`: its outline into the red
  // channel, the letters into red and green; returns its extents.
  void DrawMask(const std::wstring& text, int size, int top, std::vector<int>* extents);

  // The bounds of what the mask covers.
  RECT Covered() const;
  // Mixes the colours of `dirty` in the picture.
  void Paint(const RECT& dirty, double sungTo, BYTE backdrop);
  // Hands the window what changed of `part` of the picture, standing at
  // `place` on the screen: all of it when it moved.
  void HandOver(HWND window, const RECT& part, const RECT& place, const RECT& dirty, bool moved);

  int width_ = 0;
  int height_ = 0;
  // Per pixel, red: the letters with their outline, green: the letters.
  std::vector<std::uint32_t> mask_;
  int lineTop_ = 0, lineBottom_ = 0;
  // What the texts cover, with the outline; empty without texts.
  RECT covered_{};
  double lineLeft_ = 0;
  std::vector<int> lineExtents_;
  BitmapOwner bitmap_;
  // Declared after the bitmap, so that it goes first and lets it go.
  MemoryDcOwner dc_;
  std::uint32_t* bits_ = nullptr;
  // What the window holds: nothing since the last layout, or the picture
  // with the line sung up to `shownSung_` over `shownBackdrop_`.
  // The window then stood at `shownPlace_` on the screen.
  bool shown_ = false;
  double shownSung_ = 0;
  BYTE shownBackdrop_ = 0;
  RECT shownPlace_{};
};

}  // namespace velomar
