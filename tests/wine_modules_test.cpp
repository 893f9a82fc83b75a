// Real modules under Wine: our PE reader against the system's loader on every one of Wine's own
// PE modules, and the extract button's procedure into the real output folder.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/extract_driver.h"
#include "base/file_io.h"
#include "icons/extract_icon_group.h"
#include "icons/icon_file.h"

namespace icotake::test {
namespace {

namespace fs = std::filesystem;

const char* const kWineModuleFolders[] = {
    "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows",
    "Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows",  // only where Wine's 32-bit part is installed
};

struct Groups {
  bool enumerated = false;
  std::vector<ResourceName> names;
};

Groups GroupsOf(ModuleResources& module) {
  Groups groups;
  groups.enumerated = module.EnumIconGroups([&](const ResourceName& n) { groups.names.push_back(n); });
  return groups;
}

std::string Describe(const ResourceName& name) {
  if (const auto* number = std::get_if<std::uint16_t>(&name)) return "#" + std::to_string(*number);
  return std::get<std::string>(name);
}

TEST(WineModules, OurReaderAgreesWithTheSystemLoaderOnEveryModule) {
  std::size_t modules = 0, withGroups = 0, groupsCompared = 0, images = 0;
  for (const char* folder : kWineModuleFolders) {
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string path = entry.path().string();
      const auto ours = OpenPeModule(path);
      const auto system = OpenWin32Module(path);
      ASSERT_EQ(ours != nullptr, system != nullptr) << path;
      if (!ours) continue;
      ++modules;
      const Groups a = GroupsOf(*ours);
      const Groups b = GroupsOf(*system);
      ASSERT_EQ(a.enumerated, b.enumerated) << path;
      ASSERT_EQ(a.names, b.names) << path;
      if (!a.enumerated) continue;
      ++withGroups;
      for (const ResourceName& name : a.names) {
        const auto setA = LoadIconGroup(*ours, path, name);
        const auto setB = LoadIconGroup(*system, path, name);
        ASSERT_EQ(setA.has_value(), setB.has_value()) << path << " " << Describe(name);
        if (!setA) continue;
        ++groupsCompared;
        ASSERT_EQ(setA->imageCount(), setB->imageCount()) << path << " " << Describe(name);
        for (std::size_t i = 0; i < setA->images.size(); ++i) {
          ASSERT_EQ(setA->images[i].bytes, setB->images[i].bytes) << path << " " << Describe(name) << " " << i;
          ++images;
        }
      }
    }
  }
  std::printf("%zu modules, %zu with icon groups, %zu groups and %zu images identical\n", modules,
              withGroups, groupsCompared, images);
  // Wine 8 has 19 modules with icon groups and about 2250 images; the walk must have seen them.
  EXPECT_GE(withGroups, 15u);
  EXPECT_GE(images, 2000u);
}

TEST(WineModules, ExtractButtonWritesShell32IntoTheOutputFolder) {
  // "C:\Documents and Settings\Administrator\桌面\取出的图标": 55 bytes in code page 936.
  ASSERT_EQ(OutputFolder, "C:\\Documents and Settings\\Administrator\\\xD7\xC0\xC3\xE6\\"
                          "\xC8\xA1\xB3\xF6\xB5\xC4\xCD\xBC\xB1\xEA");
  ASSERT_EQ(OutputFolder.size(), 55u);
  ASSERT_EQ(GetACP(), 936u);

  // A new prefix has no such folders; the procedure itself makes only the last one.
  const std::string desktop(OutputFolder.substr(0, OutputFolder.rfind('\\')));
  CreateDirectoryA("C:\\Documents and Settings", nullptr);
  CreateDirectoryA("C:\\Documents and Settings\\Administrator", nullptr);
  CreateDirectoryA(desktop.c_str(), nullptr);
  const std::string folder(OutputFolder);
  for (int n = 1; n <= 101; ++n) DeleteFileA((folder + "\\" + std::to_string(n) + ".ico").c_str());
  RemoveDirectoryA(folder.c_str());

  const std::string shell32 = std::string(kWineModuleFolders[0]) + "\\shell32.dll";
  int reads = 0;
  OnExtractClicked([&] { ++reads; return MakeText(shell32); });
  EXPECT_EQ(reads, 1 + 100);  // the shortcut test, then the plain passes

  // shell32 has more than 100 groups: exactly 1.ico to 100.ico, each what its group holds.
  const auto module = OpenWin32Module(shell32);
  ASSERT_TRUE(module);
  std::vector<ResourceName> names = GroupsOf(*module).names;
  ASSERT_GT(names.size(), 100u);
  for (int n = 1; n <= 100; ++n) {
    const std::string path = folder + "\\" + std::to_string(n) + ".ico";
    const auto expected = SerializeIconFile(LoadIconGroup(*module, shell32, names[n - 1]).value());
    const auto written = MappedFile::Open(path);
    ASSERT_TRUE(written) << path;
    EXPECT_TRUE(std::ranges::equal(written->bytes(), *expected)) << path;
  }
  EXPECT_EQ(GetFileAttributesA((folder + "\\101.ico").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace icotake::test
