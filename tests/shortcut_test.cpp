// ResolveShortcutTarget against every backend there is: the same shortcut files, the same texts.

#include "shell/shortcut.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text_encoding.h"
#include "tests/shell_link_builder.h"
#include "tests/shell_platform.h"

namespace icotake::test {
namespace {

// What a text of the shortcut gives as the program's narrow text: the bytes themselves where the
// narrow text is in code page 936, their UTF-8 form elsewhere.
std::string Narrow(const std::string& cp936) { return NarrowFromUtf16(Utf16FromAnsiCodePage(cp936)); }

const std::string kDesktop = "\xD7\xC0\xC3\xE6";  // "桌面" in code page 936

class ShortcutTest : public ::testing::TestWithParam<ShortcutBackend> {
 protected:
  std::string Write(const std::string& name, const ByteVector& bytes) {
    WriteBytes(folder_.path() / name, bytes);
    return folder_.File(name);
  }
  std::string Resolve(const std::string& path, const ShortcutDetails& details = {}) {
    return ResolveShortcutTargetWith(GetParam().load, path, details);
  }
  // Every output, each receiver set to a sentinel first so that an untouched one shows.
  struct Everything {
    std::string result, targetPath = "?", arguments = "?", workingFolder = "?", iconLocation = "?";
    std::int32_t showCommand = -99, hotKeyNumber = -99;
    std::string hotKeyText = "?", description = "?";
  };
  Everything ResolveEverything(const std::string& path) {
    Everything e;
    e.result = Resolve(path, {.targetPath = &e.targetPath,
                              .arguments = &e.arguments,
                              .workingFolder = &e.workingFolder,
                              .iconLocation = &e.iconLocation,
                              .showCommand = &e.showCommand,
                              .hotKey = &e.hotKeyNumber,
                              .description = &e.description});
    EXPECT_EQ(Resolve(path, {.hotKey = &e.hotKeyText}), e.result);
    return e;
  }
  bool UnderWineShell() const { return GetParam().name == "shell" && RunningUnderWine(); }

