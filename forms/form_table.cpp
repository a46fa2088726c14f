#include "forms/forms.h"

namespace velomar {

namespace {

constexpr unsigned kLyricWindows =
    FormBit(Form::Main) | FormBit(Form::Kashi) | FormBit(Form::Mini) | FormBit(Form::KashiEdit);

const FormKind kForms[] = {
    {"Version", Form::Version, WS_EX_TOOLWINDOW, 230, 126, false, VersionFormProc, nullptr, 30, 25,
     false},
    {"Kashi", Form::Kashi, 0, 414, 466, true, KashiFormProc, nullptr, 3, 0, true},
    {"KashiList", Form::KashiList, 0, 499, 145, true, KashiListFormProc, nullptr, 30, 25, false},
    {"Mini", Form::Mini, WS_EX_TOOLWINDOW, 281, 90, false, MiniFormProc, nullptr, 10, 10, false},
    {"KashiEdit", Form::KashiEdit, 0, 556, 574, true, KashiEditFormProc, KashiEditKeys, 0, 3,
     false},
    {"PressOffset", Form::PressOffset, WS_EX_TOOLWINDOW, 340, 156, false, PressOffsetFormProc,
     PressOffsetKeys, 30, 25, false},
};

// The overlay's lock key comes to the main window, which holds it.
constexpr int kOverlayLockHotKey = 1;

const SharedKey kSharedKeys[] = {
    {WM_KEYDOWN, VK_F5, FormBit(Form::Main) | FormBit(Form::Kashi), KashiPressKey},
    {WM_KEYDOWN, VK_F5, FormBit(Form::KashiEdit), KashiEditWordKey},
    {WM_KEYDOWN, VK_F6, FormBit(Form::Main) | FormBit(Form::Kashi), KashiPressKey},
    {WM_KEYDOWN, VK_F4, FormBit(Form::Main) | FormBit(Form::Kashi), KashiPressKey},
    {WM_KEYDOWN, VK_F7, kLyricWindows, ShiftKey},
    {WM_KEYDOWN, VK_F8, kLyricWindows, ShiftKey},
    {WM_HOTKEY, kOverlayLockHotKey, FormBit(Form::Main), OverlayLockKey},
};

}  // namespace

void UseProgramForms() {
  UseForms(kForms, kSharedKeys);
  LyricFilePath = LyricFileChoice{};
}

}  // namespace velomar
