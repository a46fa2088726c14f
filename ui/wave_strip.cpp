#include "ui/wave_strip.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/owned.h"
#include "ui/window_state.h"

namespace velomar {

namespace {

// A press this close to a marker takes it.
constexpr int kGripPixels = 4;
constexpr COLORREF kGround = RGB(24, 28, 36);
constexpr COLORREF kWave = RGB(96, 176, 224);
constexpr COLORREF kMarker = RGB(200, 200, 200);
constexpr COLORREF kSelected = RGB(255, 208, 64);
constexpr COLORREF kPosition = RGB(240, 64, 64);

struct StripState {
  std::shared_ptr<const StripSound> sound;
  std::wstring text;
  std::vector<double> lineMs;
  int selected = -1;
  double positionMs = -1.0;
  double spanMs = kStripSpanMs;
  StripSpan span{0.0, kStripSpanMs};
  int dragLine = -1;  // the marker held by the mouse
  int dragX = 0;
  bool dragged = false;
};

StripState* State(HWND strip) { return WindowState<StripState>(strip); }

int Width(HWND strip) {
  RECT r{};
  GetClientRect(strip, &r);
  return std::max<LONG>(1, r.right);
}

double MsAt(HWND strip, const StripState& s, int x) {
  return s.span.fromMs + (s.span.toMs - s.span.fromMs) * x / Width(strip);
}

int XAt(HWND strip, const StripState& s, double ms) {
  return static_cast<int>(
      std::lround((ms - s.span.fromMs) * Width(strip) / (s.span.toMs - s.span.fromMs)));
}

// The sound's length, and without one as far as the lines go.
double SongMs(const StripState& s) {
  double last = 0.0;
  for (double ms : s.lineMs) last = std::max(last, ms + kStripLeastMs);
  return s.sound ? std::max(s.sound->SongMs(), last) : last;
}

void Follow(StripState& s, double centreMs) { s.span = SpanAround(centreMs, s.spanMs, SongMs(s)); }

void Notify(HWND strip, UINT code, int line, double ms) {
  StripNotice notice{{strip, static_cast<UINT_PTR>(GetDlgCtrlID(strip)), code}, line, ms};
  SendMessageW(GetParent(strip), WM_NOTIFY, notice.header.idFrom,
               reinterpret_cast<LPARAM>(&notice));
}

void FillRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  SetBkColor(dc, colour);
  const RECT r{left, top, right, bottom};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void DrawWave(const StripState& s, HDC dc, int width, int height) {
  if (!s.sound) return;
  const std::vector<Peak> peaks = s.sound->Columns(s.span.fromMs, s.span.toMs, width);
  const float half = height / 2.0f;
  // Past the song's end the strip stays empty, so that the end shows.
  const double end = s.sound->SongMs();
  const double msPerColumn = (s.span.toMs - s.span.fromMs) / width;
  for (int x = 0; x < width && s.span.fromMs + x * msPerColumn < end; ++x) {
    const Peak& p = peaks[static_cast<std::size_t>(x)];
    const int top = static_cast<int>(half - std::clamp(p.high, -1.0f, 1.0f) * (half - 1));
    const int bottom = static_cast<int>(half - std::clamp(p.low, -1.0f, 1.0f) * (half - 1));
    FillRect(dc, x, top, x + 1, std::max(bottom, top) + 1, kWave);
  }
}

void DrawMarkers(HWND strip, const StripState& s, HDC dc, int height) {
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < s.lineMs.size(); ++i) {
    const bool held = static_cast<int>(i) == s.dragLine && s.dragged;
    const double ms = held ? MsAt(strip, s, s.dragX) : s.lineMs[i];
    if (ms < 0 || ms < s.span.fromMs || ms > s.span.toMs) continue;
    const int x = XAt(strip, s, ms);
    const COLORREF colour = static_cast<int>(i) == s.selected ? kSelected : kMarker;
    FillRect(dc, x, 0, x + 1, height, colour);
    SetTextColor(dc, colour);
    const std::wstring number = std::to_wstring(i);
    TextOutW(dc, x + 2, 1, number.c_str(), static_cast<int>(number.size()));
  }
  if (s.positionMs >= s.span.fromMs && s.positionMs <= s.span.toMs) {
    const int x = XAt(strip, s, s.positionMs);
    FillRect(dc, x, 0, x + 2, height, kPosition);
  }
}

void OnPaint(HWND strip) {
  PAINTSTRUCT paint;
  const HDC target = BeginPaint(strip, &paint);
  RECT r{};
  GetClientRect(strip, &r);
  // Drawn aside and handed over whole, so that the moving position never
  // flickers the wave.
  MemoryDcOwner dc(CreateCompatibleDC(target));
  BitmapOwner bitmap(CreateCompatibleBitmap(target, std::max<LONG>(1, r.right), r.bottom));
  const HGDIOBJ oldBitmap = SelectObject(dc.get(), bitmap.get());
  const HGDIOBJ oldFont = SelectObject(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
  FillRect(dc.get(), 0, 0, r.right, r.bottom, kGround);
  if (const StripState* s = State(strip)) {
    if (!s->text.empty()) {
      SetTextColor(dc.get(), kMarker);
      SetBkMode(dc.get(), TRANSPARENT);
      DrawTextW(dc.get(), s->text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
      DrawWave(*s, dc.get(), r.right, r.bottom);
      DrawMarkers(strip, *s, dc.get(), r.bottom);
    }
  }
  BitBlt(target, 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  SelectObject(dc.get(), oldFont);
  SelectObject(dc.get(), oldBitmap);
  EndPaint(strip, &paint);
}

// The marker within reach of `x`, the nearest one; -1 for none.
int MarkerAt(HWND strip, const StripState& s, int x) {
  const int line = NearestLine(s.lineMs, MsAt(strip, s, x));
  if (line < 0 || std::abs(XAt(strip, s, s.lineMs[line]) - x) > kGripPixels) return -1;
  return line;
}

void OnButtonDown(HWND strip, int x) {
  StripState* s = State(strip);
  if (s == nullptr || !s->text.empty()) return;
  s->dragLine = MarkerAt(strip, *s, x);
  s->dragX = x;
  s->dragged = false;
  if (s->dragLine >= 0) {
    SetCapture(strip);
    return;
  }
  const int line = NearestLine(s->lineMs, MsAt(strip, *s, x));
  if (line >= 0) Notify(strip, kStripChooseLine, line, s->lineMs[line]);
}

void OnMouseMove(HWND strip, int x) {
  StripState* s = State(strip);
  if (s == nullptr || s->dragLine < 0 || GetCapture() != strip) return;
  s->dragged = s->dragged || x != s->dragX;
  s->dragX = std::clamp(x, 0, Width(strip) - 1);
  InvalidateRect(strip, nullptr, FALSE);
}

void OnButtonUp(HWND strip) {
  StripState* s = State(strip);
  if (s == nullptr || s->dragLine < 0) return;
  const int line = std::exchange(s->dragLine, -1);
  ReleaseCapture();
  if (s->dragged) {
    Notify(strip, kStripMoveLine, line, std::max(0.0, MsAt(strip, *s, s->dragX)));
  } else {
    Notify(strip, kStripChooseLine, line, s->lineMs[line]);
  }
  InvalidateRect(strip, nullptr, FALSE);
}

void OnDoubleClick(HWND strip, int x) {
  StripState* s = State(strip);
  if (s != nullptr && s->text.empty()) Notify(strip, kStripPlayFrom, -1, MsAt(strip, *s, x));
}

// Zooms around the moment under the mouse, which stays where it is.
void OnWheel(HWND strip, int delta, POINT screen) {
  StripState* s = State(strip);
  if (s == nullptr) return;
  ScreenToClient(strip, &screen);
  const double at = MsAt(strip, *s, screen.x);
  const double share = static_cast<double>(screen.x) / Width(strip);
  s->spanMs = ZoomedSpan(s->spanMs, delta / WHEEL_DELTA, SongMs(*s));
  Follow(*s, at + (0.5 - share) * s->spanMs);
  InvalidateRect(strip, nullptr, FALSE);
}

LRESULT CALLBACK WaveStripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_CREATE: MakeWindowState<StripState>(strip); return 0;
    case WM_PAINT: OnPaint(strip); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: OnButtonDown(strip, GET_X_LPARAM(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(strip, GET_X_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(strip); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(strip, GET_X_LPARAM(lParam)); return 0;
    case WM_MOUSEWHEEL:
      OnWheel(strip, GET_WHEEL_DELTA_WPARAM(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_DESTROY: DropWindowState<StripState>(strip); return 0;
    default: return DefWindowProcA(strip, message, wParam, lParam);
  }
  // clang-format on
}

void Redraw(HWND strip) { InvalidateRect(strip, nullptr, FALSE); }

}  // namespace

void RegisterWaveStripClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WaveStripProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kWaveStripClass;
  RegisterClassExA(&wc);
}

void StripShowSound(HWND strip, std::shared_ptr<const StripSound> sound) {
  if (StripState* s = State(strip)) {
    s->sound = std::move(sound);
    s->text.clear();
    Follow(*s, s->selected >= 0 ? s->lineMs[s->selected] : 0.0);
    Redraw(strip);
  }
}

void StripShowText(HWND strip, const std::wstring& text) {
  if (StripState* s = State(strip)) {
    s->text = text;
    // Kept as the window's text too, where a reader of the screen finds it.
    SetWindowTextW(strip, text.c_str());
    Redraw(strip);
  }
}

void StripShowLines(HWND strip, std::vector<double> lineMs, int selected) {
  StripState* s = State(strip);
  if (s == nullptr) return;
  const bool moved = selected != s->selected ||
                     (selected >= 0 && (s->lineMs.size() <= static_cast<std::size_t>(selected) ||
                                        s->lineMs[selected] != lineMs[selected]));
  s->lineMs = std::move(lineMs);
  s->selected = selected < static_cast<int>(s->lineMs.size()) ? selected : -1;
  if (moved && s->selected >= 0 && s->lineMs[s->selected] >= 0) {
    Follow(*s, s->lineMs[s->selected]);
  }
  Redraw(strip);
}

void StripShowPosition(HWND strip, double ms) {
  StripState* s = State(strip);
  if (s == nullptr || s->positionMs == ms) return;
  s->positionMs = ms;
  // A position run off the right edge turns the strip's page.
  if (ms > s->span.toMs && ms < SongMs(*s)) Follow(*s, ms + s->spanMs * 0.4);
  Redraw(strip);
}

void StripRefresh(HWND strip) {
  StripState* s = State(strip);
  if (s == nullptr) return;
  // While the song is still being read its length grows: the selected line
  // comes into the span once the sound reaches it.
  if (s->selected >= 0 && s->dragLine < 0) Follow(*s, s->lineMs[s->selected]);
  Redraw(strip);
}

bool StripSoundComplete(HWND strip) {
  const StripState* s = State(strip);
  return s != nullptr && s->sound && s->sound->Complete();
}

}  // namespace velomar
