#pragma once
// A module's resources behind one small interface, with two backends: the system's loader on
// Windows (module_win32.cpp) and our own PE reader everywhere (module_pe.cpp).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "icons/pe_resources.h"

namespace icotake {

class ModuleResources {
 public:
  virtual ~ModuleResources() = default;

  // Calls visit with each icon group's name, in the order of the module's resource directory.
  // False when the module has no icon group or the enumeration fails.
  virtual bool EnumIconGroups(const std::function<void(const ResourceName&)>& visit) = 0;

  // Each icon group with the languages it exists in, in the order of EnumIconGroups; nothing
  // where EnumIconGroups fails.
  virtual std::optional<std::vector<ListedResource>> ListIconGroups() = 0;

  // A resource's bytes, valid while the module is open; nothing when it is missing.
  virtual std::optional<Bytes> Find(std::uint16_t type, const ResourceName& name) = 0;

  // Copies a resource that Find gave into out, replacing its content. Backends override it where
  // reading beats touching the mapped bytes.
  virtual bool CopyResource(Bytes resource, std::vector<std::uint8_t>& out) {
    out.assign(resource.begin(), resource.end());
    return true;
  }

  // The version of a resource in exactly this language, or nothing.
  virtual std::optional<Bytes> FindLanguage(std::uint16_t type, const ResourceName& name,
                                            std::uint16_t language) = 0;

  // The module file's size: no group is taken to hold more image bytes than this.
  virtual std::uint64_t fileSize() const = 0;
};

// Each opener gives nothing when the file is missing, unreadable or not a PE image.
using ModuleOpener = std::unique_ptr<ModuleResources> (*)(const std::string& path);

std::unique_ptr<ModuleResources> OpenPeModule(const std::string& path);
std::unique_ptr<ModuleResources> OpenWin32Module(const std::string& path);  // Windows builds only

// The platform's own: the system's loader on Windows, our reader elsewhere.
std::unique_ptr<ModuleResources> OpenModule(const std::string& path);

}  // namespace icotake
