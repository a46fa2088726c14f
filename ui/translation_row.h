// The row under a lyric line that shows the first translation of the line
// shown. Its label exists only while the lyrics hold a translation, so that
// without one the window keeps exactly the controls and size it has always
// had; with one the window grows by `shift` and every control at or below
// the label moves down as much.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/controls.h"

namespace velomar {

// Makes or takes away `label` (created after the window's `rows`) as `wanted`
// says and places the rows from their table; returns whether it is there.
bool LayOutTranslationRow(HWND window, const ControlSpec* rows, std::size_t count,
                          const ControlSpec& label, int shift, bool wanted, HFONT font);
template <std::size_t N>
bool LayOutTranslationRow(HWND window, const ControlSpec (&rows)[N], const ControlSpec& label,
                          int shift, bool wanted, HFONT font) {
  return LayOutTranslationRow(window, rows, N, label, shift, wanted, font);
}

// Entry `entry` of the lyrics in a window: its phrase in `lineId`, its first
// translation row in `rowId` (0 while the window shows no row).
void ShowLyricEntry(HWND window, int lineId, int rowId, int entry);

}  // namespace velomar
