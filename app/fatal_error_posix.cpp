#include <unistd.h>

#include <cstdlib>

#include "app/ending.h"
#include "app/fatal_error.h"

namespace icotake {
namespace {

FatalErrorCleanup cleanupHook = nullptr;

}  // namespace

void SetFatalErrorCleanup(FatalErrorCleanup cleanup) { cleanupHook = cleanup; }

// Without a desktop the box is the standard error stream; the text stays in code page 936, as the
// program's texts are.
void FatalError(std::string_view message) {
  RaiseEnding();
  char text[1024];
  const std::size_t size = FormatFatalErrorText(message, text);
  [[maybe_unused]] const auto written = ::write(STDERR_FILENO, text, size);
  if (cleanupHook != nullptr) cleanupHook();
  std::_Exit(-1 & 0xFF);
}

}  // namespace icotake
