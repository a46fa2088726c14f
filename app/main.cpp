#include <windows.h>

#include "app/shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { ExitProcess(velomar::RunProgram()); }