  OleApartment ole_;
  ScratchFolder folder_;
};

TEST_P(ShortcutTest, CommandIsTargetBlankArgumentsWithoutQuotes) {
  const std::string path = Write("app.lnk", ShellLinkBuilder()
                                                .LocalPath("C:\\Program Files\\App\\app.exe")
                                                .Arguments("-x")
                                                .Build());
  const Everything e = ResolveEverything(path);
  EXPECT_EQ(e.result, "C:\\Program Files\\App\\app.exe -x");
  EXPECT_EQ(e.targetPath, "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(e.arguments, "-x");
}

TEST_P(ShortcutTest, NoArgumentsNoTrailingBlank) {
  const std::string path = Write("app.lnk", ShellLinkBuilder().LocalPath("C:\\a b\\app.exe").Build());
  EXPECT_EQ(Resolve(path), "C:\\a b\\app.exe");
}

TEST_P(ShortcutTest, BlankArgumentsAreKeptAsTheyAre) {
  const std::string path = Write("app.lnk", ShellLinkBuilder().LocalPath("C:\\app.exe").Arguments("  ").Build());
  EXPECT_EQ(Resolve(path), "C:\\app.exe   ");
}

TEST_P(ShortcutTest, MovedTargetIsStillReported) {
  // Nothing exists at the stored path: the path comes back as stored, nothing searches for it.
  const std::string path = Write("gone.lnk", ShellLinkBuilder()
                                                 .IdList(FileIdList("C:\\", {"gone", "old.exe"}))
                                                 .LocalPath("C:\\gone\\old.exe")
                                                 .Build());
  EXPECT_EQ(Resolve(path), "C:\\gone\\old.exe");
}

TEST_P(ShortcutTest, RelativePathAloneIsFoundFromTheLinkOrItsWorkingFolder) {
  WriteBytes(folder_.path() / "rel.exe", ByteVector{'M', 'Z'});
  std::filesystem::create_directories(folder_.path() / "links");
  const std::string besideLink = Write("beside.lnk", ShellLinkBuilder().RelativePath(".\\rel.exe").Build());
  const std::string viaWorkingFolder = Write("links/work.lnk", ShellLinkBuilder()
                                                                   .RelativePath("rel.exe")
                                                                   .WorkingDir(folder_.path().string())
                                                                   .Build());
  const std::string nowhere = Write("links/nowhere.lnk", ShellLinkBuilder().RelativePath("..\\gone.exe").Build());
  EXPECT_EQ(Resolve(besideLink), folder_.File("rel.exe"));
  EXPECT_EQ(Resolve(viaWorkingFolder), folder_.File("rel.exe"));
  EXPECT_EQ(Resolve(nowhere), "..\\gone.exe");
}

TEST_P(ShortcutTest, LoadPathRule) {
  const ByteVector link = ShellLinkBuilder().LocalPath("C:\\tool.exe").Build();
  Write("Tool.LNK", link);
  Write("plain.lnk", link);
  Write("list.lnk.txt", ByteVector{'n', 'o', ' ', 'l', 'i', 'n', 'k'});
  Write("list.lnk.txt.lnk", link);  // would answer if ".lnk" were appended
  Write("Tool.LNK.lnk", link);

  EXPECT_EQ(Resolve(folder_.File("Tool.LNK")), "C:\\tool.exe") << "upper case loaded as is";
  EXPECT_EQ(Resolve(folder_.File("plain")), "C:\\tool.exe") << "\".lnk\" appended";
  EXPECT_EQ(Resolve(folder_.File("list.lnk.txt")), "") << "\".lnk\" inside: loaded unchanged";
  EXPECT_EQ(Resolve(folder_.File("missing.lnk")), "");
  EXPECT_EQ(Resolve(folder_.File("missing")), "");
  EXPECT_EQ(Resolve(""), "");
  // A text ends at its NUL.
  EXPECT_EQ(Resolve(folder_.File("plain") + std::string("\0.lnk", 5)), "C:\\tool.exe");

  EXPECT_EQ(ShortcutLoadPath("C:\\a\\Tool.LNK"), "C:\\a\\Tool.LNK");
  EXPECT_EQ(ShortcutLoadPath("C:\\a\\Tool"), "C:\\a\\Tool.lnk");
  EXPECT_EQ(ShortcutLoadPath("C:\\a\\list.lnk.txt"), "C:\\a\\list.lnk.txt");
  EXPECT_EQ(ShortcutLoadPath("C:\\A.LnK\\b"), "C:\\A.LnK\\b");
  EXPECT_EQ(ShortcutLoadPath(""), ".lnk");
}

TEST_P(ShortcutTest, MissingOrBrokenShortcutFillsNothing) {
  Write("broken.lnk", ByteVector(0x4C, 0));
  for (const std::string name : {"missing.lnk", "broken.lnk"}) {
    SCOPED_TRACE(name);
    const Everything e = ResolveEverything(folder_.File(name));
    EXPECT_EQ(e.result, "");
    EXPECT_EQ(e.targetPath, "?");
    EXPECT_EQ(e.iconLocation, "?");
    EXPECT_EQ(e.showCommand, -99);
    EXPECT_EQ(e.hotKeyNumber, -99);
    EXPECT_EQ(e.hotKeyText, "?");
    EXPECT_EQ(e.description, "?");
  }
}

TEST_P(ShortcutTest, AllSevenOutputs) {
  const std::string path = Write("all.lnk", ShellLinkBuilder()
                                                .LocalPath("C:\\" + kDesktop + "\\app.exe")
                                                .Arguments("/s " + kDesktop)
                                                .WorkingDir("C:\\" + kDesktop)
                                                .IconLocation("C:\\icons.dll")
                                                .IconIndex(-2)
                                                .ShowCommand(3)
                                                .HotKey(0x0641)
                                                .Name("about " + kDesktop)
                                                .Build());
  const Everything e = ResolveEverything(path);
  EXPECT_EQ(e.result, Narrow("C:\\" + kDesktop + "\\app.exe /s " + kDesktop));
  EXPECT_EQ(e.targetPath, Narrow("C:\\" + kDesktop + "\\app.exe"));
  EXPECT_EQ(e.arguments, Narrow("/s " + kDesktop));
  EXPECT_EQ(e.workingFolder, Narrow("C:\\" + kDesktop));
  EXPECT_EQ(e.iconLocation, "C:\\icons.dll,-2");
  EXPECT_EQ(e.hotKeyNumber, 0x0641);
  EXPECT_EQ(e.hotKeyText, "Ctrl + Alt + A");
  EXPECT_EQ(e.description, Narrow("about " + kDesktop));
  // Wine's object answers 1 whatever the file holds.
  EXPECT_EQ(e.showCommand, UnderWineShell() ? 1 : 3);
}

TEST_P(ShortcutTest, EmptyValuesReplaceTheReceiversTexts) {
  const std::string path = Write("bare.lnk", ShellLinkBuilder().LocalPath("C:\\a.exe").Build());
  const Everything e = ResolveEverything(path);
  EXPECT_EQ(e.arguments, "");
  EXPECT_EQ(e.workingFolder, "");
  EXPECT_EQ(e.iconLocation, ",0") << "no icon location";
  EXPECT_EQ(e.hotKeyNumber, 0);
  EXPECT_EQ(e.hotKeyText, "");
  EXPECT_EQ(e.description, "");
  EXPECT_EQ(e.showCommand, 1);
}

TEST_P(ShortcutTest, ShowCommandSevenIsReportedAsTwo) {
  const std::string path = Write("min.lnk", ShellLinkBuilder().LocalPath("C:\\a.exe").ShowCommand(7).Build());
  std::int32_t show = -99;
  Resolve(path, {.showCommand = &show});
  EXPECT_EQ(show, UnderWineShell() ? 1 : 2);
}

TEST_P(ShortcutTest, ANSIShortcutFromAnotherWriter) {
  const std::string path = Write("ansi.lnk", ShellLinkBuilder()
                                                 .Ansi()
                                                 .LocalPath("C:\\" + kDesktop + "\\a b.exe")
                                                 .Arguments("-x")
                                                 .IconLocation("i.ico")
                                                 .IconIndex(5)
                                                 .Build());
  std::string icon;
  EXPECT_EQ(Resolve(path, {.iconLocation = &icon}), Narrow("C:\\" + kDesktop + "\\a b.exe -x"));
  EXPECT_EQ(icon, "i.ico,5");
}

TEST_P(ShortcutTest, LongValuesAreCutToWholeCharactersWithin1023Bytes) {
  const std::string longArguments(2000, 'a');
  const std::string path = Write("long.lnk", ShellLinkBuilder().LocalPath("C:\\a.exe").Arguments(longArguments).Build());
  std::string arguments;
  EXPECT_EQ(Resolve(path, {.arguments = &arguments}), "C:\\a.exe " + std::string(1023, 'a'));
  EXPECT_EQ(arguments, std::string(1023, 'a'));

  // A double-byte character never straddles the cut.
  std::string wide = "a";
  for (int i = 0; i < 600; ++i) wide += kDesktop.substr(0, 2);
  const std::string widePath = Write("wide.lnk", ShellLinkBuilder().LocalPath("C:\\a.exe").Arguments(wide).Build());
  Resolve(widePath, {.arguments = &arguments});
  const std::string narrow = Narrow(wide);
  const std::size_t characterSize = (narrow.size() - 1) / 600;
  EXPECT_EQ(arguments, narrow.substr(0, 1 + (1022 / characterSize) * characterSize));
}

TEST_P(ShortcutTest, LoadPathMustFitInMaxPath) {
  // Folders nested deep enough that the path reaches the limit, whichever way the platform
  // spells the scratch folder.
  const ByteVector link = ShellLinkBuilder().LocalPath("C:\\tool.exe").Build();
  std::filesystem::path folder = folder_.path();
  while (folder.string().size() < 200) folder /= "nested-folder";
  std::filesystem::create_directories(folder);
  const std::string base = folder.string();
  const std::string separator = folder_.File("x").substr(folder_.path().string().size(), 1);
  // A load path of 259 characters (260 code units with the terminator) fits; one more does not.
  for (const std::size_t length : {std::size_t{259}, std::size_t{260}}) {
    SCOPED_TRACE(length);
    const std::size_t nameLength = length - base.size() - 1;
    const std::string name = std::string(nameLength - 4, 'n') + ".lnk";
    const std::string path = base + separator + name;
    ASSERT_EQ(path.size(), length);
    WriteBytes(folder / name, link);
    if (!std::filesystem::exists(folder / name)) GTEST_SKIP() << "the file system takes no path this long";
    EXPECT_EQ(Resolve(path), length < kMaxLoadPath ? "C:\\tool.exe" : "");
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, ShortcutTest, ::testing::ValuesIn(ShortcutBackends()),
                         [](const auto& test) { return test.param.name; });

TEST(HotKeyText, ModifiersInTheirFixedOrderThenTheKey) {
  const std::pair<std::uint16_t, const char*> cases[] = {
      {0x0000, ""},
      {0x0041, "A"},
      {0x0641, "Ctrl + Alt + A"},
      {0x0141, "Shift + A"},
      {0x0F70, "Ctrl + Shift + Alt + Ext + p"},
      {0x0800, "Ext + "},
      {0x0300, "Ctrl + Shift + "},
      {0xF031, "1"},  // flags beyond the four name nothing
  };
  for (const auto& [hotKey, text] : cases) {
    SCOPED_TRACE(hotKey);
    EXPECT_EQ(HotKeyText(hotKey), text);
  }
}

}  // namespace
}  // namespace icotake::test
