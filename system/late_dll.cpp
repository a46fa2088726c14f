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

// The calls below answer MMSYSERR_NODRIVER when their DLL is missing.
#define VELOMAR_LATE(dll, name, params, args)                                      \
  MMRESULT name params {                                                           \
    using Call = MMRESULT(WINAPI*) params;                                         \
    static const Call call = LateCall<Call>(dll, #name);                           \
    return call != nullptr ? call args : static_cast<MMRESULT>(MMSYSERR_NODRIVER); \
  }

VELOMAR_LATE("winmm.dll", waveOutOpen,
             (HWAVEOUT * out, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
              DWORD_PTR instance, DWORD flags),
             (out, device, format, callback, instance, flags))
VELOMAR_LATE("winmm.dll", waveOutClose, (HWAVEOUT out), (out))
VELOMAR_LATE("winmm.dll", waveOutPrepareHeader, (HWAVEOUT out, WAVEHDR* header, UINT size),
             (out, header, size))
VELOMAR_LATE("winmm.dll", waveOutUnprepareHeader, (HWAVEOUT out, WAVEHDR* header, UINT size),
             (out, header, size))
VELOMAR_LATE("winmm.dll", waveOutWrite, (HWAVEOUT out, WAVEHDR* header, UINT size),
             (out, header, size))
VELOMAR_LATE("winmm.dll", waveOutPause, (HWAVEOUT out), (out))
VELOMAR_LATE("winmm.dll", waveOutReset, (HWAVEOUT out), (out))
VELOMAR_LATE("msacm32.dll", acmStreamSize,
             (HACMSTREAM stream, DWORD input, DWORD* output, DWORD flags),
             (stream, input, output, flags))
VELOMAR_LATE("msacm32.dll", acmStreamConvert,
             (HACMSTREAM stream, ACMSTREAMHEADER* header, DWORD flags), (stream, header, flags))
#undef VELOMAR_LATE

// The three below take fixed extras, so the program's calls stay short.
MMRESULT acmStreamOpen(HACMSTREAM* stream, WAVEFORMATEX* from, WAVEFORMATEX* to) {
  using Call = MMRESULT(WINAPI*)(HACMSTREAM*, HACMDRIVER, WAVEFORMATEX*, WAVEFORMATEX*, WAVEFILTER*,
                                 DWORD_PTR, DWORD_PTR, DWORD);
  static const Call call = LateCall<Call>("msacm32.dll", "acmStreamOpen");
  return call != nullptr
             ? call(stream, nullptr, from, to, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME)
             : static_cast<MMRESULT>(MMSYSERR_NODRIVER);
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header) {
  using Call = MMRESULT(WINAPI*)(HACMSTREAM, ACMSTREAMHEADER*, DWORD);
  static const Call call = LateCall<Call>("msacm32.dll", "acmStreamPrepareHeader");
  return call != nullptr ? call(stream, header, 0) : static_cast<MMRESULT>(MMSYSERR_NODRIVER);
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header) {
  using Call = MMRESULT(WINAPI*)(HACMSTREAM, ACMSTREAMHEADER*, DWORD);
  static const Call call = LateCall<Call>("msacm32.dll", "acmStreamUnprepareHeader");
  return call != nullptr ? call(stream, header, 0) : static_cast<MMRESULT>(MMSYSERR_NODRIVER);
}

MMRESULT acmStreamClose(HACMSTREAM stream) {
  using Call = MMRESULT(WINAPI*)(HACMSTREAM, DWORD);
  static const Call call = LateCall<Call>("msacm32.dll", "acmStreamClose");
  return call != nullptr ? call(stream, 0) : static_cast<MMRESULT>(MMSYSERR_NODRIVER);
}

}  // namespace velomar::late
