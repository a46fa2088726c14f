// The about box: its controls and version text, where it stands, the picture
// it paints, the one way to close it, and that it leaves no bitmap behind.
#include "forms/version_form.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "forms/main_window.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/import_swap.h"
#include "ui/form_host.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

constexpr char kOkText[] = "\x82\xe7\x82\xb6\x82\xe1\x81\xf4";  // らじゃ♪
constexpr char kVersionNumber[] = "0.1\x83\xc0";                // 0.1β
constexpr char kCredit[] = "by Velomar";

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// What the program asked for, seen from the UI thread.
struct Spy {
  std::mutex mutex;
  std::vector<HBITMAP> bitmaps;
  std::vector<HINSTANCE> modules;
  std::vector<ULONG_PTR> names;
  std::vector<HDC> memoryDcs;
  std::atomic<bool> failLoads{false};
  void* realLoadBitmap = nullptr;
  void* realCreateCompatibleDc = nullptr;
};
Spy spy;

HBITMAP WINAPI SpyLoadBitmap(HINSTANCE module, LPCSTR name) {
  using Load = HBITMAP(WINAPI*)(HINSTANCE, LPCSTR);
  HBITMAP bitmap =
      spy.failLoads ? nullptr : reinterpret_cast<Load>(spy.realLoadBitmap)(module, name);
  std::lock_guard<std::mutex> lock(spy.mutex);
  spy.bitmaps.push_back(bitmap);
  spy.modules.push_back(module);
  spy.names.push_back(reinterpret_cast<ULONG_PTR>(name));
  return bitmap;
}

HDC WINAPI SpyCreateCompatibleDc(HDC dc) {
  using Create = HDC(WINAPI*)(HDC);
  HDC memory = reinterpret_cast<Create>(spy.realCreateCompatibleDc)(dc);
  std::lock_guard<std::mutex> lock(spy.mutex);
  spy.memoryDcs.push_back(memory);
  return memory;
}

class SpyOnGdi {
 public:
  SpyOnGdi()
      : load_("user32.dll", "LoadBitmapA", reinterpret_cast<void*>(SpyLoadBitmap)),
        create_("gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(SpyCreateCompatibleDc)) {
    std::lock_guard<std::mutex> lock(spy.mutex);
    spy.bitmaps.clear();
    spy.modules.clear();
    spy.names.clear();
    spy.memoryDcs.clear();
    spy.failLoads = false;
    spy.realLoadBitmap = load_.original();
    spy.realCreateCompatibleDc = create_.original();
  }
  bool ready() const { return load_.found() && create_.found(); }

 private:
  ImportSwap load_;
  ImportSwap create_;
};

template <typename T>
std::vector<T> Seen(const std::vector<T>& list) {
  std::lock_guard<std::mutex> lock(spy.mutex);
  return list;
}

COLORREF FaceColour() {
  LOGBRUSH brush{};
  GetObjectA(Shell().FaceBrush.get(), sizeof(brush), &brush);
  return brush.lbColor;
}

// Client pixels of the form, after every pending paint has been done.
std::vector<COLORREF> ReadPixels(HWND form, int x, int y, int width, int height) {
  UpdateWindow(form);
  std::vector<COLORREF> pixels;
  HDC dc = GetDC(form);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      pixels.push_back(GetPixel(dc, x + column, y + row));
    }
  }
  ReleaseDC(form, dc);
  return pixels;
}

// The picture as the executable holds it, top row first, as colours.
std::vector<COLORREF> PictureFromResource() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (found == nullptr) return {};
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  const auto* palette = reinterpret_cast<const RGBQUAD*>(bytes + header->biSize);
  const BYTE* indices = bytes + header->biSize + header->biClrUsed * sizeof(RGBQUAD);
  std::vector<COLORREF> colours;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const RGBQUAD& c = palette[indices[(31 - y) * 32 + x]];
      colours.push_back(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
    }
  }
  return colours;
}

bool PictureShown(HWND form) { return ReadPixels(form, 8, 10, 32, 32) == PictureFromResource(); }

void Scribble(HWND form) {
  HDC dc = GetDC(form);
  RECT over{0, 0, 60, 60};
  FillRect(dc, &over, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(form, dc);
}

TEST(VersionForm, ShowsItsFourControlsAndTheVersionText) {
  Program program;
  HWND form = OpenVersion(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form), "Version Info");
  const ControlRow expected[] = {
      {version_ids::kOkButton, "Button", kOkText, WS_EX_STATICEDGE, WS_VISIBLE | BS_PUSHBUTTON, 68,
       62, 88, 33},
      {version_ids::kProductLabel, "Static", "Velomar Version", 0, WS_VISIBLE | SS_LEFT, 64, 9, 110,
       12},
      {version_ids::kVersionLabel, "Static", kVersionNumber, WS_EX_STATICEDGE,
       WS_VISIBLE | SS_CENTER, 178, 9, 39, 14},
      {version_ids::kCreditLabel, "Static", kCredit, 0, WS_VISIBLE | SS_LEFT, 64, 33, 71, 12},
  };
  ExpectControls(form, expected, Shell().VersionFont.get());
  EXPECT_TRUE(IsWindowVisible(program.main())) << "the main window stays on screen";
  EXPECT_FALSE(IsWindowEnabled(program.main()));
  EXPECT_EQ(Text(program.main(), main_ids::kLyricLine), "");
}

