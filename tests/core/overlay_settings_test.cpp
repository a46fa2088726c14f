#include "lyrics/overlay_settings.h"

#include <gtest/gtest.h>

namespace velomar {
namespace {

struct Case {
  const char* what;
  std::string file;
  bool open;
  OverlayPlace saved;  // {}: no place read
  bool onScreen;       // the saved place is used, else the default one
  bool canonical;      // the file is exactly what the program writes
};

// Two monitors side by side; the primary's work area leaves 40 pixels for
// the taskbar. The default place is at its bottom centre.
const std::vector<ScreenRect> kMonitors = {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}};
const ScreenRect kWork = {0, 0, 1280, 984};
const OverlayPlace kDefault = {240, 794, 800, 150};

std::string File(const char* left, const char* top, const char* width, const char* height) {
  return std::string("left=") + left + "\ntop=" + top + "\nwidth=" + width + "\nheight=" + height;
}

TEST(OverlaySettingsFile, ReadsWritesAndPlacesEveryFile) {
  const std::string written =
      "[overlay]\r\nleft=100\r\ntop=200\r\nwidth=500\r\nheight=120\r\nopen=1\r\n";
  // clang-format off
  const Case cases[] = {
      {"missing or empty", "", false, {}, false, false},
      {"as written", written, true, {100, 200, 500, 120}, true, true},
      {"closed, no place", "[overlay]\r\nopen=0\r\n", false, {}, false, true},
      {"any order, blanks, unknown keys", "open = 1\nheight=120\n  width = 500\ntop=200\nleft=100\n"
       "colour=red", true, {100, 200, 500, 120}, true, false},
      {"garbage", std::string("\0\xff\x01 x\n==\n[", 10), false, {}, false, false},
      {"truncated", written.substr(0, 40), false, {}, false, false},
      {"absurd number", File("99999999999", "0", "500", "120") + "\nopen=1", true, {}, false, false},
      {"beyond any desktop", File("200000", "0", "500", "120"), false, {}, false, false},
      {"negative size", File("100", "200", "-500", "120"), false, {}, false, false},
      {"too small to grab", File("100", "200", "500", "10"), false, {}, false, false},
      {"not a number", File("100", "200", "5OO", "120"), false, {}, false, false},
      {"on the second monitor", File("1500", "100", "500", "120"), false, {1500, 100, 500, 120}, true, false},
      {"on a monitor that is gone", File("3000", "100", "500", "120"), false, {3000, 100, 500, 120}, false, false},
      {"too little left on screen", File("100", "1000", "500", "120"), false, {100, 1000, 500, 120}, false, false},
      {"enough left on screen", File("-300", "980", "500", "120"), false, {-300, 980, 500, 120}, true, false},
      {"open only as 1", "open=yes\n", false, {}, false, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const OverlaySettings read = ParseOverlaySettings(c.file);
    EXPECT_EQ(read.placed, c.saved.width != 0);
    EXPECT_EQ(read.place, c.saved);
    EXPECT_EQ(read.open, c.open);
    EXPECT_EQ(PlaceOverlay(read, kMonitors, kWork), c.onScreen ? c.saved : kDefault);
    const std::string format = FormatOverlaySettings(read);
    EXPECT_EQ(ParseOverlaySettings(format), read) << format;
    EXPECT_TRUE(!c.canonical || format == c.file) << format;
  }
}

}  // namespace
}  // namespace velomar
