#include "app/live_windows_win32.h"

#include <algorithm>
#include <vector>

namespace icotake {
namespace {

// One GUI thread: no synchronisation needed.
std::vector<HWND> liveWindows;
bool loopStarted = false;

}  // namespace

void AddLiveWindow(HWND window) { liveWindows.push_back(window); }

void RemoveLiveWindow(HWND window) {
  std::erase(liveWindows, window);
  if (liveWindows.empty() && loopStarted) PostQuitMessage(0);
}

bool AnyLiveWindow() { return !liveWindows.empty(); }

void SetLoopStarted() { loopStarted = true; }

}  // namespace icotake
