#include "app/ending.h"

#include <cstdint>

namespace icotake {
namespace {

// One GUI thread: no synchronisation needed.
std::int32_t ending = 0;

}  // namespace

void RaiseEnding() { ++ending; }

bool IsEnding() { return ending > 0; }

}  // namespace icotake
