#include <windows.h>

#include "app/given_files.h"
#include "app/shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ExitProcess(velomar::RunProgram(velomar::CommandLineFiles()));
}
