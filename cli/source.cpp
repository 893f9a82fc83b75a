#include "cli/source.h"

#include <algorithm>

#include "base/file_io.h"
#include "icons/icon_file.h"
#include "shell/shortcut.h"

namespace icotake::cli {
namespace {

constexpr std::uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint32_t kShellLinkHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as stored.
constexpr std::uint8_t kShellLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

OpenedSource Failed(std::string problem, bool holdsNoIcons = false) {
  OpenedSource opened;
  opened.problem = std::move(problem);
  opened.holdsNoIcons = holdsNoIcons;
  return opened;
}

// Our reader's view of the module, before the backend opens it: what stops it from giving
// groups, in words a person can act on. Empty when the groups can be read.
std::pair<std::string, bool> ModuleProblem(Bytes file) {
  const std::optional<PeResources> pe = PeResources::Parse(file);
  if (!pe) return {"not a PE module (damaged or truncated PE header)", false};
  const ResourceListing listing = pe->List(kGroupIconResource);
  if (!listing.problem.empty()) return {listing.problem, false};
  if (listing.resources.empty()) return {"no icon groups", true};
  return {};
}

}  // namespace

// A shortcut's groups are its target's. Our reader serves every platform here: it gives the
// shell-link object's texts and needs no OLE. A shortcut to a shortcut is not followed.
OpenedSource OpenShortcutTarget(const std::string& path, ModuleOpener openModule) {
  std::string target;
  ResolveShortcutTargetWith(LoadShellLinkFile, path, ShortcutDetails{.targetPath = &target});
  if (target.empty()) return Failed("shortcut without a target path, or damaged");
  if (const std::optional<MappedFile> file = MappedFile::Open(target);
      file && DetectSourceKind(file->bytes()) == SourceKind::kShortcut) {
    return Failed("a shortcut to a shortcut (" + target + ")");
  }
  OpenedSource opened = OpenSource(target, openModule);
  if (!opened.source) {
    opened.problem = "target " + target + ": " + opened.problem;
    return opened;
  }
  opened.source->path = path;
  opened.source->kind = SourceKind::kShortcut;
  opened.source->target = target;
  return opened;
}

SourceKind DetectSourceKind(Bytes file) {
  ByteReader r(file);
  const std::uint16_t first = r.U16();
  if (r.ok() && first == kDosSignature) {
    const std::uint32_t peOffset = r.Seek(0x3C).U32();
    const std::uint32_t signature = r.Seek(peOffset).U32();
    return r.ok() && signature == kPeSignature ? SourceKind::kModule : SourceKind::kUnknown;
  }
  const std::uint16_t type = r.U16();
  if (r.ok() && first == 0 && type == 1) return SourceKind::kIconFile;
  const std::optional<Bytes> classId = SubBytes(file, 4, sizeof kShellLinkClassId);
  if (ByteReader(file).U32() == kShellLinkHeaderSize && classId &&
      std::equal(classId->begin(), classId->end(), std::begin(kShellLinkClassId))) {
    return SourceKind::kShortcut;
  }
  return SourceKind::kUnknown;
}

const char* KindName(SourceKind kind) {
  switch (kind) {
    case SourceKind::kModule: return "module";
    case SourceKind::kIconFile: return "icon file";
    case SourceKind::kShortcut: return "shortcut";
    case SourceKind::kUnknown: break;
  }
  return "unknown";
}

std::string NameText(const SourceGroup& group) {
  if (!group.name) return {};
  if (const auto* number = std::get_if<std::uint16_t>(&*group.name)) {
    return "#" + std::to_string(*number);
  }
  return std::get<std::string>(*group.name);
}

GroupLoad Source::Load(const SourceGroup& group, std::optional<std::uint16_t> language) {
  if (module && group.name) return TryLoadIconGroup(*module, path, *group.name, language);
  GroupLoad load;
  if (!iconFile) {
    load.problem = "no group to load";
  } else if (language) {
    load.problem = "an icon file has no languages";
  } else {
    load.set = iconFile;
  }
  return load;
}

OpenedSource OpenSource(const std::string& path, ModuleOpener openModule) {
  // Out of memory on a forged file, the file fails on its own; the others go on.
  try {
    Source source;
    source.path = path;
    {
      // The mapping is closed before the backend opens the file: on Windows it is not shared.
      const std::optional<MappedFile> file = MappedFile::Open(path);
      if (!file) return Failed("cannot be opened for reading");
      const Bytes bytes = file->bytes();
      source.kind = DetectSourceKind(bytes);
      switch (source.kind) {
        case SourceKind::kUnknown: {
          const bool dos = bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
          return Failed(dos ? "not a PE module (an MS-DOS or 16-bit program)"
                            : "not a PE module, icon file or shortcut",
                        true);
        }
        case SourceKind::kShortcut:
          return OpenShortcutTarget(path, openModule);
        case SourceKind::kIconFile: {
          const std::string problem = IconFileProblem(bytes);
          if (!problem.empty()) return Failed(problem);
          source.iconFile = ParseIconFile(bytes, path);
          source.groups.push_back({1, std::nullopt, {}});
          return {std::move(source), {}, false};
        }
        case SourceKind::kModule: {
          auto [problem, holdsNoIcons] = ModuleProblem(bytes);
          if (!problem.empty()) return Failed(std::move(problem), holdsNoIcons);
          break;
        }
      }
    }
    source.module = openModule(path);
    if (!source.module) return Failed("the system's loader cannot open it as a module");
    const std::optional<std::vector<ListedResource>> groups = source.module->ListIconGroups();
    if (!groups) return Failed("the system's loader finds no icon groups in it");
    for (const ListedResource& group : *groups) {
      const auto position = static_cast<std::uint32_t>(source.groups.size() + 1);
      source.groups.push_back({position, group.name, group.languages});
    }
    return {std::move(source), {}, false};
  } catch (const std::bad_alloc&) {
    return Failed("out of memory");
  }
}

}  // namespace icotake::cli
