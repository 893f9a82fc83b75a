// Our PE reader alone: what it must make of modules that the system's loader may not survive.

#include <gtest/gtest.h>

#include "icons/pe_resources.h"
#include "tests/pe_builder.h"

namespace icotake::test {
namespace {

std::vector<ResourceName> GroupNames(const ByteVector& module, bool* enumerated = nullptr) {
  std::vector<ResourceName> names;
  const auto pe = PeResources::Parse(module);
  const bool ok = pe && pe->EnumNames(kGroupIconResource, [&](const ResourceName& n) { names.push_back(n); });
  if (enumerated) *enumerated = ok;
  return names;
}

// The file offset of the resource directory's first entry (the root's only type here).
constexpr std::size_t kRootEntry = kResourceFileOffset + 16;

ByteVector OneGroupModule() { return PeBuilder().AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 4)}, 1).Build(); }

TEST(PeResources, ParsesPe32AndPe32PlusAlike) {
  for (const bool plus : {false, true}) {
    const ByteVector module = PeBuilder()
                                  .AddIconGroup(std::string("MAIN"), {BitmapImage(16, 16, 4)}, 1)
                                  .AddIconGroup(std::uint16_t{7}, {BitmapImage(32, 32, 4)}, 2)
                                  .Build(plus);
    EXPECT_EQ(GroupNames(module), (std::vector<ResourceName>{std::string("MAIN"), std::uint16_t{7}}));
  }
}

TEST(PeResources, RejectsWhatIsNoPeImage) {
  ByteVector module = OneGroupModule();
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint16_t value;
  };
  const Case cases[] = {
      {"no MZ", 0, 0x0000},
      {"no PE signature", 0x40, 0x454E},  // "NE": a 16-bit module
      {"unknown optional header", 0x58, 0x0107},
      {"e_lfanew past the end", 0x3E, 0x7FFF},
  };
  for (const Case& c : cases) {
    ByteVector bad = module;
    Put16(bad, c.offset, c.value);
    EXPECT_FALSE(PeResources::Parse(bad)) << c.what;
  }
  EXPECT_FALSE(PeResources::Parse(ByteVector{'M', 'Z'}));
  EXPECT_FALSE(PeResources::Parse(ByteVector{}));
}

TEST(PeResources, BrokenDirectoriesMeanNoGroupsNeverACrashOrHang) {
  struct Case {
    const char* what;
    std::function<void(ByteVector&)> change;
  };
  const ByteVector good = OneGroupModule();
  // Root at 0x200: one type entry (RT_ICON at +16), then RT_GROUP_ICON at +24; see PeBuilder.
  const std::size_t groupTypeEntry = kRootEntry + 8;
  const std::uint32_t groupTypeDirectory = Get32(good, groupTypeEntry + 4) & 0x7FFFFFFF;
  const std::size_t groupNameEntry = kResourceFileOffset + groupTypeDirectory + 16;
  const Case cases[] = {
      {"type directory is the root", [&](ByteVector& m) { Put32(m, groupTypeEntry + 4, 0x80000000); }},
      {"name entry points at the root", [&](ByteVector& m) { Put32(m, groupNameEntry + 4, 0x80000000); }},
      {"name entry points at its own directory",
       [&](ByteVector& m) { Put32(m, groupNameEntry + 4, 0x80000000 | groupTypeDirectory); }},
      {"type directory outside the file", [&](ByteVector& m) { Put32(m, groupTypeEntry + 4, 0xFFFFFFF0); }},
      {"language directory outside the file", [&](ByteVector& m) { Put32(m, groupNameEntry + 4, 0xFFFFFFF0); }},
      {"name string outside the file", [&](ByteVector& m) { Put32(m, groupNameEntry, 0xFFFFFFF0); }},
      {"65535 entries counted in a short directory",
       [&](ByteVector& m) { Put16(m, kResourceFileOffset + groupTypeDirectory + 14, 0xFFFF); }},
      {"resource RVA outside every section", [&](ByteVector& m) { Put32(m, 0x58 + 96 + 16, 0x00F00000); }},
      {"no resource directory", [&](ByteVector& m) { Put32(m, 0x58 + 96 + 16, 0); }},
      {"section sizes that overflow 32 bits", [&](ByteVector& m) {
         Put32(m, 0x58 + 224 + 12, 0xFFFFF000);  // virtual address
         Put32(m, 0x58 + 224 + 16, 0xFFFFFFFF);  // raw size
       }},
  };
  ASSERT_EQ(GroupNames(good).size(), 1u);
  for (const Case& c : cases) {
    ByteVector module = good;
    c.change(module);
    bool enumerated = true;
    EXPECT_TRUE(GroupNames(module, &enumerated).empty()) << c.what;
    EXPECT_FALSE(enumerated) << c.what;
  }
}

