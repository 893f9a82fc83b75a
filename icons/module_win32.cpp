#include <windows.h>

#include <cstdint>

#include <algorithm>
#include <new>

#include "icons/module_resources.h"

namespace icotake {
namespace {

struct Enumeration {
  const std::function<void(const ResourceName&)>* visit;
  bool failed = false;
};

BOOL CALLBACK VisitGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
  auto& enumeration = *reinterpret_cast<Enumeration*>(context);
  // Nothing may be thrown through the system's callback.
  try {
    if (IS_INTRESOURCE(name)) {
      (*enumeration.visit)(ResourceName(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name))));
    } else {
      (*enumeration.visit)(ResourceName(std::string(name)));  // the text lives only during the call
    }
  } catch (...) {
    enumeration.failed = true;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK VisitLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context) {
  auto& languages = *reinterpret_cast<std::vector<std::uint16_t>*>(context);
  try {
    languages.push_back(language);
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

// The form the system's lookups take a resource name in; valid while name lives.
LPCSTR NameArgument(const ResourceName& name) {
  const auto* number = std::get_if<std::uint16_t>(&name);
  return number ? MAKEINTRESOURCEA(*number) : std::get<std::string>(name).c_str();
}

class Win32Module final : public ModuleResources {
 public:
  Win32Module(HMODULE module, std::uint64_t size) : module_(module), size_(size) {}
  Win32Module(const Win32Module&) = delete;
  Win32Module& operator=(const Win32Module&) = delete;
  ~Win32Module() override { FreeLibrary(module_); }

  bool EnumIconGroups(const std::function<void(const ResourceName&)>& visit) override {
    Enumeration enumeration{&visit};
    const BOOL enumerated = EnumResourceNamesA(module_, MAKEINTRESOURCEA(kGroupIconResource),
                                               VisitGroup, reinterpret_cast<LONG_PTR>(&enumeration));
    return enumerated && !enumeration.failed;
  }

  std::optional<std::vector<ListedResource>> ListIconGroups() override {
    std::vector<ListedResource> groups;
    if (!EnumIconGroups([&](const ResourceName& name) { groups.push_back({name, {}}); })) {
      return std::nullopt;
    }
    for (ListedResource& group : groups) {
      // The language list is as the module holds it; a failure leaves it empty, not the group.
      EnumResourceLanguagesA(module_, MAKEINTRESOURCEA(kGroupIconResource), NameArgument(group.name),
                             VisitLanguage, reinterpret_cast<LONG_PTR>(&group.languages));
    }
    return groups;
  }

  std::optional<Bytes> Find(std::uint16_t type, const ResourceName& name) override {
    return BytesOf(FindResourceA(module_, NameArgument(name), MAKEINTRESOURCEA(type)));
  }

  std::optional<Bytes> FindLanguage(std::uint16_t type, const ResourceName& name,
                                    std::uint16_t language) override {
    // FindResourceExA falls back to the neutral version when the language is missing; here
    // only that very language counts.
    std::vector<std::uint16_t> languages;
    EnumResourceLanguagesA(module_, MAKEINTRESOURCEA(type), NameArgument(name), VisitLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    if (std::find(languages.begin(), languages.end(), language) == languages.end()) {
      return std::nullopt;
    }
    return BytesOf(FindResourceExA(module_, MAKEINTRESOURCEA(type), NameArgument(name), language));
  }

  std::uint64_t fileSize() const override { return size_; }

 private:
  std::optional<Bytes> BytesOf(HRSRC resource) {
    if (resource == nullptr) return std::nullopt;
    HGLOBAL loaded = LoadResource(module_, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return std::nullopt;
    // A module loaded as a data file is the file mapped as it is, yet the loader hands out a
    // resource whose data entry points past the file's end all the same: reading it would fault.
    // The handle of such a module is the mapping's address with its low bits set.
    const auto base = reinterpret_cast<std::uintptr_t>(module_) & ~std::uintptr_t{3};
    const auto address = reinterpret_cast<std::uintptr_t>(bytes);
    const std::uint64_t size = SizeofResource(module_, resource);
    if (address < base || address - base > size_ || size > size_ - (address - base)) {
      return std::nullopt;
    }
    return Bytes(static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(size));
  }

  HMODULE module_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<ModuleResources> OpenWin32Module(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return nullptr;
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return nullptr;
  const std::uint64_t size =
      (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
  return std::make_unique<Win32Module>(module, size);
}

std::unique_ptr<ModuleResources> OpenModule(const std::string& path) {
  return OpenWin32Module(path);
}

}  // namespace icotake
