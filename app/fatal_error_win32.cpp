#include <windows.h>

#include <algorithm>

#include "app/ending.h"
#include "app/fatal_error.h"
#include "app/program_texts.h"

namespace icotake {
namespace {

FatalErrorCleanup cleanupHook = nullptr;

}  // namespace

void SetFatalErrorCleanup(FatalErrorCleanup cleanup) { cleanupHook = cleanup; }

void FatalError(std::string_view message) {
  RaiseEnding();
  // On the stack: the heap may be what has run out.
  char text[1024];
  FormatFatalErrorText(message, text);
  char caption[8] = {};
  std::copy(texts::kErrorCaption.begin(), texts::kErrorCaption.end(), caption);
  MessageBoxA(nullptr, text, caption, MB_ICONERROR);
  if (cleanupHook != nullptr) cleanupHook();
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace icotake
