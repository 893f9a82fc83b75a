#include "icons/extract_icon_group.h"

namespace icotake {

// This platform has no clipboard of the system's to put an image on.
bool CopyImageToClipboard(const IconSetImage&) { return false; }

}  // namespace icotake
