#include <cstdlib>

#include "app/fatal_error.h"
#include "app/text.h"

namespace icotake {

void* AllocateTextBytes(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) FatalError(AllocationFailureMessage(size).view());
  return block;
}

void FreeTextBytes(void* block) { std::free(block); }

}  // namespace icotake
