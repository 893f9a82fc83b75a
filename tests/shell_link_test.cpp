// The shell-link reader over bytes: every part of the format, and every way a file can be broken.

#include "shell/shell_link.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "tests/shell_link_builder.h"

namespace icotake::test {
namespace {

std::u16string U(const std::string& cp936) { return Utf16FromAnsiCodePage(cp936); }

// "桌面" and "描述" in code page 936
const std::string kDesktop = "\xD7\xC0\xC3\xE6";
const std::string kDescription = "\xC3\xE8\xCA\xF6";

constexpr Guid kProgramFiles = {0x7C, 0x5A, 0x40, 0x90, 0xBF, 0xAC, 0xBF, 0x45,
                                0x9B, 0xC2, 0xBE, 0x9E, 0x3B, 0x1A, 0x23, 0x02};

ShellLinkBuilder ExplorerLink() {
  return ShellLinkBuilder()
      .IdList(FileIdList("C:\\", {"Program Files", "App", "app.exe"}))
      .LocalPath("C:\\Program Files\\App\\app.exe")
      .Name("App " + kDescription)
      .RelativePath("..\\..\\Program Files\\App\\app.exe")
      .WorkingDir("C:\\Program Files\\App")
      .Arguments("-x \"two words\"")
      .IconLocation("%SystemRoot%\\system32\\shell32.dll")
      .IconIndex(-3)
      .ShowCommand(7)
      .HotKey(0x0641)
      .Flags(kHasExpString)
      .ExtraBlock(EnvironmentBlock("%ProgramFiles%\\App\\app.exe"))
      .ExtraBlock(KnownFolderBlock(kProgramFiles, 0x29));
}

TEST(ShellLink, ReadsEveryPartOfAnExplorerLink) {
  const ByteVector bytes = ExplorerLink().Build();
  const std::optional<ShellLink> link = ParseShellLink(bytes);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->iconIndex, -3);
  EXPECT_EQ(link->showCommand, 7u);
  EXPECT_EQ(link->hotKey, 0x0641);
  EXPECT_EQ(link->fileAttributes, 0x20u);
  ASSERT_EQ(link->idList.size(), 5u);
  EXPECT_EQ(link->idList[0].size(), 0x14u);
  EXPECT_EQ(link->idList[1][2], 0x2F);  // the volume item
  ASSERT_TRUE(link->linkInfo);
  EXPECT_EQ(link->linkInfo->flags, 1u);
  EXPECT_EQ(link->linkInfo->localBasePath, u"C:\\Program Files\\App\\app.exe");
  EXPECT_FALSE(link->linkInfo->networkName);
  EXPECT_EQ(link->name, U("App " + kDescription));
  EXPECT_EQ(link->relativePath, u"..\\..\\Program Files\\App\\app.exe");
  EXPECT_EQ(link->workingDir, u"C:\\Program Files\\App");
  EXPECT_EQ(link->arguments, u"-x \"two words\"");
  EXPECT_EQ(link->iconLocation, u"%SystemRoot%\\system32\\shell32.dll");
  EXPECT_EQ(link->environmentTarget, u"%ProgramFiles%\\App\\app.exe");
  EXPECT_EQ(link->knownFolder, kProgramFiles);
  EXPECT_FALSE(link->advertised);

