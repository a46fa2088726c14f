// The main window's 設定 menu: its items, their order and their ids.
#include "forms/main_window.h"

namespace velomar {

using namespace main_ids;

namespace {

// Entries go in at the top one after the other, so the last comes first.
void InsertAtTop(HMENU menu, UINT id, const char* text) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof(item);
  if (text == nullptr) {
    item.fMask = MIIM_TYPE;
    item.fType = MFT_SEPARATOR;
  } else {
    item.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
    item.fType = MFT_STRING;
    item.fState = 0;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text);
  }
  InsertMenuItemA(menu, 0, TRUE, &item);
}

}  // namespace

void FillSettingsMenu(HMENU menu) {
  InsertAtTop(menu, kMenuPressOffset, "打鍵の補正");
  InsertAtTop(menu, 0, nullptr);
  InsertAtTop(menu, kMenuOverlayUnlock, "デスクトップ歌詞の固定を解除");
  InsertAtTop(menu, kMenuOverlay, "デスクトップ歌詞");
  InsertAtTop(menu, 0, nullptr);
  InsertAtTop(menu, kMenuVersion, "バージョン情報");
  InsertAtTop(menu, 0, nullptr);
  InsertAtTop(menu, kMenuMini, "縮小モード");
  InsertAtTop(menu, 0, nullptr);
  InsertAtTop(menu, kMenuReset, "歌詞がきちんと入力されない場合は押してください");
  InsertAtTop(menu, kMenuKashiEdit, "歌詞の編集");
  InsertAtTop(menu, kMenuKashi, "歌詞の追加");
  InsertAtTop(menu, kMenuKashiList, "歌詞表示");
  // Nothing to unlock until the desktop lyrics show.
  EnableMenuItem(menu, kMenuOverlayUnlock, MF_BYCOMMAND | MF_GRAYED);
}

}  // namespace velomar
