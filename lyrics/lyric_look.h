// How the desktop lyrics look, for what shows the lyrics elsewhere too
// (the subtitles).
#pragma once

#include <cstdint>

namespace velomar {

struct Rgb {
  std::uint8_t r, g, b;
};

constexpr Rgb kLyricUnsung = {255, 255, 255};
constexpr Rgb kLyricSung = {90, 200, 255};
constexpr Rgb kLyricOutline = {16, 24, 48};
constexpr Rgb kLyricRow = {225, 225, 225};

// ＭＳ Ｐゴシック in UTF-8.
constexpr char kLyricFace[] =
    "\xef\xbc\xad\xef\xbc\xb3 \xef\xbc\xb0\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf";

}  // namespace velomar
