#include "lyrics/overlay_settings.h"

#include <gtest/gtest.h>

namespace velomar {
namespace {

struct Case {
  const char* what;
  std::string file;
  bool placed, open;
  OverlayPlace saved;  // when placed
  OverlayPlace shown;  // where the overlay then opens
  bool canonical;      // the file is exactly what the program writes
};

// Two monitors side by side; the primary's work area leaves 40 pixels for
// the taskbar. The default place is at its bottom centre.
const std::vector<ScreenRect> kMonitors = {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}};
const ScreenRect kWork = {0, 0, 1280, 984};
const OverlayPlace kDefault = {240, 794, 800, 150};
const OverlayPlace kSaved = {100, 200, 500, 120};

std::string File(const std::string& left, const std::string& top, const std::string& width,
                 const std::string& height) {
  return "left=" + left + "\ntop=" + top + "\nwidth=" + width + "\nheight=" + height + "\n";
}

TEST(OverlaySettingsFile, ReadsWritesAndPlacesEveryFile) {
  const Case cases[] = {
      {"missing or empty", "", false, false, {}, kDefault, false},
      {"as written", "[overlay]\r\nleft=100\r\ntop=200\r\nwidth=500\r\nheight=120\r\nopen=1\r\n",
       true, true, kSaved, kSaved, true},
      {"closed, no place", "[overlay]\r\nopen=0\r\n", false, false, {}, kDefault, true},
      {"any order, blanks, unknown keys",
       "open = 1\nheight=120\n  width = 500\ntop=200\nleft=100\ncolour=red\n", true, true, kSaved,
       kSaved, false},
      {"garbage", std::string("\0\xff\x01 x\n==\n[", 10), false, false, {}, kDefault, false},
      {"truncated", "[overlay]\r\nleft=100\r\ntop=200\r\nwid", false, false, {}, kDefault, false},
      {"absurd number",
       File("99999999999", "0", "500", "120") + "open=1",
       false,
       true,
       {},
       kDefault,
       false},
      {"beyond any desktop", File("200000", "0", "500", "120"), false, false, {}, kDefault, false},
      {"negative size", File("100", "200", "-500", "120"), false, false, {}, kDefault, false},
      {"too small to grab", File("100", "200", "500", "10"), false, false, {}, kDefault, false},
      {"not a number", File("100", "200", "5OO", "120"), false, false, {}, kDefault, false},
      {"on the second monitor",
       File("1500", "100", "500", "120"),
       true,
       false,
       {1500, 100, 500, 120},
       {1500, 100, 500, 120},
       false},
      {"on a monitor that is gone",
       File("3000", "100", "500", "120"),
       true,
       false,
       {3000, 100, 500, 120},
       kDefault,
       false},
      {"too little left on screen",
       File("100", "1000", "500", "120"),
       true,
       false,
       {100, 1000, 500, 120},
       kDefault,
       false},
      {"enough left on screen",
       File("-300", "980", "500", "120"),
       true,
       false,
       {-300, 980, 500, 120},
       {-300, 980, 500, 120},
       false},
      {"open only as 1", "open=yes\n", false, false, {}, kDefault, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const OverlaySettings read = ParseOverlaySettings(c.file);
    EXPECT_EQ(read.placed, c.placed);
    EXPECT_EQ(read.open, c.open);
    if (c.placed) {
      EXPECT_EQ(read.place, c.saved);
    }
    EXPECT_EQ(PlaceOverlay(read, kMonitors, kWork), c.shown);
    const std::string written = FormatOverlaySettings(read);
    EXPECT_EQ(ParseOverlaySettings(written), read) << written;
    if (c.canonical) {
      EXPECT_EQ(written, c.file);
    }
  }
}

}  // namespace
}  // namespace velomar