  EXPECT_EQ(ShellLinkTargetPath(*link), u"C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(ShellLinkShowCommand(*link), 7);
}

TEST(ShellLink, ReadsAnsiStringsInCodePage936) {
  const ByteVector bytes = ShellLinkBuilder()
                               .Ansi()
                               .LocalPath("C:\\" + kDesktop + "\\a b.exe")
                               .Name(kDescription)
                               .Arguments("-x")
                               .Build();
  const std::optional<ShellLink> link = ParseShellLink(bytes);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->flags & kIsUnicode, 0u);
  EXPECT_EQ(ShellLinkTargetPath(*link), u"C:\\\x684C\x9762\\a b.exe");
  EXPECT_EQ(link->name, u"\x63CF\x8FF0");
  EXPECT_EQ(link->arguments, u"-x");
  EXPECT_FALSE(link->workingDir);
}

TEST(ShellLink, IllFormedAnsiBytesStillGiveAText) {
  // A lead byte with no trail byte at the end; a byte that leads nothing in the middle.
  const ByteVector bytes = ShellLinkBuilder().Ansi().Name("a\x81").Arguments("a\xFF" "b").Build();
  const std::optional<ShellLink> link = ParseShellLink(bytes);
  ASSERT_TRUE(link);
  ASSERT_TRUE(link->name && link->arguments);
  EXPECT_EQ(link->name->front(), u'a');
  EXPECT_EQ(link->arguments->front(), u'a');
  EXPECT_EQ(link->arguments->back(), u'b');
}

TEST(ShellLink, StringsEndAtTheirFirstNul) {
  // Wine's shell-link object stores each string with its terminator, counted.
  ByteVector bytes = ShellLinkBuilder().LocalPath("C:\\a.exe").Arguments(std::string("-x\0junk", 7)).Build();
  const std::optional<ShellLink> link = ParseShellLink(bytes);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->arguments, u"-x");
}

