// The lyric editor's list: its columns, and the text of each cell, made when
// the list asks for it, so that 3001 lines open as fast as a few.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "lyrics/lyric_edit.h"

namespace velomar {

void AddEditorColumns(HWND list);

// LVN_GETDISPINFOW: the cell's text from the lyrics, and the marks worked
// out at their latest change.
void ShowEditorCell(NMLVDISPINFOW& info, const LineMarks& marks);

}  // namespace velomar
