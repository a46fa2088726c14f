#include "ui/lyric_store.h"

#include <algorithm>
#include <vector>

#include "ui/form_host.h"

namespace velomar {

LyricDocument Lyrics;

namespace {

std::vector<LyricsView> Views;

void ShowChange() {
  // A view may stop following while it is told.
  const std::vector<LyricsView> views = Views;
  for (LyricsView view : views) view();
}

}  // namespace

void FollowLyrics(LyricsView view) {
  if (std::find(Views.begin(), Views.end(), view) == Views.end()) Views.push_back(view);
  Lyrics.Watch(ShowChange);
}

void UnfollowLyrics(LyricsView view) {
  Views.erase(std::remove(Views.begin(), Views.end(), view), Views.end());
}

bool LyricsUnsaved() { return Lyrics.IsUnsaved() && LyricLineCount(Lyrics.Table()) > 0; }

bool MayLoseUnsavedAdds(HWND owner) {
  if (!LyricsUnsaved()) return true;
  return ShowMessageBox(owner,
                        "登録した歌詞はまだ保存されていません。\r\n"
                        "終了すると失われますが、よろしいですか?",
                        "終了の確認", MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool MayReplaceUnsavedAdds(HWND owner) {
  if (!LyricsUnsaved()) return true;
  return ShowMessageBox(owner,
                        "登録した歌詞はまだ保存されていません。\r\n"
                        "読み込むと置き換えられますが、よろしいですか?",
                        "歌詞の読み込みの確認", MB_YESNO | MB_ICONWARNING) == IDYES;
}

LRESULT AnswerEndSession(HWND window) {
  if (!LyricsUnsaved()) {
    ShutdownBlockReasonDestroy(window);
    return TRUE;
  }
  ShutdownBlockReasonCreate(window, L"保存されていない歌詞があります");
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  return FALSE;
}

}  // namespace velomar
