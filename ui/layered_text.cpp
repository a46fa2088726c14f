#include "ui/layered_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velomar {

namespace {

struct Colour {
  double r, g, b;
};

constexpr Colour kLetters = {255, 255, 255};
constexpr Colour kSung = {90, 200, 255};
constexpr Colour kOutline = {16, 24, 48};
constexpr Colour kRowLetters = {225, 225, 225};
// Left and right of a text that fills the window.
constexpr int kMargin = 12;
constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";

FontOwner MakeFont(int pixels) {
  return FontOwner(CreateFontW(-pixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, kFace));
}

std::uint32_t Pixel(const Colour& face, int cover, int letters, int backdrop) {
  // Premultiplied: the outline where only the outline covers, the face
  // where the letters do, over a black backdrop.
  letters = std::min(letters, cover);
  auto channel = [&](double outline, double letter) {
    return static_cast<std::uint32_t>((outline * (cover - letters) + letter * letters) / 255.0);
  };
  const std::uint32_t alpha = cover + backdrop * (255 - cover) / 255;
  return alpha << 24 | channel(kOutline.r, face.r) << 16 | channel(kOutline.g, face.g) << 8 |
         channel(kOutline.b, face.b);
}

Colour Mix(const Colour& from, const Colour& to, double part) {
  return {from.r + (to.r - from.r) * part, from.g + (to.g - from.g) * part,
          from.b + (to.b - from.b) * part};
}

}  // namespace

void LayeredText::Layout(int width, int height, const std::wstring& line, const std::wstring& row) {
  if (width <= 0 || height <= 0) return;
  if (!dc_) dc_.Reset(CreateCompatibleDC(nullptr));
  if (width != width_ || height != height_ || !bitmap_) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapOwner fresh(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    width_ = height_ = 0;
    if (!fresh) return;
    // Selected before the old one is freed, which a DC must not hold.
    SelectObject(dc_.get(), fresh.get());
    bitmap_ = std::move(fresh);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
  }
  std::fill(bits_, bits_ + width_ * height_, 0u);
  SetBkMode(dc_.get(), TRANSPARENT);
  const int lineSize = std::max(6, row.empty() ? height * 45 / 100 : height * 40 / 100);
  const int rowSize = std::max(6, height * 22 / 100);
  lineTop_ = row.empty() ? (height - lineSize * 6 / 5) / 2 : height / 10;
  lineBottom_ = row.empty() ? height : lineTop_ + lineSize * 13 / 10;
  DrawMask(line, lineSize, lineTop_, &lineExtents_);
  DrawMask(row, rowSize, lineBottom_, nullptr);
  GdiFlush();  // GDI may hold drawing back; the mask is read from memory
  mask_.assign(bits_, bits_ + width_ * height_);
  covered_ = Covered();
  shown_ = false;
}

RECT LayeredText::Covered() const {
  RECT box{width_, height_, 0, 0};
  for (int y = 0; y < height_; ++y) {
    const std::uint32_t* row = mask_.data() + static_cast<std::size_t>(y) * width_;
    for (int x = 0; x < width_; ++x) {
      if ((row[x] >> 16 & 0xFF) == 0) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
             std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    }
  }
  return box.left < box.right ? box : RECT{};
}

void LayeredText::DrawMask(const std::wstring& text, int size, int top, std::vector<int>* extents) {
  std::vector<int> ends(text.size());
  if (extents != nullptr) extents->clear();
  if (text.empty()) return;
  HDC dc = dc_.get();
  FontOwner font = MakeFont(size);
  const HGDIOBJ before = SelectObject(dc, font.get());
  const int count = static_cast<int>(text.size());
  SIZE extent{};
  GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data(), &extent);
  const int room = width_ - 2 * kMargin;
  if (extent.cx > room && room > 0) {
    // Too long for the window: smaller, centred in the same band.
    const int smaller = std::max(6, static_cast<int>(size * static_cast<double>(room) / extent.cx));
    FontOwner fitted = MakeFont(smaller);
    SelectObject(dc, fitted.get());
    font = std::move(fitted);
    top += (size - smaller) / 2;
    size = smaller;
    GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data(), &extent);
  }
  const int left = (width_ - extent.cx) / 2;
  const int radius = std::max(1, size / 14);
  SetTextColor(dc, RGB(255, 0, 0));
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      if (dx * dx + dy * dy > radius * radius + radius) continue;
      ExtTextOutW(dc, left + dx, top + dy, 0, nullptr, text.c_str(), count, nullptr);
    }
  }
  SetTextColor(dc, RGB(255, 255, 0));
  ExtTextOutW(dc, left, top, 0, nullptr, text.c_str(), count, nullptr);
  SelectObject(dc, before);
  if (extents != nullptr) {
    *extents = std::move(ends);
    lineLeft_ = left;
  }
}

