#include "lyrics/overlay_settings.h"

#include <algorithm>
#include <cstdlib>

#include "lyrics/settings_text.h"

namespace velomar {

namespace {

// Farther than any desktop reaches: a coordinate beyond is no place.
constexpr int kFarthest = 100000;
// A piece this large on a monitor can be taken with the mouse.
constexpr int kGrabbable = 40;
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 150;
constexpr int kDefaultMarginBelow = 40;

// Optional "-", then 1 to 6 digits and nothing else: no overflow can come
// from a file's absurd number.
bool ParseNumber(const std::string& text, int& value) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 6) return false;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  value = negative ? -n : n;
  return true;
}

bool Usable(const OverlayPlace& p) {
  return std::abs(p.left) <= kFarthest && std::abs(p.top) <= kFarthest &&
         p.width >= kOverlayMinWidth && p.width <= kOverlayMaxSize &&
         p.height >= kOverlayMinHeight && p.height <= kOverlayMaxSize;
}

bool Grabbable(const OverlayPlace& p, const ScreenRect& m) {
  const int width = std::min(p.left + p.width, m.right) - std::max(p.left, m.left);
  const int height = std::min(p.top + p.height, m.bottom) - std::max(p.top, m.top);
  return width >= kGrabbable && height >= kGrabbable;
}

}  // namespace

OverlaySettings ParseOverlaySettings(const std::string& text) {
  OverlaySettings settings;
  int* const fields[] = {&settings.place.left, &settings.place.top, &settings.place.width,
                         &settings.place.height};
  const char* const keys[] = {"left", "top", "width", "height"};
  bool seen[4] = {false, false, false, false};
  bool broken = false;
  ForEachSetting(text, [&](const std::string& key, const std::string& value) {
    if (key == "open") settings.open = value == "1";
    for (int i = 0; i < 4; ++i) {
      if (key != keys[i]) continue;
      seen[i] = true;
      broken = broken || !ParseNumber(value, *fields[i]);
    }
  });
  settings.placed =
      !broken && std::all_of(seen, seen + 4, [](bool s) { return s; }) && Usable(settings.place);
  if (!settings.placed) settings.place = OverlayPlace{};
  return settings;
}

std::string FormatOverlaySettings(const OverlaySettings& settings) {
  std::string text = "[overlay]\r\n";
  if (settings.placed) {
    const OverlayPlace& p = settings.place;
    text += "left=" + std::to_string(p.left) + "\r\ntop=" + std::to_string(p.top) +
            "\r\nwidth=" + std::to_string(p.width) + "\r\nheight=" + std::to_string(p.height) +
            "\r\n";
  }
  text += settings.open ? "open=1\r\n" : "open=0\r\n";
  return text;
}

OverlayPlace PlaceOverlay(const OverlaySettings& settings, const std::vector<ScreenRect>& monitors,
                          const ScreenRect& primaryWork) {
  if (settings.placed) {
    for (const ScreenRect& monitor : monitors) {
      if (Grabbable(settings.place, monitor)) return settings.place;
    }
  }
  const ScreenRect& w = primaryWork;
  OverlayPlace place;
  place.width = std::max(kOverlayMinWidth, std::min(kDefaultWidth, w.right - w.left));
  place.height = kDefaultHeight;
  place.left = w.left + (w.right - w.left - place.width) / 2;
  place.top = std::max(w.top, w.bottom - place.height - kDefaultMarginBelow);
  return place;
}

}  // namespace velomar
