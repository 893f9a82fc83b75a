#pragma once
// Our reader of a PE module's resources (PE32 and PE32+), over the module's bytes as a file.
//
// It finds resources as the system's loader does for a module loaded as a data file: the resource
// directory's RVA from the optional header, RVAs turned into file offsets through the section
// table, and the three directory levels type, name, language.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/byte_reader.h"

namespace icotake {

// A resource is named by a number or by a name text (narrow text: see base/text_encoding.h).
using ResourceName = std::variant<std::uint16_t, std::string>;

inline constexpr std::uint16_t kIconResource = 3;        // RT_ICON
inline constexpr std::uint16_t kGroupIconResource = 14;  // RT_GROUP_ICON

// Where a module holds a resource in several languages, the one loaded is the first present of:
// neutral (0x0000), neutral with the default sublanguage (0x0400), US English (0x0409), and
// otherwise the first in the directory. This is the system loader's order for a lookup that names
// no language, less the user's and the system's own languages, which a module file cannot know.
inline constexpr std::uint16_t kPreferredLanguages[] = {0x0000, 0x0400, 0x0409};

// One resource of a type, with the languages it exists in, in directory order.
struct ListedResource {
  ResourceName name;
  std::vector<std::uint16_t> languages;
};

struct ResourceListing {
  std::vector<ListedResource> resources;  // named ones first, in directory order
  // Why the type's directory cannot be read, for a person ("truncated resource directory at
  // offset 0x2F8"); empty when it was read whole. A module without the type lists none and has
  // no problem.
  std::string problem;
};

class PeResources {
 public:
  // Nothing when the bytes are not a PE image: no "MZ", no "PE\0\0" at e_lfanew, or an optional
  // header that is neither PE32 nor PE32+. A module without resources parses, with none.
  static std::optional<PeResources> Parse(Bytes file);

  // Calls visit with the name of each resource of the type, named ones first, in directory order.
  // False when the type has none, or when its directory reaches outside the file or points back
  // at itself or the root; then visit has not been called.
  bool EnumNames(std::uint16_t type, const std::function<void(const ResourceName&)>& visit) const;

  // The bytes of a resource, or nothing when it is missing or lies outside the file. A name text
  // "#123" names the number 123, and name texts match regardless of ASCII case, as the system's
  // lookup does.
  std::optional<Bytes> Find(std::uint16_t type, const ResourceName& name) const;

  // The version of a resource in exactly this language, or nothing.
  std::optional<Bytes> Find(std::uint16_t type, const ResourceName& name,
                            std::uint16_t language) const;

  // Every resource of the type with its languages; where EnumNames fails, the reason why.
  ResourceListing List(std::uint16_t type) const;

 private:
  struct Directory {
    std::uint32_t offset = 0;  // from the start of the resource directory
    std::uint16_t namedCount = 0;
    std::uint16_t idCount = 0;
    std::uint32_t count() const { return std::uint32_t{namedCount} + idCount; }
  };
  struct Entry {
    std::uint32_t name = 0;
    std::uint32_t target = 0;
    bool hasName() const { return (name & 0x80000000u) != 0; }
    bool isDirectory() const { return (target & 0x80000000u) != 0; }
    std::uint32_t targetOffset() const { return target & 0x7FFFFFFFu; }
  };

  std::optional<Directory> ReadDirectory(std::uint32_t offset) const;
  Entry EntryAt(const Directory& directory, std::uint32_t index) const;
  std::optional<std::u16string> EntryName(const Entry& entry) const;
  std::optional<Entry> FindNumbered(const Directory& directory, std::uint16_t number) const;
  std::optional<Directory> TypeDirectory(std::uint16_t type, std::string* problem = nullptr) const;
  std::optional<Directory> LanguageDirectory(std::uint16_t type, const ResourceName& name) const;
  std::optional<Bytes> DataOf(const Entry& entry) const;
  std::optional<std::uint64_t> FileOffsetOf(std::uint32_t rva) const;
  std::string AtOffset(std::string_view what, std::uint64_t offset) const;

  Bytes file_;
  Bytes sectionTable_;
  std::uint32_t sizeOfHeaders_ = 0;
  Bytes resources_;  // from the resource directory's start to the end of the file
  std::uint64_t resourcesOffset_ = 0;  // where resources_ begins in the file
  std::string rootProblem_;  // why a resource directory that the header names cannot be reached
};

}  // namespace icotake
