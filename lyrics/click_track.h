// The click track that measures the press offset (timing_settings.h): a
// count-in of 4 clicks, then 8 clicks at 120 a minute that the user presses
// on, as a wave file the program plays; and the user's lag, read from the
// presses.
//
// How the offset form uses it: write ClickTrackWave() to a file and play it;
// take each press's song position at the moment of its key, as for a stamp
// (press_stamp.h) but without any offset; MeasureLag of those positions,
// when measured, is the offset to keep.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velomar {

constexpr int kCountInClicks = 4;
constexpr int kMeasuredClicks = 8;
constexpr std::int64_t kClickIntervalMs = 500;  // 120 a minute
constexpr int kFewestPressesMeasured = 6;

// When each click starts, in ms from the start of the sound, the count-in's
// first: one interval of silence, then a click every interval.
std::vector<std::int64_t> ClickTimes();

// The bytes of a RIFF wave file, PCM 44.1 kHz 16-bit mono: the clicks of
// ClickTimes(), each a 30 ms tone that starts at full strength on its
// sample and fades out (the count-in's lower, about 1 kHz, the measured
// ones' about 2 kHz), silence elsewhere, and a second after the last click
// for a late press. Made of whole numbers only: the same bytes everywhere.
std::string ClickTrackWave();

struct MeasuredLag {
  int presses = 0;        // the presses that counted
  bool measured = false;  // at least kFewestPressesMeasured counted
  std::int32_t ms = 0;    // when measured: the median lag, positive when late
};

// A press counts towards the measured click it is nearest to, when it lies
// from just over half an interval before that click to half an interval
// after it: presses nearer a count-in click, before the first one or long
// after the last one do not count, and NaN is no press. Each counting
// press's lag is its distance to that click (press - click); the median of
// an even number is the mean of the middle two, rounded to the nearest ms.
MeasuredLag MeasureLag(const std::vector<double>& pressMs);

}  // namespace velomar
