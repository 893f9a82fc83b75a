// The extract procedure with a shortcut in the edit box: the icons of the shortcut's target.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/extract_driver.h"
#include "tests/pe_builder.h"
#include "tests/shell_link_builder.h"
#include "tests/shell_platform.h"

namespace icotake::test {
namespace {

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  if (!std::filesystem::exists(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class ExtractShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PeBuilder module;
    module.AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 8, 1), BitmapImage(32, 32, 8, 2)}, 1);
    module.AddIconGroup(std::uint16_t{7}, {BitmapImage(16, 16, 4, 3)}, 3);
    module.AddIconGroup(std::string("MAIN"), {BitmapImage(48, 48, 32, 4)}, 4);
    modulePath_ = folder_.File("tool.exe");
    WriteBytes(modulePath_, module.Build());
    // The ANSI local base path holds the module's narrow path as it is.
    ASSERT_TRUE(std::all_of(modulePath_.begin(), modulePath_.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  }

  std::string WriteShortcut(const std::string& name, ShellLinkBuilder builder) {
    WriteBytes(folder_.path() / name, builder.Build());
    return folder_.File(name);
  }

  std::vector<std::string> Extract(const std::string& editBoxText, const std::string& outName = "out") {
    const std::filesystem::path out = folder_.path() / outName;
    ExtractIntoFolder([&] { return MakeText(editBoxText); }, out.string());
    return FilesIn(out);
  }

  OleApartment ole_;
  ScratchFolder folder_;
  std::string modulePath_;
};

using Names = std::vector<std::string>;

TEST_F(ExtractShortcutTest, ShortcutToAModuleWithThreeGroupsWritesThreeFiles) {
  const std::string shortcut = WriteShortcut("tool.lnk", ShellLinkBuilder().LocalPath(modulePath_));
  EXPECT_EQ(Extract(shortcut), (Names{"1.ico", "2.ico", "3.ico"}));
  // Group 1 (the named one comes first) holds one 48-pixel image.
  const ByteVector first = ReadBytes(folder_.path() / "out" / "1.ico");
  ASSERT_GE(first.size(), 22u);
  EXPECT_EQ(Get16(first, 4), 1);
  EXPECT_EQ(first[6], 48);
  const ByteVector second = ReadBytes(folder_.path() / "out" / "2.ico");
  ASSERT_GE(second.size(), 6u);
  EXPECT_EQ(Get16(second, 4), 2);
}

TEST_F(ExtractShortcutTest, TheSamePathInCapitalsWritesNothing) {
  const std::string shortcut = WriteShortcut("tool.LNK", ShellLinkBuilder().LocalPath(modulePath_));
  EXPECT_EQ(Extract(shortcut), Names{});
  EXPECT_TRUE(std::filesystem::is_directory(folder_.path() / "out")) << "the folder is still made";
  const std::string mixed = WriteShortcut("tool.Lnk", ShellLinkBuilder().LocalPath(modulePath_));
  EXPECT_EQ(Extract(mixed, "mixed"), Names{});
}

TEST_F(ExtractShortcutTest, ShortcutWithArgumentsGivesASourceOfNoKnownKind) {
  const std::string shortcut =
      WriteShortcut("args.lnk", ShellLinkBuilder().LocalPath(modulePath_).Arguments("-x"));
  EXPECT_EQ(Extract(shortcut), Names{});
}

TEST_F(ExtractShortcutTest, ShortcutToAnIconFileWritesOneFile) {
  const std::string icon = folder_.File("one.ico");
  WriteBytes(icon, IconFileBytes({BitmapImage(16, 16, 8, 9)}));
  const std::string shortcut = WriteShortcut("icon.lnk", ShellLinkBuilder().LocalPath(icon));
  EXPECT_EQ(Extract(shortcut), Names{"1.ico"});
}

TEST_F(ExtractShortcutTest, UnreadableShortcutsWriteNothing) {
  WriteBytes(folder_.path() / "junk.lnk", ByteVector{'M', 'Z'});
  const std::string moved = WriteShortcut("moved.lnk", ShellLinkBuilder().LocalPath(modulePath_ + ".gone.exe"));
  for (const std::string& shortcut : {folder_.File("missing.lnk"), folder_.File("junk.lnk"), moved}) {
    SCOPED_TRACE(shortcut);
    EXPECT_EQ(Extract(shortcut), Names{});
    EXPECT_TRUE(std::filesystem::is_directory(folder_.path() / "out"));
  }
}

TEST_F(ExtractShortcutTest, TheEditBoxIsReadOnceForTheShortcutPasses) {
  const std::string shortcut = WriteShortcut("tool.lnk", ShellLinkBuilder().LocalPath(modulePath_));
  int reads = 0;
  ExtractIntoFolder(
      [&] {
        ++reads;
        return MakeText(shortcut);
      },
      (folder_.path() / "out").string());
  EXPECT_EQ(reads, 2) << "once for the test, once for the passes";
  EXPECT_EQ(FilesIn(folder_.path() / "out"), (Names{"1.ico", "2.ico", "3.ico"}));
}

}  // namespace
}  // namespace icotake::test
