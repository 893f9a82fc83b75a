#include "icons/pe_resources.h"

#include <algorithm>
#include <cstdio>

#include "base/text_encoding.h"

namespace icotake {
namespace {

constexpr std::uint16_t kDosSignature = 0x5A4D;      // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;   // "PE\0\0"
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;

// "#123" names the number 123, as the system's lookup by name text reads it.
std::optional<std::uint16_t> NumberInName(const std::string& name) {
  if (name.size() < 2 || name.size() > 6 || name[0] != '#') return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(name[i] - '0');
  }
  if (value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::u16string UpperAscii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

}  // namespace

std::optional<PeResources> PeResources::Parse(Bytes file) {
  ByteReader r(file);
  if (r.U16() != kDosSignature) return std::nullopt;
  const std::uint32_t peOffset = r.Seek(0x3C).U32();
  if (r.Seek(peOffset).U32() != kPeSignature) return std::nullopt;
  r.Skip(2);  // machine
  const std::uint16_t sectionCount = r.U16();
  r.Skip(12);  // time stamp, symbol table, symbol count
  const std::uint16_t optionalHeaderSize = r.U16();
  r.Skip(2);  // characteristics
  const std::size_t optionalHeader = r.offset();
  const std::uint16_t magic = r.U16();
  if (!r.ok() || (magic != kPe32Magic && magic != kPe32PlusMagic)) return std::nullopt;

  const std::size_t directories = optionalHeader + (magic == kPe32Magic ? 96 : 112);
  PeResources pe;
  pe.file_ = file;
  pe.sizeOfHeaders_ = r.Seek(optionalHeader + 60).U32();
  const std::uint32_t directoryCount = r.Seek(directories - 4).U32();
  const std::optional<Bytes> sections =
      SubBytes(file, std::uint64_t{optionalHeader} + optionalHeaderSize,
               std::uint64_t{sectionCount} * kSectionHeaderSize);
  if (!r.ok() || !sections) return std::nullopt;
  pe.sectionTable_ = *sections;

  if (directoryCount <= kResourceDirectoryIndex) return pe;
  const std::uint32_t resourceRva = r.Seek(directories + 8 * kResourceDirectoryIndex).U32();
  if (!r.ok() || resourceRva == 0) return pe;
  // The loader takes an RVA inside the headers as it stands; others go through the sections.
  const std::optional<std::uint64_t> root =
      resourceRva < pe.sizeOfHeaders_ ? std::optional<std::uint64_t>(resourceRva)
                                      : pe.FileOffsetOf(resourceRva);
  if (!root) {
    pe.rootProblem_ = "resource directory at RVA " + Hex(resourceRva) + " lies in no section";
  } else if (*root >= file.size()) {
    pe.rootProblem_ = "resource directory at offset " + Hex(*root) + " lies past the end of the file";
  } else {
    pe.resources_ = file.subspan(static_cast<std::size_t>(*root));
    pe.resourcesOffset_ = *root;
  }
  return pe;
}

std::optional<std::uint64_t> PeResources::FileOffsetOf(std::uint32_t rva) const {
  ByteReader r(sectionTable_);
  while (r.remaining() >= kSectionHeaderSize) {
    r.Skip(12);  // name, virtual size
    const std::uint64_t address = r.U32();
    const std::uint64_t rawSize = r.U32();
    const std::uint64_t rawOffset = r.U32();
    r.Skip(16);
    if (rva >= address && rva < address + rawSize) return rawOffset + (rva - address);
  }
  return std::nullopt;
}

std::string PeResources::AtOffset(std::string_view what, std::uint64_t offset) const {
  return std::string(what) + " at offset " + Hex(resourcesOffset_ + offset);
}

std::optional<PeResources::Directory> PeResources::ReadDirectory(std::uint32_t offset) const {
  ByteReader r(resources_);
  r.Seek(offset).Skip(12);
  Directory directory{offset, r.U16(), r.U16()};
  if (!r.ok() || directory.count() > r.remaining() / kDirectoryEntrySize) return std::nullopt;
  return directory;
}

PeResources::Entry PeResources::EntryAt(const Directory& directory, std::uint32_t index) const {
  // ReadDirectory has checked that all the directory's entries lie inside the bytes.
  ByteReader r(resources_, directory.offset + kDirectoryHeaderSize + kDirectoryEntrySize * index);
  Entry entry;
  entry.name = r.U32();
  entry.target = r.U32();
  return entry;
}

std::optional<std::u16string> PeResources::EntryName(const Entry& entry) const {
  ByteReader r(resources_);
  const std::uint16_t length = r.Seek(entry.name & 0x7FFFFFFFu).U16();
  const Bytes units = r.Take(std::uint64_t{length} * 2);
  if (!r.ok()) return std::nullopt;
  std::u16string name(length, u'\0');
  for (std::size_t i = 0; i < length; ++i) {
    name[i] = static_cast<char16_t>(units[2 * i] | (units[2 * i + 1] << 8));
  }
  return name;
}

std::optional<PeResources::Entry> PeResources::FindNumbered(const Directory& directory,
                                                            std::uint16_t number) const {
  // Numbered entries are sorted, so the first with the number is found in log time, as the
  // system's loader finds it: one group's images are looked up among all of a module's icons.
  // In a directory that is not sorted this may miss, and the caller's scan in order decides.
  std::uint32_t low = directory.namedCount;
  std::uint32_t high = directory.count();
  while (low < high) {
    const std::uint32_t middle = low + (high - low) / 2;
    const Entry entry = EntryAt(directory, middle);
    if (!entry.hasName() && (entry.name & 0xFFFF) < number) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == directory.count()) return std::nullopt;
  const Entry entry = EntryAt(directory, low);
  if (entry.hasName() || (entry.name & 0xFFFF) != number) return std::nullopt;
  return entry;
}

std::optional<PeResources::Directory> PeResources::TypeDirectory(std::uint16_t type,
                                                                 std::string* problem) const {
  const auto fail = [problem](std::string reason) -> std::optional<Directory> {
    if (problem) *problem = std::move(reason);
    return std::nullopt;
  };
  if (resources_.empty()) return fail(rootProblem_);
  const std::optional<Directory> root = ReadDirectory(0);
  if (!root) return fail(AtOffset("truncated resource directory", 0));
  for (std::uint32_t i = root->namedCount; i < root->count(); ++i) {
    const Entry entry = EntryAt(*root, i);
    if (entry.hasName() || (entry.name & 0xFFFF) != type) continue;
    // A type's directory that is the root again would make the walk go round in circles.
    if (!entry.isDirectory()) {
      return fail(AtOffset("resource type " + std::to_string(type) + " without a directory",
                           root->offset + kDirectoryHeaderSize + kDirectoryEntrySize * i));
    }
    if (entry.targetOffset() == root->offset) {
      return fail(AtOffset("resource directory loop", entry.targetOffset()));
    }
    const std::optional<Directory> names = ReadDirectory(entry.targetOffset());
    if (!names) return fail(AtOffset("truncated resource directory", entry.targetOffset()));
    return names;
  }
  return fail({});
}

ResourceListing PeResources::List(std::uint16_t type) const {
  ResourceListing listing;
  const std::optional<Directory> names = TypeDirectory(type, &listing.problem);
  if (!names) return listing;
  // The whole level is checked before anything is listed: a name outside the file, or a
  // language directory that is missing or is one of its ancestors, breaks the directory.
  for (std::uint32_t i = 0; i < names->count(); ++i) {
    const Entry entry = EntryAt(*names, i);
    if (entry.hasName() && !EntryName(entry)) {
      listing.problem = AtOffset("truncated resource name", entry.name & 0x7FFFFFFFu);
      return listing;
    }
    const std::uint32_t at = names->offset + kDirectoryHeaderSize + kDirectoryEntrySize * i;
    if (!entry.isDirectory()) {
      listing.problem = AtOffset("resource entry without a language directory", at);
      return listing;
    }
    if (entry.targetOffset() == 0 || entry.targetOffset() == names->offset) {
      listing.problem = AtOffset("resource directory loop", entry.targetOffset());
      return listing;
    }
    if (!ReadDirectory(entry.targetOffset())) {
      listing.problem = AtOffset("truncated resource directory", entry.targetOffset());
      return listing;
    }
  }
  listing.resources.reserve(names->count());
  for (std::uint32_t i = 0; i < names->count(); ++i) {
    const Entry entry = EntryAt(*names, i);
    ListedResource& resource = listing.resources.emplace_back();
    if (entry.hasName()) {
      resource.name = NarrowFromUtf16(*EntryName(entry));
    } else {
      resource.name = static_cast<std::uint16_t>(entry.name & 0xFFFF);
    }
    const Directory languages = *ReadDirectory(entry.targetOffset());
    for (std::uint32_t j = languages.namedCount; j < languages.count(); ++j) {
      resource.languages.push_back(static_cast<std::uint16_t>(EntryAt(languages, j).name & 0xFFFF));
    }
  }
  return listing;
}

bool PeResources::EnumNames(std::uint16_t type,
                            const std::function<void(const ResourceName&)>& visit) const {
  const ResourceListing listing = List(type);
  if (!listing.problem.empty() || listing.resources.empty()) return false;
  for (const ListedResource& resource : listing.resources) visit(resource.name);
  return true;
}

std::optional<PeResources::Directory> PeResources::LanguageDirectory(
    std::uint16_t type, const ResourceName& name) const {
  const std::optional<Directory> names = TypeDirectory(type);
  if (!names) return std::nullopt;

  std::optional<std::uint16_t> number;
  std::u16string key;
  if (const auto* n = std::get_if<std::uint16_t>(&name)) {
    number = *n;
  } else {
    const auto& text = std::get<std::string>(name);
    number = NumberInName(text);
    if (!number) key = UpperAscii(WidenToUtf16(text));
  }

  std::optional<Entry> found;
  if (number) found = FindNumbered(*names, *number);
  const std::uint32_t first = number ? names->namedCount : 0;
  const std::uint32_t end = number ? names->count() : names->namedCount;
  for (std::uint32_t i = first; i < end && !found; ++i) {
    const Entry entry = EntryAt(*names, i);
    if (number ? (!entry.hasName() && (entry.name & 0xFFFF) == *number)
               : (entry.hasName() && EntryName(entry) == key)) {
      found = entry;
    }
  }
  if (!found || !found->isDirectory() || found->targetOffset() == 0 ||
      found->targetOffset() == names->offset) {
    return std::nullopt;
  }
  const std::optional<Directory> languages = ReadDirectory(found->targetOffset());
  if (!languages || languages->count() == 0) return std::nullopt;
  return languages;
}

std::optional<Bytes> PeResources::DataOf(const Entry& entry) const {
  if (entry.isDirectory()) return std::nullopt;  // a fourth level: no resource is that deep
  ByteReader data(resources_, entry.targetOffset());
  const std::uint32_t rva = data.U32();
  const std::uint32_t size = data.U32();
  if (!data.ok()) return std::nullopt;
  const std::optional<std::uint64_t> offset = FileOffsetOf(rva);
  if (!offset) return std::nullopt;
  return SubBytes(file_, *offset, size);
}

std::optional<Bytes> PeResources::Find(std::uint16_t type, const ResourceName& name) const {
  const std::optional<Directory> languages = LanguageDirectory(type, name);
  if (!languages) return std::nullopt;
  std::optional<Entry> chosen;
  for (const std::uint16_t language : kPreferredLanguages) {
    for (std::uint32_t i = languages->namedCount; i < languages->count() && !chosen; ++i) {
      const Entry entry = EntryAt(*languages, i);
      if (!entry.hasName() && (entry.name & 0xFFFF) == language) chosen = entry;
    }
    if (chosen) break;
  }
  if (!chosen) chosen = EntryAt(*languages, 0);
  return DataOf(*chosen);
}

std::optional<Bytes> PeResources::Find(std::uint16_t type, const ResourceName& name,
                                       std::uint16_t language) const {
  const std::optional<Directory> languages = LanguageDirectory(type, name);
  if (!languages) return std::nullopt;
  for (std::uint32_t i = languages->namedCount; i < languages->count(); ++i) {
    const Entry entry = EntryAt(*languages, i);
    if (!entry.hasName() && (entry.name & 0xFFFF) == language) return DataOf(entry);
  }
  return std::nullopt;
}

}  // namespace icotake
