#include "ui/lyric_store.h"

#include "ui/form_host.h"

namespace velomar {

LyricTable Lyrics;

bool MayLoseUnsavedAdds(HWND owner) {
  if (!Lyrics.AddsUnsaved) return true;
  return ShowMessageBox(owner,
                        "登録した歌詞はまだ保存されていません。\r\n"
                        "終了すると失われますが、よろしいですか?",
                        "終了の確認", MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool MayReplaceUnsavedAdds(HWND owner) {
  if (!Lyrics.AddsUnsaved || !OnScreen(KashiWindow)) return true;
  return ShowMessageBox(owner,
                        "登録した歌詞はまだ保存されていません。\r\n"
                        "読み込むと置き換えられますが、よろしいですか?",
                        "歌詞の読み込みの確認", MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace velomar
