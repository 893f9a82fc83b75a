#pragma once
// The program's windows that are alive, and the message loop's start: when the last window is
// destroyed after the loop has begun, the loop is told to end.

#include <windows.h>

namespace icotake {

void AddLiveWindow(HWND window);
// Posts the quit message (code 0) when no window is left and the loop has started.
void RemoveLiveWindow(HWND window);
bool AnyLiveWindow();
void SetLoopStarted();

}  // namespace icotake
