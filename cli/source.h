#pragma once
// One input opened for listing or extraction: its kind told from its content, its icon groups in
// the order the platform's module backend reports them, and a way to load each group.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "icons/extract_icon_group.h"
#include "icons/module_resources.h"

namespace icotake::cli {

enum class SourceKind { kUnknown, kModule, kIconFile, kShortcut };

// What the first bytes say: "MZ" with "PE\0\0" where e_lfanew points, an icon-file header
// (0, 1), or a shell-link header (size 0x4C and the shell-link class). kUnknown otherwise, and
// for an MS-DOS or 16-bit program, whose "MZ" leads to no PE header.
SourceKind DetectSourceKind(Bytes file);
const char* KindName(SourceKind kind);  // "module", "icon file", "shortcut"

struct SourceGroup {
  std::uint32_t position = 0;         // 1-based, as the output files are numbered
  std::optional<ResourceName> name;   // none for an icon file, which is one unnamed group
  std::vector<std::uint16_t> languages;
};

// "#101" for a number, the name itself for a name, "" for an icon file's group.
std::string NameText(const SourceGroup& group);

struct Source {
  std::string path;
  SourceKind kind = SourceKind::kUnknown;
  std::string target;  // a shortcut's target, whose groups these are
  std::vector<SourceGroup> groups;

  // The group's images, or why not. With a language, that language's version of the group.
  GroupLoad Load(const SourceGroup& group, std::optional<std::uint16_t> language);

  std::unique_ptr<ModuleResources> module;  // for a module
  std::optional<IconSet> iconFile;          // for an icon file
};

struct OpenedSource {
  std::optional<Source> source;
  std::string problem;  // why there is none, for a person
  // The file holds no icon groups at all (no module, icon file or shortcut, or a module without
  // groups), as opposed to one that is damaged: a folder walk passes over it quietly.
  bool holdsNoIcons = false;
};

// Opens path and reads its groups with openModule (the platform's own backend by default).
OpenedSource OpenSource(const std::string& path, ModuleOpener openModule = OpenModule);

// The groups of a shortcut's target, under the shortcut's path.
OpenedSource OpenShortcutTarget(const std::string& path, ModuleOpener openModule);

}  // namespace icotake::cli
