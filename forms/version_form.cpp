// The about box: a small picture, the product label, the version text and a
// credit line, closed with a single button.
#include "forms/version_form.h"

#include "forms/forms.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/owned.h"
#include "ui/shell.h"
#include "ui/window_state.h"

namespace velomar {

using namespace version_ids;
namespace {

constexpr int kPictureResource = 101;
constexpr int kPictureX = 8;
constexpr int kPictureY = 10;
constexpr int kPictureSize = 32;

const ControlSpec kControls[] = {
    {kOkButton, "BUTTON", "らじゃ♪", WS_EX_STATICEDGE, WS_VISIBLE, 68, 62, 88, 33},
    {kProductLabel, "STATIC", "Velomar Version", 0, WS_VISIBLE, 64, 9, 110, 12},
    {kVersionLabel, "STATIC", "Num", WS_EX_STATICEDGE, WS_VISIBLE | SS_CENTER, 178, 9, 39, 14},
    {kCreditLabel, "STATIC", "by Velomar", 0, WS_VISIBLE, 64, 33, 71, 12},
};

struct VersionState {
  // Loaded with the window and deleted with it: one bitmap per opening.
  BitmapOwner picture;
};

void OnInitDialog(HWND window) {
  VersionState& state = MakeWindowState<VersionState>(window);
  CreateControls(window, kControls, Shell().VersionFont.get());
  SetWindowTextA(window, "Version Info");
  SetControlText(window, kVersionLabel, VersionText);
  state.picture.Reset(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPictureResource)));
}

// Without a picture the erased background shows through.
void DrawPicture(HWND window, HDC target) {
  const VersionState* state = WindowState<VersionState>(window);
  if (state == nullptr || !state->picture) return;
  const BitmapOwner& picture = state->picture;
  MemoryDcOwner memory(CreateCompatibleDC(target));
  const HGDIOBJ previous = SelectObject(memory.get(), picture.get());
  BitBlt(target, kPictureX, kPictureY, kPictureSize, kPictureSize, memory.get(), 0, 0, SRCCOPY);
  SelectObject(memory.get(), previous);
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint{};
  const HDC target = BeginPaint(window, &paint);
  DrawPicture(window, target);
  EndPaint(window, &paint);
}

// Only the button's click closes: Escape's cancel command (id 2) does not.
void OnCommand(HWND window, int id, int code) {
  if (id == kOkButton && code == BN_CLICKED) SendMessageA(window, WM_CLOSE, 0, 0);
}

void OnDestroy(HWND window) { DropWindowState<VersionState>(window); }

}  // namespace

LRESULT CALLBACK VersionFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // clang-format off
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE: CloseForm(window, 0); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
  // clang-format on
}

}  // namespace velomar
