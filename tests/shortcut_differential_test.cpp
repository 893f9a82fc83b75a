// Our reader against the system's shell-link object (Wine's, under wine64) on the same files:
// shortcuts that the object writes itself, and shortcuts in the layouts Explorer writes.
// Every text must be the same.

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "shell/shell_link.h"
#include "shell/shortcut.h"
#include "tests/shell_link_builder.h"
#include "tests/shell_platform.h"

namespace icotake::test {
namespace {

const std::string kDesktop = "\xD7\xC0\xC3\xE6";                          // "桌面"
const std::string kExtracted = "\xC8\xA1\xB3\xF6\xB5\xC4\xCD\xBC\xB1\xEA";  // "取出的图标"
const std::string kDescription = "\xC3\xE8\xCA\xF6";                      // "描述"

struct Answers {
  std::string result, targetPath, arguments, workingFolder, iconLocation, hotKeyText, description;
  std::int32_t showCommand = -1, hotKey = -1;
};

Answers Ask(ShellLinkLoader load, const std::string& path) {
  Answers a;
  a.result = ResolveShortcutTargetWith(load, path,
                                       {.targetPath = &a.targetPath,
                                        .arguments = &a.arguments,
                                        .workingFolder = &a.workingFolder,
                                        .iconLocation = &a.iconLocation,
                                        .showCommand = &a.showCommand,
                                        .hotKey = &a.hotKey,
                                        .description = &a.description});
  ResolveShortcutTargetWith(load, path, {.hotKey = &a.hotKeyText});
  return a;
}

// The show command as Windows answers it for the file: the stored value, 7 reported as 2.
std::int32_t StoredShowCommand(const std::string& path) {
  const std::optional<MappedFile> file = MappedFile::Open(path);
  if (!file) return -1;
  const std::optional<ShellLink> link = ParseShellLink(file->bytes());
  if (!link) return -1;
  const std::int32_t show = ShellLinkShowCommand(*link);
  return show == 7 ? 2 : show;
}

void ExpectSameAnswers(const std::string& path) {
  SCOPED_TRACE(path);
  const Answers ours = Ask(LoadShellLinkFile, path);
  const Answers shell = Ask(LoadWin32ShellLink, path);
  EXPECT_EQ(ours.result, shell.result);
  EXPECT_EQ(ours.targetPath, shell.targetPath);
  EXPECT_EQ(ours.arguments, shell.arguments);
  EXPECT_EQ(ours.workingFolder, shell.workingFolder);
  EXPECT_EQ(ours.iconLocation, shell.iconLocation);
  EXPECT_EQ(ours.hotKey, shell.hotKey);
  EXPECT_EQ(ours.hotKeyText, shell.hotKeyText);
  EXPECT_EQ(ours.description, shell.description);
  // Wine's GetShowCmd answers 1 after Load, whatever the file holds; ours answers what Windows
  // does, which the file's own field tells.
  EXPECT_EQ(ours.showCommand, StoredShowCommand(path));
  const bool loaded = ours.showCommand != -1;
  EXPECT_EQ(shell.showCommand, RunningUnderWine() && loaded ? 1 : ours.showCommand);
}

class ShortcutDifferentialTest : public ::testing::Test {
 protected:
  OleApartment ole_;
  ScratchFolder folder_;
};

TEST_F(ShortcutDifferentialTest, ShortcutsWrittenByTheShellLinkObject) {
  const std::string programs = "C:\\Program Files\\App";
  const ShortcutSettings corpus[] = {
      {.path = "C:\\windows\\notepad.exe"},
      {.path = "C:\\windows\\notepad.exe", .arguments = "readme.txt"},
      {.path = programs + "\\app.exe", .arguments = "-x \"two words\"  /y", .workingFolder = programs},
      {.path = "C:\\" + kDesktop + "\\" + kExtracted + "\\tool.exe", .arguments = kDesktop + ".txt",
       .workingFolder = "C:\\" + kDesktop, .description = kDescription},
      {.path = "C:\\gone\\old.exe", .iconPath = "C:\\windows\\system32\\shell32.dll", .iconIndex = 12},
      {.path = "C:\\a.exe", .iconPath = "C:\\" + kDesktop + "\\i.ico", .iconIndex = -7},
      {.path = "C:\\a.exe", .showCommand = 7},
      {.path = "C:\\a.exe", .showCommand = 3, .hotKey = 0x0641},
      {.path = "C:\\a.exe", .hotKey = 0x0F70, .description = "a shortcut with a long description"},
      {.path = "C:\\a b c\\d e.exe", .arguments = " ", .workingFolder = "C:\\a b c"},
      {.path = "C:\\a.exe", .arguments = std::string(1500, 'z')},
  };
  int written = 0;
  for (const ShortcutSettings& settings : corpus) {
    const std::string path = folder_.File("written" + std::to_string(written++) + ".lnk");
    ASSERT_TRUE(SaveWithShellLinkObject(path, settings)) << settings.path;
    ExpectSameAnswers(path);
  }
  // And what was set comes back, through both readers.
  const Answers chinese = Ask(LoadShellLinkFile, folder_.File("written3.lnk"));
  EXPECT_EQ(chinese.result, "C:\\" + kDesktop + "\\" + kExtracted + "\\tool.exe " + kDesktop + ".txt");
  EXPECT_EQ(chinese.description, kDescription);
  EXPECT_EQ(Ask(LoadShellLinkFile, folder_.File("written6.lnk")).showCommand, 2);
}

TEST_F(ShortcutDifferentialTest, ShortcutsInExplorersLayouts) {
  const Guid programFiles = {0x7C, 0x5A, 0x40, 0x90, 0xBF, 0xAC, 0xBF, 0x45,
                             0x9B, 0xC2, 0xBE, 0x9E, 0x3B, 0x1A, 0x23, 0x02};
  const std::pair<const char*, ShellLinkBuilder> corpus[] = {
      {"local", ShellLinkBuilder()
                    .IdList(FileIdList("C:\\", {"Program Files", "App", "app.exe"}))
                    .LocalPath("C:\\Program Files\\App\\app.exe")
                    .RelativePath("..\\..\\Program Files\\App\\app.exe")
                    .WorkingDir("C:\\Program Files\\App")
                    .IconLocation("C:\\Program Files\\App\\app.exe")
                    .ShowCommand(3)},
      {"local, Chinese, ANSI", ShellLinkBuilder()
                                   .Ansi()
                                   .LocalPath("C:\\" + kDesktop + "\\tool.exe")
                                   .Name(kDescription)
                                   .Arguments("-x " + kExtracted)
                                   .IconLocation("i.ico")
                                   .IconIndex(-2)
                                   .HotKey(0x0341)
                                   .ShowCommand(7)},
      {"local with suffix and Unicode path",
       ShellLinkBuilder().LocalPath("C:\\base\\", "tool.exe", "C:\\" + kDesktop + "\\")},
      {"network", ShellLinkBuilder()
                      .IdList(FileIdList("\\\\server\\share", {"tool.exe"}))
                      .NetworkPath("\\\\server\\share", "dir\\tool.exe")
                      .Arguments("/n")},
      {"mapped drive", ShellLinkBuilder().LocalPath("Z:\\", "tool.exe").NetworkPath("\\\\server\\share")},
      {"environment", ShellLinkBuilder()
                          .IdList(FileIdList("C:\\", {"windows", "notepad.exe"}))
                          .Flags(kHasExpString)
                          .ExtraBlock(EnvironmentBlock("%windir%\\notepad.exe"))
                          .Arguments("a.txt")},
      {"environment with link info", ShellLinkBuilder()
                                         .IdList(FileIdList("C:\\", {"windows", "notepad.exe"}))
                                         .LocalPath("C:\\windows\\notepad.exe")
                                         .Flags(kHasExpString)
                                         .ExtraBlock(EnvironmentBlock("%windir%\\notepad.exe"))},
      {"known folder", ShellLinkBuilder()
                           .IdList(FileIdList("C:\\", {"Program Files", "app.exe"}))
                           .LocalPath("C:\\Program Files\\app.exe")
                           .ExtraBlock(KnownFolderBlock(programFiles, 0x14))},
      {"ID list only", ShellLinkBuilder().IdList(FileIdList("C:\\", {"windows", "notepad.exe"}))},
      {"relative path to nothing", ShellLinkBuilder().RelativePath(".\\nothing-here.exe").WorkingDir("C:\\nowhere")},
      {"advertised", ShellLinkBuilder()
                         .LocalPath("C:\\a.exe")
                         .Arguments("-x")
                         .Flags(kHasDarwinId)
                         .ExtraBlock(DarwinBlock("[product]>feature>component"))},
      {"broken extra data", ShellLinkBuilder().LocalPath("C:\\a.exe").ExtraBlock({0xFF, 0xFF, 0xFF, 0x7F, 1, 2})},
  };
  for (const auto& [what, builder] : corpus) {
    SCOPED_TRACE(what);
    const std::string path = folder_.File(std::string(what) + ".lnk");
    WriteBytes(path, builder.Build());
    ExpectSameAnswers(path);
  }
}

TEST_F(ShortcutDifferentialTest, BrokenFiles) {
  const ByteVector good = ShellLinkBuilder().LocalPath("C:\\a.exe").Arguments("-x").Name("d").Build();
  const std::size_t cuts[] = {0, 4, 0x4B, 0x4C, 0x50, 0x60, good.size() - 8, good.size() - 5};
  for (const std::size_t cut : cuts) {
    const std::string path = folder_.File("cut" + std::to_string(cut) + ".lnk");
    WriteBytes(path, ByteVector(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
    ExpectSameAnswers(path);
  }
  ByteVector otherClass = good;
  otherClass[4] ^= 1;
  WriteBytes(folder_.File("class.lnk"), otherClass);
  ExpectSameAnswers(folder_.File("class.lnk"));
}

}  // namespace
}  // namespace icotake::test
