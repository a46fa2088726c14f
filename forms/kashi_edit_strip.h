// The lyric editor's waveform strip under its list: the open song's sound
// read behind the editor, the lines' times as markers, the play position,
// and what a click, a drag and a double click on it do to the lyrics.
#pragma once

#include <windows.h>

#include "playback/player_views.h"

namespace velomar {

// Posted to the editor as more of the song's sound has been read.
constexpr UINT kStripSoundMessage = WM_APP + 21;

class EditorStrip : public PlayerView {
 public:
  // Makes the strip (id 1021) in `editor` and begins reading the song.
  EditorStrip(HWND editor, int x, int y, int width, int height);
  ~EditorStrip() override;
  EditorStrip(const EditorStrip&) = delete;
  EditorStrip& operator=(const EditorStrip&) = delete;

  // The lines' times as they stand, `selected` the editor's selected line.
  void ShowLines(int selected);
  void OnSound();
  // A notice of the strip's; `select` selects a line in the editor's list.
  LRESULT OnNotice(const NMHDR& header, void (*select)(int));
  // The wheel over the strip zooms it, wherever the focus is.
  bool WheelKey(const MSG& message);

  void ShowTicks(double ticks) override;
  void ShowPlaying(bool playing) override;
  void ShowTitle(const std::string& title) override;

 private:
  void ReadSound();
  HWND editor_;
  HWND strip_;
  int selected_ = -1;
};

}  // namespace velomar
