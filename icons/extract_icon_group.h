#pragma once
// Taking the n-th icon group out of a module or an icon file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "icons/icon_set.h"
#include "icons/module_resources.h"

namespace icotake {

// The last three bytes of a path (all of a shorter one), A to Z lower-cased: a file's kind is
// told by its name alone. No dot is needed: "setupexe" is of kind "exe".
std::string PathKind(std::string_view path);

// Group n of a module (1-based, in resource-directory order) into a new set, all images or
// nothing. The group is its number or name text; the number 0 and the empty name give nothing.
std::optional<IconSet> LoadIconGroup(ModuleResources& module, std::string_view modulePath,
                                     const ResourceName& group);
std::optional<IconSet> LoadIconGroup(const std::string& modulePath, const ResourceName& group);

struct GroupLoad {
  std::optional<IconSet> set;
  std::string problem;  // why there is no set, for a person ("icon #7 is missing")
};

// LoadIconGroup telling why a group cannot be loaded. With a language, the group's version in
// exactly that language, and each image in that language where the module has it (otherwise the
// version a lookup without language finds, as the group's own images may be shared).
GroupLoad TryLoadIconGroup(ModuleResources& module, std::string_view modulePath,
                           const ResourceName& group,
                           std::optional<std::uint16_t> language = std::nullopt);

// "0x0409": how a language is shown to a person.
std::string LanguageText(std::uint16_t language);

// A bitmap file of the image's colour bitmap, without its mask. Nothing for an image in PNG form
// or one shorter than its header says.
std::optional<std::vector<std::uint8_t>> SerializeBitmapFile(const IconSetImage& image);
bool WriteBitmapFile(const IconSetImage& image, const std::string& path);

// Puts the image on the clipboard as CF_DIB. Where there is no clipboard it copies nothing.
bool CopyImageToClipboard(const IconSetImage& image);

inline constexpr std::int32_t kWriteToFile = 0;
inline constexpr std::int32_t kCopyToClipboard = 1;

struct ExtractOutcome {
  std::int32_t groupCount = 0;  // what ExtractIconGroup answers
  bool written = false;         // whether the file was written or the clipboard filled
};

// ExtractIconGroup with the module backend to use, telling also whether anything was written.
ExtractOutcome ExtractGroup(ModuleOpener openModule, std::string_view source, std::int32_t mode,
                            std::string_view outputPath, std::int32_t groupNumber);

// Writes group groupNumber of source to outputPath (mode 0: an icon file for ".ico", the first
// image as a bitmap for ".bmp") or puts its first image on the clipboard (mode 1). Answers the
// number of groups the source holds (1 for an icon file), or 0 when groupNumber is larger, the
// source is of no known kind, cannot be opened or holds no group, or mode 0 has no outputPath.
// The answer does not say whether anything was written. A mode outside 0 and 1 counts as 1, a
// groupNumber below 1 as 1.
std::int32_t ExtractIconGroup(std::string_view source, std::int32_t mode = kCopyToClipboard,
                              std::string_view outputPath = {}, std::int32_t groupNumber = 1);

}  // namespace icotake
