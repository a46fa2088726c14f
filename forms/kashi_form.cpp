#include "app/form_host.h"
#include "forms/forms.h"

namespace velomar {

LRESULT CALLBACK KashiFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: CloseForm(window, 0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace velomar
