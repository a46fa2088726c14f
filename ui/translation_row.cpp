#include "ui/translation_row.h"

#include "ui/lyric_store.h"

namespace velomar {

namespace {

// The window's outer height by `dy`; a minimised window keeps the change
// for when it is restored.
void Grow(HWND window, int dy) {
  if (IsIconic(window)) {
    WINDOWPLACEMENT place{};
    place.length = sizeof(place);
    GetWindowPlacement(window, &place);
    place.rcNormalPosition.bottom += dy;
    place.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(window, &place);
    return;
  }
  RECT r{};
  GetWindowRect(window, &r);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool LayOutTranslationRow(HWND window, const ControlSpec* rows, std::size_t count,
                          const ControlSpec& label, int shift, bool wanted, HFONT font) {
  HWND present = GetDlgItem(window, label.id);
  if ((present != nullptr) == wanted) return wanted;
  if (wanted) {
    CreateControl(window, label, font);
  } else {
    DestroyWindow(present);
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (rows[i].y < label.y) continue;
    SetWindowPos(GetDlgItem(window, rows[i].id), nullptr, rows[i].x,
                 rows[i].y + (wanted ? shift : 0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Grow(window, wanted ? shift : -shift);
  return wanted;
}

void ShowLyricEntry(HWND window, int lineId, int rowId, int entry) {
  const LyricTable& table = Lyrics.Table();
  SetControlTextUtf8(window, lineId, table.phrase[entry]);
  if (rowId != 0) SetControlTextUtf8(window, rowId, FirstRow(table, entry));
}

}  // namespace velomar
