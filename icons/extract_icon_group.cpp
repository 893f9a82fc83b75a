#include "icons/extract_icon_group.h"

#include <cstdio>

#include "base/file_io.h"
#include "icons/icon_file.h"

namespace icotake {
namespace {

constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;

bool IsModuleKind(std::string_view kind) { return kind == "exe" || kind == "dll" || kind == "icl"; }

}  // namespace

std::string PathKind(std::string_view path) {
  std::string kind(path.substr(path.size() >= 3 ? path.size() - 3 : 0));
  for (char& c : kind) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return kind;
}

std::string LanguageText(std::uint16_t language) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04x", static_cast<unsigned>(language));
  return text;
}

GroupLoad TryLoadIconGroup(ModuleResources& module, std::string_view modulePath,
                           const ResourceName& group, std::optional<std::uint16_t> language) {
  GroupLoad load;
  const auto* number = std::get_if<std::uint16_t>(&group);
  if (number ? *number == 0 : std::get<std::string>(group).empty()) {
    load.problem = "a group without number or name cannot be loaded";
    return load;
  }
  const std::optional<Bytes> groupBytes = language
                                              ? module.FindLanguage(kGroupIconResource, group, *language)
                                              : module.Find(kGroupIconResource, group);
  if (!groupBytes) {
    load.problem = language ? "no group resource in language " + LanguageText(*language)
                            : "group resource missing or outside the file";
    return load;
  }

  ByteReader entries(*groupBytes);
  const std::uint16_t count = entries.Skip(4).U16();
  // A group resource too short for the entries it counts is not a group.
  if (!entries.ok() || count > entries.remaining() / kGroupEntrySize) {
    load.problem = "group resource of " + std::to_string(groupBytes->size()) +
                   " bytes too short for its entries";
    return load;
  }

  IconSet set;
  set.moduleName = modulePath;
  set.images.resize(count);
  std::uint64_t total = 0;
  for (IconSetImage& image : set.images) {
    const std::uint16_t iconNumber = entries.Skip(12).U16();
    std::optional<Bytes> bytes;
    if (language) bytes = module.FindLanguage(kIconResource, iconNumber, *language);
    if (!bytes) bytes = module.Find(kIconResource, iconNumber);
    if (!bytes) {
      load.problem = "icon #" + std::to_string(iconNumber) + " missing or outside the file";
      return load;
    }
    // Entries may all name one icon; a set never holds more bytes than the module file has.
    total += bytes->size();
    if (total > module.fileSize()) {
      load.problem = "images add up to more bytes than the file holds";
      return load;
    }
    if (!module.CopyResource(*bytes, image.bytes)) {
      load.problem = "icon #" + std::to_string(iconNumber) + " cannot be read";
      return load;
    }
    FillImageInfo(image);
  }
  load.set = std::move(set);
  return load;
}

std::optional<IconSet> LoadIconGroup(ModuleResources& module, std::string_view modulePath,
                                     const ResourceName& group) {
  return TryLoadIconGroup(module, modulePath, group).set;
}

std::optional<IconSet> LoadIconGroup(const std::string& modulePath, const ResourceName& group) {
  const std::unique_ptr<ModuleResources> module = OpenModule(modulePath);
  if (!module) return std::nullopt;
  return LoadIconGroup(*module, modulePath, group);
}

