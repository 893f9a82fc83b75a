#pragma once
// Small PE modules built in code, with a resource directory laid out as a linker lays it out:
// types and names as given, named entries first and sorted, numbers ascending, languages ascending.

#include <cstdint>
#include <string>
#include <vector>

#include "icons/pe_resources.h"
#include "tests/fixtures.h"

namespace icotake::test {

// The resource section's place in every module built here.
inline constexpr std::uint32_t kResourceFileOffset = 0x200;
inline constexpr std::uint32_t kResourceRva = 0x1000;

// An RT_GROUP_ICON resource naming these RT_ICON numbers; the entries' descriptions are zeros.
ByteVector GroupResource(const std::vector<std::uint16_t>& iconNumbers);

class PeBuilder {
 public:
  PeBuilder& Add(std::uint16_t type, const ResourceName& name, ByteVector data,
                 std::uint16_t language = 0x0409);

  // A group of images, stored as icons numbered from firstIcon on.
  PeBuilder& AddIconGroup(const ResourceName& name, const std::vector<ByteVector>& images,
                          std::uint16_t firstIcon, std::uint16_t language = 0x0409);

  ByteVector Build(bool pe32Plus = false) const;

 private:
  struct Resource {
    std::uint16_t type;
    ResourceName name;
    std::uint16_t language;
    ByteVector data;
  };
  std::vector<Resource> resources_;
};

}  // namespace icotake::test
