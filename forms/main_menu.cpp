// The main window's 設定 menu: its items, their order and their ids.
#include "forms/main_window.h"
#include "ui/shell.h"

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

const struct {
  UINT id;
  const char* text;
  SongSpeed speed;
} kSpeeds[] = {{kMenuSpeedFull, "100%", SongSpeed::Full},
               {kMenuSpeedThreeQuarters, "75%", SongSpeed::ThreeQuarters},
               {kMenuSpeedHalf, "50%", SongSpeed::Half}};

// 再生速度 and its three speeds, 100% checked as at every start.
void InsertSpeedMenu(HMENU menu) {
  const HMENU speeds = CreatePopupMenu();
  for (const auto& speed : kSpeeds) {
    AppendMenuA(speeds, MF_STRING | (speed.speed == SongSpeed::Full ? MF_CHECKED : 0), speed.id,
                speed.text);
  }
  MENUITEMINFOA item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_TYPE | MIIM_SUBMENU;
  item.fType = MFT_STRING;
  item.hSubMenu = speeds;
  item.dwTypeData = const_cast<char*>("再生速度");
  InsertMenuItemA(menu, 0, TRUE, &item);
}

}  // namespace

void FillSettingsMenu(HMENU menu) {
  InsertSpeedMenu(menu);
  InsertAtTop(menu, 0, nullptr);
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

void ShowSpeedMenu(SongSpeed speed, bool slowerAllowed) {
  const HMENU menu = Shell().SettingsMenu;
  if (menu == nullptr) return;
  // By command: the items are found inside 再生速度.
  for (const auto& item : kSpeeds) {
    CheckMenuItem(menu, item.id, MF_BYCOMMAND | (item.speed == speed ? MF_CHECKED : MF_UNCHECKED));
    const bool allowed = slowerAllowed || item.speed == SongSpeed::Full;
    EnableMenuItem(menu, item.id, MF_BYCOMMAND | (allowed ? MF_ENABLED : MF_GRAYED));
  }
}

}  // namespace velomar
