// icotake-gui.exe: takes no command line.
#include <windows.h>

#include "app/gui_program_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return icotake::RunGuiProgram(instance); }
