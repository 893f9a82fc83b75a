// Our reader against another one: lnkinfo (liblnk) on the same files, field by field. Native
// builds only, where the narrow text is UTF-8 as lnkinfo prints it.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "base/text_encoding.h"
#include "tests/shell_link_builder.h"

namespace icotake::test {
namespace {

constexpr const char* kLnkinfo = "/usr/bin/lnkinfo";

// lnkinfo's "Name : value" lines, by name (the first of each).
std::map<std::string, std::string> LnkinfoFields(const std::string& path) {
  std::map<std::string, std::string> fields;
  const std::string command = std::string(kLnkinfo) + " -c windows-936 '" + path + "' 2>/dev/null";
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return fields;
  char line[4096];
  while (std::fgets(line, sizeof line, out) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::size_t colon = text.find(": ");
    if (colon == std::string::npos) continue;
    std::string name = text.substr(0, colon);
    name.erase(0, name.find_first_not_of('\t'));
    name.erase(name.find_last_not_of("\t ") + 1);
    fields.emplace(name, text.substr(colon + 2));
  }
  pclose(out);
  return fields;
}

std::string Utf8(const std::optional<std::u16string>& text) { return text ? Utf8FromUtf16(*text) : "(none)"; }

std::string Field(const std::map<std::string, std::string>& fields, const std::string& name) {
  const auto it = fields.find(name);
  return it == fields.end() ? "(none)" : it->second;
}

TEST(ShellLinkLnkinfo, SameFieldsAsLnkinfo) {
  if (!std::filesystem::exists(kLnkinfo)) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  const std::string desktop = "\xD7\xC0\xC3\xE6";
  const std::pair<const char*, ShellLinkBuilder> corpus[] = {
      {"explorer", ShellLinkBuilder()
                       .IdList(FileIdList("C:\\", {"Program Files", "App", "app.exe"}))
                       .LocalPath("C:\\Program Files\\App\\app.exe")
                       .Name("App")
                       .RelativePath("..\\App\\app.exe")
                       .WorkingDir("C:\\Program Files\\App")
                       .Arguments("-x \"two words\"")
                       .IconLocation("C:\\icons.dll")
                       .IconIndex(-4)
                       .Flags(kHasExpString)
                       .ExtraBlock(EnvironmentBlock("%ProgramFiles%\\App\\app.exe"))},
      {"ansi", ShellLinkBuilder()
                   .Ansi()
                   .LocalPath("C:\\" + desktop + "\\a b.exe")
                   .Name(desktop)
                   .Arguments("-x " + desktop)
                   .IconIndex(9)},
      {"unicode", ShellLinkBuilder().LocalPath("C:\\base\\", "tool.exe").WorkingDir("C:\\" + desktop)},
      {"network", ShellLinkBuilder().NetworkPath("\\\\server\\share", "dir\\tool.exe")},
      {"mapped", ShellLinkBuilder().LocalPath("Z:\\", "tool.exe").NetworkPath("\\\\server\\share")},
  };
  ScratchFolder folder;
  for (const auto& [what, builder] : corpus) {
    SCOPED_TRACE(what);
    const std::string path = folder.File(std::string(what) + ".lnk");
    const ByteVector bytes = builder.Build();
    WriteBytes(path, bytes);
    const std::optional<ShellLink> link = ParseShellLink(bytes);
    ASSERT_TRUE(link);
    const std::map<std::string, std::string> fields = LnkinfoFields(path);
    ASSERT_FALSE(fields.empty()) << "lnkinfo printed nothing";

    const std::optional<std::u16string> none;
    EXPECT_EQ(Utf8(link->linkInfo ? LinkInfoLocalPath(*link->linkInfo) : none), Field(fields, "Local path"));
    EXPECT_EQ(Utf8(link->linkInfo ? LinkInfoNetworkPath(*link->linkInfo) : none), Field(fields, "Network path"));
    EXPECT_EQ(Utf8(link->name), Field(fields, "Description"));
    EXPECT_EQ(Utf8(link->relativePath), Field(fields, "Relative path"));
    EXPECT_EQ(Utf8(link->workingDir), Field(fields, "Working directory"));
    EXPECT_EQ(Utf8(link->arguments), Field(fields, "Command line arguments"));
    EXPECT_EQ(Utf8(link->iconLocation), Field(fields, "Icon location"));
    EXPECT_EQ(Utf8(link->environmentTarget), Field(fields, "Environment variables location"));
    EXPECT_EQ(std::to_string(link->iconIndex), Field(fields, "Icon index"));
    if (!link->idList.empty()) {
      EXPECT_EQ(std::to_string(link->idList.size()), Field(fields, "Number of items"));
    }
  }
}

}  // namespace
}  // namespace icotake::test