TEST(ShellLink, LinkInfoPaths) {
  struct Case {
    const char* what;
    ShellLinkBuilder builder;
    std::optional<std::u16string> localPath, networkPath;
    std::u16string targetPath;
  };
  const Case cases[] = {
      {"local base path and suffix", ShellLinkBuilder().LocalPath("C:\\base\\", "tool.exe"),
       u"C:\\base\\tool.exe", std::nullopt, u"C:\\base\\"},
      {"Unicode local base path",
       ShellLinkBuilder().LocalPath("C:\\??.exe", "", "C:\\" + kDesktop + ".exe"),
       u"C:\\\x684C\x9762.exe", std::nullopt, u"C:\\??.exe"},
      {"network path only", ShellLinkBuilder().NetworkPath("\\\\server\\share", "dir\\tool.exe"),
       std::nullopt, u"\\\\server\\share\\dir\\tool.exe", u""},
      {"local and network paths",
       ShellLinkBuilder().LocalPath("Z:\\", "tool.exe").NetworkPath("\\\\server\\share"),
       u"Z:\\tool.exe", u"\\\\server\\share\\tool.exe", u"Z:\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<ShellLink> link = ParseShellLink(c.builder.Build());
    ASSERT_TRUE(link);
    ASSERT_TRUE(link->linkInfo);
    EXPECT_EQ(LinkInfoLocalPath(*link->linkInfo), c.localPath);
    EXPECT_EQ(LinkInfoNetworkPath(*link->linkInfo), c.networkPath);
    // The shell-link object answers the ANSI local base path alone.
    EXPECT_EQ(ShellLinkTargetPath(*link), c.targetPath);
  }
}

TEST(ShellLink, TargetPathWithoutLinkInfo) {
  struct Case {
    const char* what;
    ShellLinkBuilder builder;
    std::u16string targetPath;
  };
  const Case cases[] = {
      {"ID list only", ShellLinkBuilder().IdList(FileIdList("C:\\", {"windows", "notepad.exe"})), u""},
      {"environment block only",
       ShellLinkBuilder().Flags(kHasExpString).ExtraBlock(EnvironmentBlock("%windir%\\notepad.exe")), u""},
      {"relative path only", ShellLinkBuilder().RelativePath("..\\rel.exe").WorkingDir("C:\\work"),
       u"..\\rel.exe"},
      {"link info before relative path",
       ShellLinkBuilder().LocalPath("C:\\abs.exe").RelativePath("..\\rel.exe"), u"C:\\abs.exe"},
      {"an empty local base path is still the answer",
       ShellLinkBuilder().LocalPath("").RelativePath("..\\rel.exe"), u""},
      {"advertised shortcut",
       ShellLinkBuilder().LocalPath("C:\\abs.exe").Flags(kHasDarwinId).ExtraBlock(DarwinBlock("[product]")),
       u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<ShellLink> link = ParseShellLink(c.builder.Build());
    ASSERT_TRUE(link);
    EXPECT_EQ(ShellLinkTargetPath(*link), c.targetPath);
  }
}

TEST(ShellLink, ShowCommandOutsideTheThreeKnownValuesIsNormal) {
  const std::pair<std::uint32_t, std::int32_t> cases[] = {
      {0, 1}, {1, 1}, {2, 1}, {3, 3}, {4, 1}, {7, 7}, {8, 1}, {0xFFFFFFFF, 1}};
  for (const auto& [stored, answered] : cases) {
    SCOPED_TRACE(stored);
    const std::optional<ShellLink> link = ParseShellLink(ShellLinkBuilder().ShowCommand(stored).Build());
    ASSERT_TRUE(link);
    EXPECT_EQ(ShellLinkShowCommand(*link), answered);
  }
}

// Offsets of the header's fields and of the first bytes after it.
constexpr std::size_t kFlagsAt = 0x14;
constexpr std::size_t kAfterHeader = 0x4C;

TEST(ShellLink, RejectsBrokenFiles) {
  const ByteVector good = ShellLinkBuilder().LocalPath("C:\\a.exe").Arguments("-x").Build();
  const std::size_t linkInfoAt = kAfterHeader;
  const std::size_t linkInfoSize = Get32(good, linkInfoAt);
  const std::size_t argumentsAt = linkInfoAt + linkInfoSize;

  struct Case {
    const char* what;
    std::function<void(ByteVector&)> damage;
  };
  const Case cases[] = {
      {"empty", [](ByteVector& b) { b.clear(); }},
      {"header cut short", [](ByteVector& b) { b.resize(kAfterHeader - 1); }},
      {"header size 0x4D", [](ByteVector& b) { Put32(b, 0, 0x4D); }},
      {"header size 0", [](ByteVector& b) { Put32(b, 0, 0); }},
      {"another class", [](ByteVector& b) { b[4] ^= 1; }},
      {"ID list flag without a list", [](ByteVector& b) { b[kFlagsAt] |= kHasLinkTargetIdList; Put16(b, kAfterHeader, 0xFFFF); }},
      {"link info size below its header", [=](ByteVector& b) { Put32(b, linkInfoAt, 0x1B); }},
      {"link info size 0", [=](ByteVector& b) { Put32(b, linkInfoAt, 0); }},
      {"link info size past the end", [=](ByteVector& b) { Put32(b, linkInfoAt, 0x7FFFFFFF); }},
      {"link info size 0xFFFFFFFF", [=](ByteVector& b) { Put32(b, linkInfoAt, 0xFFFFFFFF); }},
      {"string count past the end", [=](ByteVector& b) { Put16(b, argumentsAt, 0xFFFF); }},
      {"string flag without a string", [](ByteVector& b) { b[kFlagsAt] |= kHasIconLocation; b.resize(b.size() - 4); }},
      {"advertised without its block", [](ByteVector& b) { b[kFlagsAt + 1] |= kHasDarwinId >> 8; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ByteVector bytes = good;
    c.damage(bytes);
    EXPECT_FALSE(ParseShellLink(bytes));
  }
  EXPECT_TRUE(ParseShellLink(good));
}

TEST(ShellLink, RejectsAnAdvertiseBlockOfAnotherSizeOrKind) {
  ByteVector wrongSize = DarwinBlock("[product]");
  Put32(wrongSize, 0, 0x310);
  ByteVector wrongKind = DarwinBlock("[product]");
  Put32(wrongKind, 4, 0x12345678);
  for (const ByteVector& block : {wrongSize, wrongKind}) {
    EXPECT_FALSE(ParseShellLink(ShellLinkBuilder().Flags(kHasDarwinId).ExtraBlock(block).Build()));
  }
}

TEST(ShellLink, OffsetsOutsideTheLinkInfoNameNoPath) {
  ByteVector bytes = ShellLinkBuilder().LocalPath("C:\\a.exe").NetworkPath("\\\\s\\x").Build();
  const std::size_t info = kAfterHeader;
  const std::uint32_t size = Get32(bytes, info);
  Put32(bytes, info + 16, size);           // local base path offset: just past the end
  Put32(bytes, info + 20, 0xFFFFFFF0);     // network link offset: far past it
  Put32(bytes, info + 24, 0);              // no suffix
  const std::optional<ShellLink> link = ParseShellLink(bytes);
  ASSERT_TRUE(link);
  EXPECT_FALSE(link->linkInfo->localBasePath);
  EXPECT_FALSE(link->linkInfo->networkName);
  EXPECT_EQ(ShellLinkTargetPath(*link), u"");
}

TEST(ShellLink, AStringRunningToTheEndOfTheLinkInfoStopsThere) {
  ByteVector bytes = ShellLinkBuilder().LocalPath("C:\\a.exe").Arguments("-x").Build();
  const std::size_t info = kAfterHeader;
  const std::uint32_t size = Get32(bytes, info);
  const std::uint32_t localAt = Get32(bytes, info + 16);
  // Overwrite everything from the path's terminator to the end of the link info.
  for (std::size_t i = info + localAt + 8; i < info + size; ++i) bytes[i] = 'x';
  const std::optional<ShellLink> link = ParseShellLink(bytes);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->linkInfo->localBasePath, U("C:\\a.exe" + std::string(size - localAt - 8, 'x')));
  EXPECT_EQ(link->arguments, u"-x");
}

TEST(ShellLink, BrokenExtraDataEndsTheBlocksWithoutFailingTheLink) {
  struct Case {
    const char* what;
    ByteVector block;
  };
  ByteVector huge = EnvironmentBlock("%a%");
  Put32(huge, 0, 0xFFFFFFFF);
  ByteVector tiny = {5, 0, 0, 0, 1};
  ByteVector shortEnvironment = EnvironmentBlock("%a%");
  Put32(shortEnvironment, 0, 0x14);
  shortEnvironment.resize(0x14);
  const Case cases[] = {{"size past the end", huge}, {"size below a header", tiny},
                        {"environment block of the wrong size", shortEnvironment}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<ShellLink> link = ParseShellLink(ShellLinkBuilder()
                                                             .LocalPath("C:\\a.exe")
                                                             .ExtraBlock(c.block)
                                                             .ExtraBlock(EnvironmentBlock("%b%"))
                                                             .Build());
    ASSERT_TRUE(link);
    EXPECT_EQ(ShellLinkTargetPath(*link), u"C:\\a.exe");
    EXPECT_FALSE(link->environmentTarget == u"%a%");
  }
}

TEST(ShellLink, EnvironmentBlockFallsBackToItsAnsiTarget) {
  ByteVector block = EnvironmentBlock("%windir%\\a.exe");
  std::fill(block.begin() + 8 + 260, block.end(), 0);  // no Unicode target
  const std::optional<ShellLink> link = ParseShellLink(ShellLinkBuilder().ExtraBlock(block).Build());
  ASSERT_TRUE(link);
  EXPECT_EQ(link->environmentTarget, u"%windir%\\a.exe");
}

TEST(ShellLink, MalformedIdListItemsEndTheListWithoutFailingTheLink) {
  ShellLinkBuilder builder = ShellLinkBuilder().IdList({{0x04, 0x00, 0x1F, 0x50}, {0xFF, 0x00, 0x31}}).LocalPath("C:\\a.exe");
  const std::optional<ShellLink> link = ParseShellLink(builder.Build());
  ASSERT_TRUE(link);
  EXPECT_EQ(link->idList.size(), 1u);
  EXPECT_EQ(ShellLinkTargetPath(*link), u"C:\\a.exe");
}

// Every prefix of a full file: nothing is read out of bounds, and the file counts as a link
// exactly when the cut falls in the extra data (or the terminal block).
TEST(ShellLink, EveryPrefixOfAFullFile) {
  const ShellLinkBuilder builder = ExplorerLink().NetworkPath("\\\\server\\share").LocalPath("C:\\a\\", "b.exe", "C:\\a\\");
  const ByteVector bytes = builder.Build();
  const std::size_t stringsEnd = builder.StringsEnd();
  for (std::size_t size = 0; size <= bytes.size(); ++size) {
    const ByteVector prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    const std::optional<ShellLink> link = ParseShellLink(prefix);
    EXPECT_EQ(link.has_value(), size >= stringsEnd) << size;
  }
}

}  // namespace
}  // namespace icotake::test
