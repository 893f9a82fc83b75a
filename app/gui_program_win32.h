#pragma once
// icotake-gui.exe from start to end: start-up (OLE, the program's folder, the form, the window),
// the message loop, and the end.

#include <windows.h>

namespace icotake {

// Work run whenever the message queue is empty, before the loop waits for the next message.
using IdleWork = void (*)();

// The whole program; answers the exit code (0, the quit message's code). A failure on the way
// ends the process through FatalError instead.
int RunGuiProgram(HINSTANCE instance, IdleWork idleWork = nullptr);

}  // namespace icotake
