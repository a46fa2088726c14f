#include "app/form_host.h"
#include "forms/forms.h"

namespace velomar {

LRESULT CALLBACK KashiListFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: CloseForm(window, 0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace velomar

namespace velomar {
std::string LyricFilePath;
}
