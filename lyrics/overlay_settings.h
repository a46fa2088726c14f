// The desktop lyrics' settings file: where the overlay stands, its size and
// whether it was open, as a few "key=value" lines; and where a saved place
// may be used on the screens there are now.
#pragma once

#include <string>
#include <vector>

namespace velomar {

// The smallest overlay that still shows a line and can be grabbed, and the
// largest a saved size may be.
constexpr int kOverlayMinWidth = 200;
constexpr int kOverlayMinHeight = 60;
constexpr int kOverlayMaxSize = 8192;

struct OverlayPlace {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const OverlayPlace& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct OverlaySettings {
  // False: no usable place was saved, the overlay takes its default one.
  bool placed = false;
  OverlayPlace place;
  bool open = false;
  bool operator==(const OverlaySettings& o) const {
    return placed == o.placed && (!placed || place == o.place) && open == o.open;
  }
};

// Whatever the text: a missing or broken file gives the defaults (no place,
// closed), a broken place alone only loses the place. Never fails.
OverlaySettings ParseOverlaySettings(const std::string& text);
std::string FormatOverlaySettings(const OverlaySettings& settings);

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The saved place when enough of it lies on one of `monitors` to be
// grabbed there, else the default size at the bottom centre of the primary
// monitor's work area.
OverlayPlace PlaceOverlay(const OverlaySettings& settings, const std::vector<ScreenRect>& monitors,
                          const ScreenRect& primaryWork);

}  // namespace velomar
