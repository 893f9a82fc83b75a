#pragma once
// The block behind a CF_HDROP handle comes from another program. DragQueryFile walks it without
// looking at its size, so the drop target checks it first.

#include "base/byte_reader.h"

namespace icotake {

// The DROPFILES header: the list's offset, the drop point, fNC, fWide; 32-bit values.
inline constexpr std::size_t kDropFilesHeaderSize = 20;

// True when the block holds a DROPFILES header whose list offset lies inside the block, and from
// there names ending in NUL (bytes, or UTF-16 units when fWide is set) up to an empty name that
// also lies inside the block. An empty list (the empty name alone) is well formed.
bool IsWellFormedDropFiles(Bytes block);

}  // namespace icotake
