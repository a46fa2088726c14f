#include "forms/forms.h"

namespace velomar {

namespace {

const FormKind kForms[] = {
    {"Version", &VersionWindow, WS_EX_TOOLWINDOW, 230, 126, false, VersionFormProc, nullptr},
    {"Kashi", &KashiWindow, 0, 414, 426, true, KashiFormProc, KashiKeys},
    {"KashiList", &KashiListWindow, 0, 499, 145, true, KashiListFormProc, nullptr},
    // The shift keys work in every lyric window; the host asks each row's keys.
    {"Mini", &MiniWindow, WS_EX_TOOLWINDOW, 281, 90, false, MiniFormProc, ShiftKeys},
    {"KashiEdit", &KashiEditWindow, 0, 556, 470, true, KashiEditFormProc, KashiEditKeys},
};

}  // namespace

void UseProgramForms() { UseForms(kForms); }

}  // namespace velomar
