#include "system/late_dll.h"

// Each function is looked up once, at its first call.
namespace velomar::late {

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms) {
  using Call = MCIERROR(WINAPI*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
  static const Call call = LateCall<Call>("winmm.dll", "mciSendCommandA");
  return call != nullptr ? call(device, message, flags, parms) : MCIERR_DEVICE_NOT_INSTALLED;
}

MCIERROR mciSendCommandW(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms) {
  using Call = MCIERROR(WINAPI*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
  static const Call call = LateCall<Call>("winmm.dll", "mciSendCommandW");
  return call != nullptr ? call(device, message, flags, parms) : MCIERR_DEVICE_NOT_INSTALLED;
}

BOOL GetOpenFileNameW(OPENFILENAMEW* request) {
  using Call = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const Call call = LateCall<Call>("comdlg32.dll", "GetOpenFileNameW");
  return call != nullptr ? call(request) : FALSE;
}

BOOL GetSaveFileNameW(OPENFILENAMEW* request) {
  using Call = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const Call call = LateCall<Call>("comdlg32.dll", "GetSaveFileNameW");
  return call != nullptr ? call(request) : FALSE;
}

short GetFileTitleW(LPCWSTR path, LPWSTR title, WORD size) {
  using Call = short(WINAPI*)(LPCWSTR, LPWSTR, WORD);
  static const Call call = LateCall<Call>("comdlg32.dll", "GetFileTitleW");
  return call != nullptr ? call(path, title, size) : -1;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
  using Call = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const Call call = LateCall<Call>("comctl32.dll", "InitCommonControlsEx");
  return call != nullptr ? call(classes) : FALSE;
}

BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
  using Call = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
  static const Call call = LateCall<Call>("winmm.dll", "PlaySoundA");
  return call != nullptr && call(sound, module, flags);
}

}  // namespace velomar::late
