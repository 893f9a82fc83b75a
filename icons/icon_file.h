#pragma once
// Icon files (.ico): a 6-byte header, a 16-byte directory entry per image, then the images.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "icons/icon_set.h"

namespace icotake {

// The set an icon file holds: every image in directory order, taken from wherever its entry
// points. Nothing for a file that is not an icon file (reserved 0, type 1) or whose directory or
// images reach past its end. The directory's own descriptions of the images are not used.
std::optional<IconSet> ParseIconFile(Bytes file, std::string fileName = {});

// Why ParseIconFile gives nothing for the bytes, for a person ("image 2 reaches past the end of
// the file"); empty when it gives a set.
std::string IconFileProblem(Bytes file);

// The icon file for a set: images contiguous in set order, the directory described from the
// images themselves, biSizeImage written as 0 in every bitmap. Nothing when the file would not fit
// the format's 32-bit offsets.
std::optional<std::vector<std::uint8_t>> SerializeIconFile(const IconSet& set);

std::optional<IconSet> ReadIconFile(const std::string& path);

// Replaces path with the set's icon file only once the whole file is written: on failure an
// existing file stays as it was. True when written.
bool WriteIconFile(const IconSet& set, const std::string& path);

}  // namespace icotake
