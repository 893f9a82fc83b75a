// icotake-gui-fatal-probe.exe: icotake-gui.exe's own start-up, window and loop, whose text heap
// runs out once the loop waits for input, so that the end-to-end tests see the FatalError box
// over the live window and the process end with exit code -1. Test-only: the product has no
// such trigger.
#include <windows.h>

#include <cstddef>
#include <limits>

#include "app/gui_program_win32.h"
#include "app/text.h"

namespace {

// More than any heap can give: HeapAlloc answers null and AllocateTextBytes calls FatalError.
constexpr std::size_t kTooLarge = std::numeric_limits<std::size_t>::max() / 2;

void ExhaustTextHeap() { icotake::AllocateTextBytes(kTooLarge); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return icotake::RunGuiProgram(instance, ExhaustTextHeap);
}