TEST(VersionForm, CreditLineFitsItsLabelOnOneLine) {
  Program program;
  HWND form = OpenVersion(program);
  ASSERT_NE(form, nullptr);
  const std::string credit = Text(form, version_ids::kCreditLabel);
  HDC dc = GetDC(form);
  HGDIOBJ old = SelectObject(dc, Shell().VersionFont.get());
  SIZE size{};
  GetTextExtentPoint32A(dc, credit.c_str(), static_cast<int>(credit.size()), &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT wrapped{0, 0, 71, 0};
  DrawTextA(dc, credit.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(form, dc);
  EXPECT_GT(size.cx, 0);
  EXPECT_LE(size.cx, 71);
  EXPECT_EQ(wrapped.bottom, metrics.tmHeight) << "no second line";
}

TEST(VersionForm, StandsThirtyRightAndTwentyFiveBelowTheMainWindowWhereverItIs) {
  Program program;
  const POINT places[] = {{40, 60}, {517, 203}};
  for (const POINT& place : places) {
    SCOPED_TRACE(place.x);
    const RECT main = MoveMain(program, place.x, place.y);
    ASSERT_EQ(main.left, place.x);
    HWND form = OpenVersion(program);
    ASSERT_NE(form, nullptr);
    ExpectPlaced(form, main.left + 30, main.top + 25, 230, 126);
    CloseByCaption(program, form);
    RECT after{};
    GetWindowRect(program.main(), &after);
    EXPECT_TRUE(EqualRect(&main, &after)) << "the main window did not move";
  }
}

TEST(VersionForm, PaintsThePictureAtEightTenAndAgainAfterBeingCovered) {
  Program program;
  SpyOnGdi gdi;
  ASSERT_TRUE(gdi.ready());
  HWND form = OpenVersion(program);
  ASSERT_NE(form, nullptr);
  const std::vector<COLORREF> picture = PictureFromResource();
  ASSERT_EQ(picture.size(), 32u * 32u);
  // Known pixels of the picture: cyan sky, blue ground, yellow rings.
  EXPECT_EQ(picture[0 * 32 + 0], kCyan);
  EXPECT_EQ(picture[3 * 32 + 31], kBlue);
  EXPECT_EQ(picture[19 * 32 + 15], kYellow);
  EXPECT_EQ(picture[31 * 32 + 3], kYellow);

  HDC dc = GetDC(form);
  UpdateWindow(form);
  EXPECT_EQ(GetPixel(dc, 8 + 0, 10 + 0), kCyan);
  EXPECT_EQ(GetPixel(dc, 8 + 31, 10 + 3), kBlue);
  EXPECT_EQ(GetPixel(dc, 8 + 15, 10 + 19), kYellow);
  EXPECT_EQ(GetPixel(dc, 8 + 3, 10 + 31), kYellow);
  ReleaseDC(form, dc);
  EXPECT_EQ(ReadPixels(form, 8, 10, 32, 32), picture) << "all 32 x 32 pixels, unscaled";
  const COLORREF face = FaceColour();
  EXPECT_EQ(ReadPixels(form, 7, 10, 1, 32), std::vector<COLORREF>(32, face)) << "left of it";
  EXPECT_EQ(ReadPixels(form, 40, 10, 1, 32), std::vector<COLORREF>(32, face)) << "right of it";
  EXPECT_EQ(ReadPixels(form, 8, 9, 32, 1), std::vector<COLORREF>(32, face)) << "above it";
  EXPECT_EQ(ReadPixels(form, 8, 42, 32, 1), std::vector<COLORREF>(32, face)) << "below it";

  // Spoil what is on screen, then have the system ask for the covered part
  // back, as it does when a window that lay over the form goes away (Wine
  // keeps window surfaces, so taking a real window away asks for nothing).
  Scribble(form);
  ASSERT_EQ(ReadPixels(form, 8, 10, 1, 1), std::vector<COLORREF>{RGB(0, 0, 0)});
  RECT strip{20, 0, 30, 60};  // a narrow window lay across the middle of the picture
  RedrawWindow(form, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const std::vector<COLORREF> across = ReadPixels(form, 20, 10, 10, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(across[y * 10 + x], picture[y * 32 + (20 - 8) + x]) << x << "," << y;
    }
  }
  EXPECT_EQ(ReadPixels(form, 20, 9, 1, 1), std::vector<COLORREF>{face}) << "erased above it";
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(PictureShown(form)) << "the whole form uncovered";
  EXPECT_EQ(ReadPixels(form, 7, 10, 1, 1), std::vector<COLORREF>{face});

  // Every paint's memory device context is gone once the paint is done.
  const std::vector<HDC> dcs = Seen(spy.memoryDcs);
  EXPECT_GE(dcs.size(), 3u) << "one per paint";
  for (HDC memory : dcs) EXPECT_EQ(GetObjectType(memory), 0u);
  CloseByCaption(program, form);
}

TEST(VersionForm, ClosesOnlyWithItsButtonOrItsCaption) {
  Program program;
  HWND form = OpenVersion(program);
  ASSERT_NE(form, nullptr);
  // Escape as dialog keyboard handling sees it, the cancel and OK commands
  // it makes, and the button's id with a code other than a click.
  PostMessageA(Item(form, version_ids::kOkButton), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(Item(form, version_ids::kOkButton), WM_KEYUP, VK_ESCAPE, 0xC0010001);
  PostMessageA(form, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  Command(program, form, IDCANCEL);
  Command(program, form, IDOK);
  Command(program, form, version_ids::kOkButton, BN_SETFOCUS);
  Command(program, form, version_ids::kProductLabel);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(IsWindowEnabled(program.main()));

  Click(program, form, version_ids::kOkButton);
  EXPECT_TRUE(WaitGone(form));
  program.Flush();
  EXPECT_TRUE(IsWindowEnabled(program.main()));
  EXPECT_TRUE(IsWindowVisible(program.main()));

  form = OpenVersion(program);
  ASSERT_NE(form, nullptr);
  CloseByCaption(program, form);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(program.CloseAndWait(), 0) << "both forms' loops have ended";
}

TEST(VersionForm, TwoHundredOpeningsLeaveNoBitmapBehind) {
  Program program;
  SpyOnGdi gdi;
  ASSERT_TRUE(gdi.ready());
  const GdiCount before = CountGdi();
  ASSERT_GT(before.all, 0) << "the count sees the program's fonts and brush";
  for (int i = 0; i < 200; ++i) {
    SCOPED_TRACE(i);
    HWND form = OpenVersion(program);
    ASSERT_NE(form, nullptr);
    const std::vector<HBITMAP> loaded = Seen(spy.bitmaps);
    ASSERT_EQ(loaded.size(), static_cast<size_t>(i + 1)) << "one bitmap per opening";
    ASSERT_EQ(GetObjectType(loaded.back()), static_cast<DWORD>(OBJ_BITMAP));
    BITMAP info{};
    ASSERT_EQ(GetObjectA(loaded.back(), sizeof(info), &info), static_cast<int>(sizeof(info)));
    ASSERT_EQ(info.bmWidth, 32);
    ASSERT_EQ(info.bmHeight, 32);
    CloseByCaption(program, form);
    ASSERT_EQ(GetObjectType(loaded.back()), 0u) << "deleted with the window";
  }
  const std::vector<HINSTANCE> modules = Seen(spy.modules);
  const std::vector<ULONG_PTR> names = Seen(spy.names);
  EXPECT_EQ(modules.front(), GetModuleHandleA(nullptr)) << "the program's own bitmap";
  EXPECT_EQ(names.front(), 101u);
  for (HDC memory : Seen(spy.memoryDcs)) ASSERT_EQ(GetObjectType(memory), 0u);
  // Back where it was, as the leak tests allow: the system makes an object
  // of its own now and then, and Wine's cache of window device contexts and
  // their regions grows to the most ever in use at once.
  program.Flush();
  const GdiCount after = CountGdi();
  EXPECT_LE((after.all - after.cached) - (before.all - before.cached), 4);
  EXPECT_LE(after.cached - before.cached, 200 / 2);
  RecordProperty("gdi_objects_before", static_cast<int>(before.all));
  RecordProperty("gdi_objects_after", static_cast<int>(after.all));
}

TEST(VersionForm, WithoutItsPictureStillOpensAndLeavesTheAreaInTheBackground) {
  Program program;
  SpyOnGdi gdi;
  ASSERT_TRUE(gdi.ready());
  spy.failLoads = true;
  HWND form = OpenVersion(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Seen(spy.bitmaps), std::vector<HBITMAP>{nullptr}) << "the load was tried";
  EXPECT_EQ(Text(form, version_ids::kVersionLabel), kVersionNumber);
  EXPECT_EQ(Text(form, version_ids::kOkButton), kOkText);
  Scribble(form);
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(ReadPixels(form, 8, 10, 32, 32), std::vector<COLORREF>(32 * 32, FaceColour()));
  Click(program, form, version_ids::kOkButton);
  EXPECT_TRUE(WaitGone(form));
  program.Flush();
  EXPECT_TRUE(IsWindowEnabled(program.main()));
}

}  // namespace
}  // namespace velomar::test
