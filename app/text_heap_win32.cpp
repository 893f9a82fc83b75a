#include <windows.h>

#include "app/fatal_error.h"
#include "app/text.h"

namespace icotake {

// Texts come from the process heap.
void* AllocateTextBytes(std::size_t size) {
  void* block = HeapAlloc(GetProcessHeap(), 0, size);
  if (block == nullptr) FatalError(AllocationFailureMessage(size).view());
  return block;
}

void FreeTextBytes(void* block) { HeapFree(GetProcessHeap(), 0, block); }

}  // namespace icotake
