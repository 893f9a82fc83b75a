#include "tests/pe_builder.h"

#include <algorithm>
#include <map>

#include "base/text_encoding.h"

namespace icotake::test {
namespace {

std::size_t Align(std::size_t value, std::size_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// Named entries first, in the order of their upper-case names; then numbers ascending.
struct NameOrder {
  bool operator()(const ResourceName& a, const ResourceName& b) const {
    if (a.index() != b.index()) return a.index() > b.index();  // the text (index 1) first
    return a < b;
  }
};

}  // namespace

ByteVector GroupResource(const std::vector<std::uint16_t>& iconNumbers) {
  ByteVector group(6 + 14 * iconNumbers.size());
  Put16(group, 2, 1);
  Put16(group, 4, static_cast<std::uint16_t>(iconNumbers.size()));
  for (std::size_t i = 0; i < iconNumbers.size(); ++i) Put16(group, 6 + 14 * i + 12, iconNumbers[i]);
  return group;
}

PeBuilder& PeBuilder::Add(std::uint16_t type, const ResourceName& name, ByteVector data,
                          std::uint16_t language) {
  resources_.push_back({type, name, language, std::move(data)});
  return *this;
}

PeBuilder& PeBuilder::AddIconGroup(const ResourceName& name, const std::vector<ByteVector>& images,
                                   std::uint16_t firstIcon, std::uint16_t language) {
  std::vector<std::uint16_t> numbers;
  for (const ByteVector& image : images) {
    numbers.push_back(static_cast<std::uint16_t>(firstIcon + numbers.size()));
    Add(kIconResource, numbers.back(), image, language);
  }
  return Add(kGroupIconResource, name, GroupResource(numbers), language);
}

ByteVector PeBuilder::Build(bool pe32Plus) const {
  // type -> name -> language -> resource
  std::map<std::uint16_t, std::map<ResourceName, std::map<std::uint16_t, const Resource*>, NameOrder>> tree;
  for (const Resource& r : resources_) tree[r.type][r.name][r.language] = &r;

  // Directories first, then data entries, then name strings, then the data.
  std::size_t directoriesSize = 16 + 8 * tree.size();
  std::size_t dataEntries = 0;
  std::size_t stringsSize = 0;
  for (const auto& [type, names] : tree) {
    directoriesSize += 16 + 8 * names.size();
    for (const auto& [name, languages] : names) {
      directoriesSize += 16 + 8 * languages.size();
      dataEntries += languages.size();
      if (const auto* text = std::get_if<std::string>(&name)) stringsSize += 2 + 2 * Utf16FromUtf8(*text).size();
    }
  }
  const std::size_t entriesStart = directoriesSize;
  const std::size_t stringsStart = entriesStart + 16 * dataEntries;
  std::size_t dataStart = Align(stringsStart + stringsSize, 8);
  std::size_t dataSize = 0;
  for (const Resource& r : resources_) dataSize += Align(r.data.size(), 8);

  ByteVector section(dataStart + dataSize);
  std::size_t nextDirectory = 0, nextEntry = entriesStart, nextString = stringsStart, nextData = dataStart;
  const auto directory = [&](std::size_t named, std::size_t ids) {
    const std::size_t at = nextDirectory;
    Put16(section, at + 12, static_cast<std::uint16_t>(named));
    Put16(section, at + 14, static_cast<std::uint16_t>(ids));
    nextDirectory += 16 + 8 * (named + ids);
    return at;
  };
  const auto nameField = [&](const ResourceName& name) -> std::uint32_t {
    if (const auto* number = std::get_if<std::uint16_t>(&name)) return *number;
    const std::u16string units = Utf16FromUtf8(std::get<std::string>(name));
    const std::size_t at = nextString;
    Put16(section, at, static_cast<std::uint16_t>(units.size()));
    for (std::size_t i = 0; i < units.size(); ++i) Put16(section, at + 2 + 2 * i, units[i]);
    nextString += 2 + 2 * units.size();
    return 0x80000000u | static_cast<std::uint32_t>(at);
  };

  const std::size_t root = directory(0, tree.size());
  std::size_t typeIndex = 0;
  for (const auto& [type, names] : tree) {
    const std::size_t namedCount = static_cast<std::size_t>(std::count_if(
        names.begin(), names.end(), [](const auto& n) { return n.first.index() == 1; }));
    const std::size_t typeDirectory = directory(namedCount, names.size() - namedCount);
    Put32(section, root + 16 + 8 * typeIndex, type);
    Put32(section, root + 16 + 8 * typeIndex + 4, 0x80000000u | static_cast<std::uint32_t>(typeDirectory));
    ++typeIndex;
    std::size_t nameIndex = 0;
    for (const auto& [name, languages] : names) {
      const std::size_t languageDirectory = directory(0, languages.size());
      Put32(section, typeDirectory + 16 + 8 * nameIndex, nameField(name));
      Put32(section, typeDirectory + 16 + 8 * nameIndex + 4,
            0x80000000u | static_cast<std::uint32_t>(languageDirectory));
      ++nameIndex;
      std::size_t languageIndex = 0;
      for (const auto& [language, resource] : languages) {
        Put32(section, languageDirectory + 16 + 8 * languageIndex, language);
        Put32(section, languageDirectory + 16 + 8 * languageIndex + 4, static_cast<std::uint32_t>(nextEntry));
        ++languageIndex;
        Put32(section, nextEntry, static_cast<std::uint32_t>(kResourceRva + nextData));
        Put32(section, nextEntry + 4, static_cast<std::uint32_t>(resource->data.size()));
        nextEntry += 16;
        std::copy(resource->data.begin(), resource->data.end(), section.begin() + static_cast<std::ptrdiff_t>(nextData));
        nextData += Align(resource->data.size(), 8);
      }
    }
  }

  const std::size_t rawSize = Align(section.size(), 0x200);
  ByteVector file(kResourceFileOffset + rawSize);
  file[0] = 'M';
  file[1] = 'Z';
  Put32(file, 0x3C, 0x40);
  Put32(file, 0x40, 0x00004550);  // "PE\0\0"
  const std::size_t coff = 0x44;
  Put16(file, coff, pe32Plus ? 0x8664 : 0x014C);
  Put16(file, coff + 2, 1);
  const std::size_t optionalSize = pe32Plus ? 240 : 224;
  Put16(file, coff + 16, static_cast<std::uint16_t>(optionalSize));
  Put16(file, coff + 18, pe32Plus ? 0x2022 : 0x2102);  // a DLL
  const std::size_t opt = coff + 20;
  Put16(file, opt, pe32Plus ? 0x20B : 0x10B);
  if (pe32Plus) {
    Put32(file, opt + 24, 0x10000000);  // image base, 64-bit
  } else {
    Put32(file, opt + 28, 0x10000000);
  }
  Put32(file, opt + 32, 0x1000);  // section alignment
  Put32(file, opt + 36, 0x200);   // file alignment
  Put16(file, opt + 40, 4);       // operating system version
  Put16(file, opt + 48, 4);       // subsystem version
  Put32(file, opt + 56, static_cast<std::uint32_t>(kResourceRva + Align(section.size(), 0x1000)));
  Put32(file, opt + 60, kResourceFileOffset);  // size of headers
  Put16(file, opt + 68, 2);                    // GUI subsystem
  const std::size_t directories = opt + (pe32Plus ? 112 : 96);
  Put32(file, directories - 4, 16);
  Put32(file, directories + 16, kResourceRva);
  Put32(file, directories + 20, static_cast<std::uint32_t>(section.size()));
  const std::size_t sectionHeader = opt + optionalSize;
  std::copy_n(".rsrc", 5, file.begin() + static_cast<std::ptrdiff_t>(sectionHeader));
  Put32(file, sectionHeader + 8, static_cast<std::uint32_t>(section.size()));
  Put32(file, sectionHeader + 12, kResourceRva);
  Put32(file, sectionHeader + 16, static_cast<std::uint32_t>(rawSize));
  Put32(file, sectionHeader + 20, kResourceFileOffset);
  Put32(file, sectionHeader + 36, 0x40000040);  // initialised data, readable
  std::copy(section.begin(), section.end(), file.begin() + kResourceFileOffset);
  return file;
}

}  // namespace icotake::test