TEST(PeResources, DataOutsideTheFileIsNotFound) {
  const ByteVector module = OneGroupModule();
  ASSERT_TRUE(PeResources::Parse(module)->Find(kIconResource, std::uint16_t{1}));
  // The icon's data entry: its RVA lies in the resource section and its size is the image's.
  const auto imageSize = static_cast<std::uint32_t>(BitmapImage(16, 16, 4).size());
  for (const std::uint32_t size : {0x7FFFFFFFu, 0xFFFFFFFFu}) {
    ByteVector bad = module;
    bool patched = false;
    for (std::size_t at = kResourceFileOffset; at + 8 <= bad.size() && !patched; at += 4) {
      if (Get32(bad, at + 4) == imageSize && Get32(bad, at) - kResourceRva < 0x1000) {
        Put32(bad, at + 4, size);
        patched = true;
      }
    }
    ASSERT_TRUE(patched);
    EXPECT_FALSE(PeResources::Parse(bad)->Find(kIconResource, std::uint16_t{1})) << size;
  }
}

TEST(PeResources, NameTextsMatchAsTheSystemLookupDoes) {
  const ByteVector module = PeBuilder()
                                .Add(kGroupIconResource, std::string("MAIN"), GroupResource({}))
                                .Add(kGroupIconResource, std::uint16_t{5}, GroupResource({1}))
                                .Build();
  const auto pe = PeResources::Parse(module);
  EXPECT_TRUE(pe->Find(kGroupIconResource, std::string("MAIN")));
  EXPECT_TRUE(pe->Find(kGroupIconResource, std::string("main")));  // upper-cased before the lookup
  EXPECT_FALSE(pe->Find(kGroupIconResource, std::string("MAI")));
  EXPECT_EQ(pe->Find(kGroupIconResource, std::string("#5"))->size(), GroupResource({1}).size());
  EXPECT_FALSE(pe->Find(kGroupIconResource, std::string("#6")));
  EXPECT_FALSE(pe->Find(kGroupIconResource, std::uint16_t{6}));
}

TEST(PeResources, LanguageChoice) {
  struct Case {
    std::vector<std::uint16_t> languages;
    std::uint16_t expected;
  };
  const Case cases[] = {
      {{0x0409, 0x0000}, 0x0000},
      {{0x0407, 0x0409, 0x0804}, 0x0409},
      {{0x0407, 0x040C}, 0x0407},  // none preferred: the first in the directory
      {{0x0400, 0x0409}, 0x0400},
  };
  for (const Case& c : cases) {
    PeBuilder builder;
    for (std::uint16_t language : c.languages) {
      builder.Add(kIconResource, std::uint16_t{1}, ByteVector{static_cast<std::uint8_t>(language),
                                                              static_cast<std::uint8_t>(language >> 8)},
                  language);
    }
    const ByteVector module = builder.Build();  // the reader only looks at these bytes: keep them
    const auto found = PeResources::Parse(module)->Find(kIconResource, std::uint16_t{1});
    ASSERT_TRUE(found);
    EXPECT_EQ((*found)[0] | ((*found)[1] << 8), c.expected);
  }
}

}  // namespace
}  // namespace icotake::test
