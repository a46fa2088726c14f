#include "app/form_host.h"

#include <cstring>

#include "forms/forms.h"

namespace velomar {

HWND VersionWindow = nullptr;
HWND KashiWindow = nullptr;
HWND KashiListWindow = nullptr;
HWND MiniWindow = nullptr;

namespace {

struct FormKind {
  const char* name;
  HWND* handle;
  DWORD exStyle;
  int width, height;
  bool smallIcon;
  WNDPROC procedure;
};

// Looked up in this order, names compared exactly.
const FormKind kForms[] = {
    {"Version", &VersionWindow, WS_EX_TOOLWINDOW, 230, 126, false, VersionFormProc},
    {"Kashi", &KashiWindow, 0, 414, 426, true, KashiFormProc},
    {"KashiList", &KashiListWindow, 0, 499, 145, true, KashiListFormProc},
    {"Mini", &MiniWindow, WS_EX_TOOLWINDOW, 281, 90, false, MiniFormProc},
};

const FormKind* FindForm(const char* name) {
  for (const FormKind& kind : kForms) {
    if (std::strcmp(kind.name, name) == 0) return &kind;
  }
  return nullptr;
}

}  // namespace

int OpenForm(HWND owner, const char* name) {
  const FormKind* kind = FindForm(name);
  if (kind == nullptr) return 0;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND form = CreateWindowExA(kind->exStyle, kFormClass, kind->name, WS_CAPTION | WS_SYSMENU,
                              CW_USEDEFAULT, CW_USEDEFAULT, kind->width, kind->height, owner,
                              nullptr, instance, nullptr);
  *kind->handle = form;
  SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kind->procedure));
  SendMessageA(form, WM_INITDIALOG, 0, 0);
  if (kind->smallIcon) {
    SendMessageA(form, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon))));
  }
  ShowWindow(form, SW_SHOW);
  if (owner != nullptr) EnableWindow(owner, FALSE);

  MSG message{};
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (IsDialogMessageA(form, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void CloseForm(HWND form, int code) {
  HWND owner = GetWindow(form, GW_OWNER);
  if (owner != nullptr) EnableWindow(owner, TRUE);
  DestroyWindow(form);
  PostMessageA(nullptr, WM_QUIT, static_cast<WPARAM>(code), 0);
}

bool AnyFormOnScreen() {
  for (const FormKind& kind : kForms) {
    if (*kind.handle != nullptr && IsWindow(*kind.handle)) return true;
  }
  return false;
}

}  // namespace velomar
