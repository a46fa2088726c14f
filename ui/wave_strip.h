// The strip under the lyric editor's list: the song's waveform, each line's
// time as a numbered marker, and the play position. The editor hands it
// what to show; it tells the editor, by WM_NOTIFY, what the mouse did.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "lyrics/wave_peaks.h"

namespace velomar {

constexpr char kWaveStripClass[] = "VelomarWaveStrip";
void RegisterWaveStripClass();

// The sound the strip draws, filled in behind it as it is read.
class StripSound {
 public:
  virtual ~StripSound() = default;
  // The song's length in milliseconds as far as it is known.
  virtual double SongMs() const = 0;
  virtual std::vector<Peak> Columns(double fromMs, double toMs, int columns) const = 0;
  // True once the whole song has been read.
  virtual bool Complete() const = 0;
};

// The sound to draw (nullptr: none yet), or a text shown instead of it.
void StripShowSound(HWND strip, std::shared_ptr<const StripSound> sound);
void StripShowText(HWND strip, const std::wstring& text);
// The lines' times in milliseconds (negative: a line the strip leaves out)
// and the selected line, which the strip's span follows.
void StripShowLines(HWND strip, std::vector<double> lineMs, int selected);
// The play position in milliseconds; negative while the song is not playing.
void StripShowPosition(HWND strip, double ms);
// Draws anew what the sound has read since.
void StripRefresh(HWND strip);
// Whether the strip has a sound and all of it is read.
bool StripSoundComplete(HWND strip);

// The notices, as WM_NOTIFY codes with a StripNotice.
enum StripCode : UINT {
  kStripChooseLine = 0x8100,  // a click: select `line`
  kStripMoveLine,             // a marker dragged: `line` to `ms`
  kStripPlayFrom,             // a double click: play from `ms`
};
struct StripNotice {
  NMHDR header;
  int line;
  double ms;
};

}  // namespace velomar
