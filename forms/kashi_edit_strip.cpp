#include "forms/kashi_edit_strip.h"

#include <memory>
#include <string>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_edit.h"
#include "lyrics/press_stamp.h"
#include "lyrics/unicode_text.h"
#include "playback/playback.h"
#include "ui/lyric_store.h"
#include "ui/song_peaks.h"
#include "ui/wave_strip.h"

namespace velomar {

namespace {

bool IsMidiPath(const std::wstring& path) {
  const std::size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos) return false;
  std::string extension;
  for (wchar_t c : path.substr(dot + 1)) {
    extension += c < 0x80 ? AsciiLower(static_cast<char>(c)) : '?';
  }
  return extension == "mid" || extension == "midi";
}

}  // namespace

EditorStrip::EditorStrip(HWND editor, int x, int y, int width, int height)
    : editor_(editor),
      strip_(CreateWindowExA(
          WS_EX_STATICEDGE, kWaveStripClass, "", WS_CHILD | WS_VISIBLE, x, y, width, height, editor,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kashi_edit_ids::kWaveStrip)),
          GetModuleHandleA(nullptr), nullptr)) {
  ReadSound();
  FollowPlayer(*this);
}

EditorStrip::~EditorStrip() { UnfollowPlayer(*this); }

void EditorStrip::ReadSound() {
  const std::wstring& path = Playback.SongWidePath;
  if (path.empty()) {
    StripShowSound(strip_, nullptr);  // the lines' markers alone
  } else if (IsMidiPath(path)) {
    StripShowText(strip_, L"波形はありません (MIDI)");
  } else if (auto peaks = SongPeaks::Read(path, editor_, kStripSoundMessage)) {
    StripShowSound(strip_, std::move(peaks));
  } else {
    StripShowText(strip_, L"この曲の波形は読めません");
  }
}

void EditorStrip::ShowLines(int selected) {
  const LyricTable& table = Lyrics.Table();
  std::vector<double> lineMs(static_cast<std::size_t>(LyricLineCount(table)));
  for (std::size_t i = 0; i < lineMs.size(); ++i) {
    lineMs[i] = 10.0 * static_cast<double>(LineHundredths(table.time[i], table.detail[i]));
  }
  selected_ = selected;
  StripShowLines(strip_, std::move(lineMs), selected);
}

void EditorStrip::OnSound() { StripRefresh(strip_); }

LRESULT EditorStrip::OnNotice(const NMHDR& header, void (*select)(int)) {
  const auto& notice = reinterpret_cast<const StripNotice&>(header);
  switch (header.code) {
    case kStripChooseLine: select(notice.line); break;
    case kStripMoveLine:
      // One undoable step; the list shows the new time as every change.
      if (!Lyrics.SetTime(notice.line, StampPress(notice.ms / 100.0, false, 0.0, 0))) {
        MessageBeep(MB_OK);
      }
      select(notice.line);
      break;
    case kStripPlayFrom:
      if (Playback.DeviceOpen != 1) {
        MessageBeep(MB_OK);
      } else {
        PlaySongFrom(notice.ms / 100.0);
      }
      break;
    default: break;
  }
  return 0;
}

bool EditorStrip::WheelKey(const MSG& message) {
  if (message.message != WM_MOUSEWHEEL || message.hwnd == strip_) return false;
  POINT at{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  if (WindowFromPoint(at) != strip_) return false;
  SendMessageW(strip_, WM_MOUSEWHEEL, message.wParam, message.lParam);
  return true;
}

void EditorStrip::ShowTicks(double) {
  if (Playback.State == PlayState::Playing) StripShowPosition(strip_, ClockMilliseconds());
}

void EditorStrip::ShowPlaying(bool playing) {
  if (!playing) StripShowPosition(strip_, -1.0);
}

void EditorStrip::ShowTitle(const std::string&) {
  ReadSound();
  ShowLines(selected_);
}

}  // namespace velomar
