// System DLLs that the first paint does not need (the file dialogs, MCI and
// the wave output, the audio codecs, the common controls, the shell) are
// loaded at the first call that needs them: under Wine comdlg32 alone brings
// in a dozen more modules, and a plain start then maps only kernel32,
// user32, gdi32 and the C runtime.
#pragma once

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
// after mmsystem.h, which they need
#include <mmreg.h>
// after mmreg.h, which it needs
#include <msacm.h>

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

// The wave output of the slowed songs (winmm).
MMRESULT waveOutOpen(HWAVEOUT* out, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags);
MMRESULT waveOutClose(HWAVEOUT out);
MMRESULT waveOutPrepareHeader(HWAVEOUT out, WAVEHDR* header, UINT size);
MMRESULT waveOutUnprepareHeader(HWAVEOUT out, WAVEHDR* header, UINT size);
MMRESULT waveOutWrite(HWAVEOUT out, WAVEHDR* header, UINT size);
MMRESULT waveOutPause(HWAVEOUT out);
MMRESULT waveOutReset(HWAVEOUT out);

// The audio codecs that decode an mp3 (msacm32).
MMRESULT acmStreamOpen(HACMSTREAM* stream, WAVEFORMATEX* from, WAVEFORMATEX* to);
MMRESULT acmStreamSize(HACMSTREAM stream, DWORD input, DWORD* output, DWORD flags);
MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header);
MMRESULT acmStreamConvert(HACMSTREAM stream, ACMSTREAMHEADER* header, DWORD flags);
MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header);
MMRESULT acmStreamClose(HACMSTREAM stream);

}  // namespace late
}  // namespace velomar