std::optional<std::vector<std::uint8_t>> SerializeBitmapFile(const IconSetImage& image) {
  const Bytes bytes = image.bytes;
  ByteReader header(bytes);
  header.Skip(4);
  const std::int64_t width = header.I32();
  const std::int32_t halfHeight = header.I32() / 2;
  const std::uint64_t planes = header.U16();
  const std::uint64_t bitCount = header.U16();
  const std::uint64_t colorsUsed = header.Skip(16).U32();
  if (!header.Skip(4).ok() || IsPngImage(bytes) || width < 0) return std::nullopt;

  const std::uint64_t colors = colorsUsed != 0 ? colorsUsed
                               : bitCount == 1  ? 2
                               : bitCount == 4  ? 16
                               : bitCount == 8  ? 256
                                                : 0;
  const std::uint64_t rowBytes = (planes * bitCount * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
  const std::uint64_t rows = halfHeight < 0 ? -std::int64_t{halfHeight} : halfHeight;
  const std::uint64_t tableSize = 4 * colors;
  constexpr std::uint64_t kInfoHeaderSize = 40;
  constexpr std::uint64_t kFileHeaderSize = 14;
  // Each term is checked against the image before the next is added, so nothing can wrap.
  if (tableSize > bytes.size() || rowBytes > bytes.size() || (rows != 0 && rowBytes > bytes.size() / rows)) {
    return std::nullopt;
  }
  const std::uint64_t kept = kInfoHeaderSize + tableSize + rowBytes * rows;  // the mask is left out
  if (kept > bytes.size()) return std::nullopt;

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(kFileHeaderSize + kept));
  const auto put32 = [&out](std::uint64_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  out.push_back('B');
  out.push_back('M');
  put32(kFileHeaderSize + kept);
  put32(0);  // two reserved 16-bit fields
  put32(kFileHeaderSize + kInfoHeaderSize + tableSize);
  out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
  for (int i = 0; i < 4; ++i) {
    out[kFileHeaderSize + 8 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(halfHeight) >> (8 * i));
  }
  return out;
}

bool WriteBitmapFile(const IconSetImage& image, const std::string& path) {
  const std::optional<std::vector<std::uint8_t>> bytes = SerializeBitmapFile(image);
  return bytes && WriteFileReplacing(path, *bytes);
}

ExtractOutcome ExtractGroup(ModuleOpener openModule, std::string_view source, std::int32_t mode,
                            std::string_view outputPath, std::int32_t groupNumber) {
  if (mode != kWriteToFile && mode != kCopyToClipboard) mode = kCopyToClipboard;
  if (groupNumber < 1) groupNumber = 1;
  if (mode == kWriteToFile && outputPath.empty()) return {};

  ExtractOutcome outcome;
  // Out of memory, a group simply is not written; nothing is thrown to the caller.
  try {
    const std::string sourcePath(source);
    const std::string sourceKind = PathKind(source);
    std::optional<IconSet> set;
    std::unique_ptr<ModuleResources> module;
    std::optional<ResourceName> chosen;
    std::int32_t count = 0;
    if (sourceKind == "ico") {
      set = ReadIconFile(sourcePath);
      count = 1;  // an icon file is one group, readable or not
    } else if (IsModuleKind(sourceKind) && (module = openModule(sourcePath))) {
      const bool enumerated = module->EnumIconGroups([&](const ResourceName& name) {
        if (++count == groupNumber) chosen = name;
      });
      if (!enumerated) count = 0;
    }
    if (count == 0 || groupNumber > count) return {};
    outcome.groupCount = count;

    if (module) set = LoadIconGroup(*module, source, *chosen);
    if (!set) return outcome;
    if (mode == kCopyToClipboard) {
      outcome.written = !set->images.empty() && CopyImageToClipboard(set->images.front());
      return outcome;
    }
    const std::string outputKind = PathKind(outputPath);
    if (outputKind == "ico") {
      outcome.written = WriteIconFile(*set, std::string(outputPath));
    } else if (outputKind == "bmp" && !set->images.empty()) {
      outcome.written = WriteBitmapFile(set->images.front(), std::string(outputPath));
    }
  } catch (...) {
    outcome.written = false;
  }
  return outcome;
}

std::int32_t ExtractIconGroup(std::string_view source, std::int32_t mode,
                              std::string_view outputPath, std::int32_t groupNumber) {
  return ExtractGroup(OpenModule, source, mode, outputPath, groupNumber).groupCount;
}

}  // namespace icotake
