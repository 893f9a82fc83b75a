#include "shell/drop_files.h"

namespace icotake {

bool IsWellFormedDropFiles(Bytes block) {
  ByteReader header(block);
  const std::uint32_t listOffset = header.U32();
  header.Skip(12);  // the drop point and fNC
  const bool wide = header.U32() != 0;
  if (!header.ok()) return false;

  ByteReader list(block);
  list.Seek(listOffset);
  // Each name needs at least one unit, so the walk ends within remaining() / unit steps.
  bool nameIsEmpty = true;
  while (list.ok()) {
    const std::uint32_t unit = wide ? list.U16() : list.U8();
    if (!list.ok()) return false;
    if (unit == 0) {
      if (nameIsEmpty) return true;  // the empty name that ends the list
      nameIsEmpty = true;
    } else {
      nameIsEmpty = false;
    }
  }
  return false;
}

}  // namespace icotake
