// System DLLs that the first paint does not need (the file dialogs, MCI, the
// common controls, the shell) are loaded at the first call that needs them:
// under Wine comdlg32 alone brings in a dozen more modules, and a plain start
// then maps only kernel32, user32, gdi32 and the C runtime.
#pragma once

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>

namespace velomar {

// The function `name` of `dll`, loaded on first use; nullptr when either is
// missing.
template <typename Function>
Function LateCall(const char* dll, const char* name) {
  const HMODULE module = LoadLibraryA(dll);
  if (module == nullptr) return nullptr;
  // Through the one function type that converts to any other.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

namespace late {

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms);
MCIERROR mciSendCommandW(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms);
BOOL GetOpenFileNameW(OPENFILENAMEW* request);
BOOL GetSaveFileNameW(OPENFILENAMEW* request);
short GetFileTitleW(LPCWSTR path, LPWSTR title, WORD size);
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

}  // namespace late
}  // namespace velomar
