// Icon groups with their languages, lookups by language, and the reasons a module's groups or an
// icon file cannot be read: our reader directly, and both module backends through one table.

#include <gtest/gtest.h>

#include <cstdio>

#include "icons/extract_icon_group.h"
#include "icons/icon_file.h"
#include "icons/module_resources.h"
#include "tests/backends.h"
#include "tests/cli_fixtures.h"
#include "tests/pe_builder.h"

namespace icotake::test {
namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

std::string Describe(const ResourceName& name) {
  if (const auto* number = std::get_if<std::uint16_t>(&name)) return "#" + std::to_string(*number);
  return std::get<std::string>(name);
}

std::vector<std::string> Describe(const std::vector<ListedResource>& groups) {
  std::vector<std::string> out;
  for (const ListedResource& group : groups) {
    std::string line = Describe(group.name);
    for (std::uint16_t language : group.languages) line += " " + LanguageText(language);
    out.push_back(line);
  }
  return out;
}

TEST(ModuleListing, EveryBackendListsGroupsWithTheirLanguagesInDirectoryOrder) {
  const auto build = [](bool pe32Plus) {
    return PeBuilder()
        .AddIconGroup(std::uint16_t{7}, {BitmapImage(16, 16, 4)}, 1, 0x0407)
        .AddIconGroup(std::uint16_t{7}, {BitmapImage(16, 16, 4)}, 2, 0x0409)
        .AddIconGroup(std::string("ZETA"), {BitmapImage(16, 16, 4)}, 3)
        .AddIconGroup(std::string("ALPHA"), {BitmapImage(16, 16, 4)}, 4, 0)
        .AddIconGroup(std::uint16_t{2}, {BitmapImage(16, 16, 4)}, 5)
        .Build(pe32Plus);
  };
  const std::vector<std::string> expected = {"ALPHA 0x0000", "ZETA 0x0409", "#2 0x0409",
                                             "#7 0x0407 0x0409"};
  ScratchFolder folder;
  for (const bool pe32Plus : {false, true}) {
    const ByteVector module = build(pe32Plus);
    WriteBytes(folder.File("m.dll"), module);
    for (const Backend& backend : ModuleBackends()) {
      SCOPED_TRACE(backend.name + (pe32Plus ? " PE32+" : " PE32"));
      const auto opened = backend.open(folder.File("m.dll"));
      ASSERT_TRUE(opened);
      const auto groups = opened->ListIconGroups();
      ASSERT_TRUE(groups);
      EXPECT_EQ(Describe(*groups), expected);
    }
    const auto pe = PeResources::Parse(module);
    ASSERT_TRUE(pe);
    const ResourceListing listing = pe->List(kGroupIconResource);
    EXPECT_EQ(listing.problem, "");
    EXPECT_EQ(Describe(listing.resources), expected);
  }
}

TEST(ModuleListing, FindByLanguageGivesExactlyThatVersion) {
  ScratchFolder folder;
  const ByteVector german = BitmapImage(16, 16, 4, 1);
  const ByteVector neutral = BitmapImage(32, 32, 4, 2);
  WriteBytes(folder.File("m.dll"), PeBuilder()
                                       .Add(kIconResource, std::uint16_t{1}, german, 0x0407)
                                       .Add(kIconResource, std::uint16_t{1}, neutral, 0x0000)
                                       .AddIconGroup(std::uint16_t{1}, {german}, 2)
                                       .Build());
  struct Case {
    std::uint16_t language;
    std::optional<ByteVector> expected;
  };
  const Case cases[] = {{0x0407, german}, {0x0000, neutral}, {0x0409, std::nullopt}};
  for (const Backend& backend : ModuleBackends()) {
    const auto module = backend.open(folder.File("m.dll"));
    ASSERT_TRUE(module);
    for (const Case& c : cases) {
      SCOPED_TRACE(backend.name + " " + LanguageText(c.language));
      const std::optional<Bytes> found = module->FindLanguage(kIconResource, std::uint16_t{1}, c.language);
      ASSERT_EQ(found.has_value(), c.expected.has_value());
      if (found) {
        EXPECT_EQ(ByteVector(found->begin(), found->end()), *c.expected);
      }
    }
  }
}

TEST(ModuleListing, LoadingInALanguageTakesThatVersionOfTheGroupAndItsImages) {
  ScratchFolder folder;
  WriteBytes(folder.File("app.dll"), AppModule());
  for (const Backend& backend : ModuleBackends()) {
    SCOPED_TRACE(backend.name);
    const auto module = backend.open(folder.File("app.dll"));
    ASSERT_TRUE(module);
    const GroupLoad german = TryLoadIconGroup(*module, "app.dll", std::uint16_t{2}, 0x0407);
    ASSERT_TRUE(german.set) << german.problem;
    ASSERT_EQ(german.set->images.size(), 1u);
    EXPECT_EQ(german.set->images[0].width, 16);
    EXPECT_EQ(german.set->images[0].colorBits, 32u);
    const GroupLoad neutral = TryLoadIconGroup(*module, "app.dll", std::uint16_t{2}, 0x0000);
    ASSERT_TRUE(neutral.set) << neutral.problem;
    EXPECT_EQ(neutral.set->images.at(0).width, 32);
    const GroupLoad french = TryLoadIconGroup(*module, "app.dll", std::uint16_t{2}, 0x040C);
    EXPECT_FALSE(french.set);
    EXPECT_EQ(french.problem, "no group resource in language 0x040c");
  }
}

TEST(ModuleListing, GroupsThatCannotBeLoadedSayWhy) {
  ScratchFolder folder;
  ByteVector shortGroup = GroupResource({1, 2});
  shortGroup.resize(20);
  const struct {
    const char* what;
    ByteVector module;
    ResourceName group;
    std::string problem;
  } cases[] = {
      {"missing icon", ModuleWithMissingIcon(), std::uint16_t{1}, "icon #9 missing or outside the file"},
      {"short group",
       PeBuilder().Add(kIconResource, std::uint16_t{1}, BitmapImage(16, 16, 4))
           .Add(kGroupIconResource, std::uint16_t{1}, shortGroup).Build(),
       std::uint16_t{1}, "group resource of 20 bytes too short for its entries"},
      {"no such group", AppModule(), std::uint16_t{3}, "group resource missing or outside the file"},
      {"group 0", AppModule(), std::uint16_t{0}, "a group without number or name cannot be loaded"},
  };
  for (const auto& c : cases) {
    WriteBytes(folder.File("m.dll"), c.module);
    for (const Backend& backend : ModuleBackends()) {
      SCOPED_TRACE(backend.name + " " + c.what);
      const auto module = backend.open(folder.File("m.dll"));
      ASSERT_TRUE(module);
      const GroupLoad load = TryLoadIconGroup(*module, "m.dll", c.group);
      EXPECT_FALSE(load.set);
      EXPECT_EQ(load.problem, c.problem);
      EXPECT_FALSE(LoadIconGroup(*module, "m.dll", c.group));
    }
  }
}

// A damaged directory is reported with where it breaks; EnumNames fails on it without calling
// its visitor, as before.
TEST(ModuleListing, DamagedDirectoriesAreReportedWithTheirOffset) {
  ByteVector nameOutside = PeBuilder().AddIconGroup(std::string("A"), {BitmapImage(16, 16, 4)}, 1).Build();
  // The group type's directory (the second type, after RT_ICON) holds one named entry; its name
  // offset is moved past the end of the file.
  const std::size_t root = kResourceFileOffset;
  const std::uint32_t groupTypeDirectory = Get32(nameOutside, root + 16 + 8 + 4) & 0x7FFFFFFF;
  Put32(nameOutside, root + groupTypeDirectory + 16, 0x80000000u | 0x7FFFFF00u);

  ByteVector loop = AppModule();
  const std::uint32_t groupType = Get32(loop, root + 16 + 8 + 4) & 0x7FFFFFFF;
  Put32(loop, root + groupType + 16 + 4, 0x80000000u | groupType);  // a name's languages: itself

  ByteVector rootLoop = AppModule();
  Put32(rootLoop, root + 16 + 8 + 4, 0x80000000u);  // the group type's directory: the root

  ByteVector outside = AppModule();
  Put32(outside, 0x40 + 24 + 96 + 8 * 2, 0x00100000);  // resource RVA in no section

  const struct {
    const char* what;
    ByteVector module;
    std::string problem;
  } cases[] = {
      {"root counts too many entries", TruncatedModule(), "truncated resource directory at offset 0x200"},
      {"name outside the file", nameOutside, "truncated resource name at offset 0x80000100"},
      {"language directory is its parent", loop,
       "resource directory loop at offset " + Hex(kResourceFileOffset + groupType)},
      {"type directory is the root", rootLoop, "resource directory loop at offset 0x200"},
      {"resource RVA in no section", outside, "resource directory at RVA 0x100000 lies in no section"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto pe = PeResources::Parse(c.module);
    ASSERT_TRUE(pe);
    const ResourceListing listing = pe->List(kGroupIconResource);
    EXPECT_EQ(listing.problem, c.problem);
    EXPECT_TRUE(listing.resources.empty());
    bool visited = false;
    EXPECT_FALSE(pe->EnumNames(kGroupIconResource, [&](const ResourceName&) { visited = true; }));
    EXPECT_FALSE(visited);
  }
}

TEST(ModuleListing, AModuleWithoutGroupsListsNoneAndHasNoProblem) {
  for (const ByteVector& module : {ModuleWithoutGroups(), PeBuilder().Build()}) {
    const auto pe = PeResources::Parse(module);
    ASSERT_TRUE(pe);
    const ResourceListing listing = pe->List(kGroupIconResource);
    EXPECT_EQ(listing.problem, "");
    EXPECT_TRUE(listing.resources.empty());
    EXPECT_FALSE(pe->EnumNames(kGroupIconResource, [](const ResourceName&) {}));
  }
}

TEST(IconFileProblem, NamesWhatIsWrong) {
  ByteVector cursor = TwoImageIconFile();
  Put16(cursor, 2, 2);
  ByteVector pastEnd = TwoImageIconFile();
  Put32(pastEnd, 6 + 16 + 12, static_cast<std::uint32_t>(pastEnd.size()));  // image 2's offset
  ByteVector overlapping = IconFileBytes({BitmapImage(16, 16, 4), BitmapImage(16, 16, 4)});
  Put32(overlapping, 6 + 8, static_cast<std::uint32_t>(overlapping.size() - 6 - 32));
  Put32(overlapping, 6 + 12, 6);
  Put32(overlapping, 6 + 16 + 8, static_cast<std::uint32_t>(overlapping.size() - 6 - 32));
  Put32(overlapping, 6 + 16 + 12, 6);
  const struct {
    const char* what;
    ByteVector file;
    std::string problem;
  } cases[] = {
      {"good", TwoImageIconFile(), ""},
      {"no images", IconFileBytes({}), ""},
      {"four bytes", {0, 0, 1, 0}, "truncated icon file header"},
      {"cursor", cursor, "not an icon file (reserved 0, type 1)"},
      {"directory cut short", TruncatedIconFile(), "truncated icon directory: 3 entries in 22 bytes"},
      {"image past the end", pastEnd, "image 2 reaches past the end of the file"},
      {"images overlap beyond the file's size", overlapping,
       "images add up to more bytes than the file holds"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IconFileProblem(c.file), c.problem);
    EXPECT_EQ(ParseIconFile(c.file).has_value(), c.problem.empty());
  }
}

}  // namespace
}  // namespace icotake::test