double LayeredText::LineX(std::size_t units) const {
  if (units == 0 || lineExtents_.empty()) return lineLeft_;
  return lineLeft_ + lineExtents_[std::min(units, lineExtents_.size()) - 1];
}

void LayeredText::Show(HWND window, POINT origin, double sungTo, BYTE backdrop) {
  if (width_ == 0 || bits_ == nullptr) return;
  // Beyond either end the picture is the same as at the end.
  sungTo = std::clamp(sungTo, -1.0, static_cast<double>(width_) + 1.0);
  const RECT part =
      backdrop == 0 && covered_.right > covered_.left ? covered_ : RECT{0, 0, width_, height_};
  RECT place = part;
  OffsetRect(&place, origin.x, origin.y);
  const bool moved = !shown_ || !EqualRect(&place, &shownPlace_);
  // A frame of the fill changes only the columns the edge crossed since the
  // last one: only those are mixed and handed over, and nothing at all
  // while the edge stands still.
  RECT dirty{0, 0, width_, height_};
  if (shown_ && backdrop == shownBackdrop_) {
    const double from = std::min(sungTo, shownSung_), to = std::max(sungTo, shownSung_);
    if (to == from && !moved) return;
    dirty = {std::max(0, static_cast<int>(std::floor(from)) - 1), lineTop_,
             std::min(width_, static_cast<int>(std::ceil(to)) + 1), lineBottom_};
    if (dirty.left >= dirty.right || dirty.top >= dirty.bottom) dirty = RECT{};
  }
  Paint(dirty, sungTo, backdrop);
  shown_ = true;
  shownSung_ = sungTo;
  shownBackdrop_ = backdrop;
  shownPlace_ = place;
  HandOver(window, part, place, dirty, moved);
}

void LayeredText::HandOver(HWND window, const RECT& part, const RECT& place, const RECT& dirty,
                           bool moved) {
  // The window's own coordinates; a new place takes the whole part.
  RECT handed{};
  if (moved) {
    handed = {0, 0, part.right - part.left, part.bottom - part.top};
  } else if (IntersectRect(&handed, &dirty, &part)) {
    OffsetRect(&handed, -part.left, -part.top);
  } else {
    return;
  }
  POINT to{place.left, place.top};
  POINT from{part.left, part.top};
  SIZE size{part.right - part.left, part.bottom - part.top};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UPDATELAYEREDWINDOWINFO info{};
  info.cbSize = sizeof info;
  // Where it stands and its size only when they change: each is more work
  // for the window manager.
  info.pptDst = moved ? &to : nullptr;
  info.psize = moved ? &size : nullptr;
  info.hdcSrc = dc_.get();
  info.pptSrc = &from;
  info.pblend = &blend;
  info.dwFlags = ULW_ALPHA;
  info.prcDirty = &handed;
  UpdateLayeredWindowIndirect(window, &info);
}

void LayeredText::Paint(const RECT& dirty, double sungTo, BYTE backdrop) {
  GdiFlush();
  for (int y = dirty.top; y < dirty.bottom; ++y) {
    const bool inLine = y >= lineTop_ && y < lineBottom_;
    for (int x = dirty.left; x < dirty.right; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * width_ + x;
      const int cover = mask_[at] >> 16 & 0xFF;
      const int letters = mask_[at] >> 8 & 0xFF;
      if (cover == 0) {
        bits_[at] = static_cast<std::uint32_t>(backdrop) << 24;
        continue;
      }
      // The column the edge crosses takes the part of it that is sung.
      const double sung = std::clamp(sungTo - x, 0.0, 1.0);
      const Colour face = inLine ? Mix(kLetters, kSung, sung) : kRowLetters;
      bits_[at] = Pixel(face, cover, letters, backdrop);
    }
  }
}

}  // namespace velomar
