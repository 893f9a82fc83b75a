// The command line's pieces: arguments, kinds from content, group selection, paths and the
// listing's JSON text. The whole program, as a user runs it, is tried by cli_end_to_end.py.

#include <gtest/gtest.h>

#include "cli/arguments.h"
#include "cli/extraction.h"
#include "cli/folders.h"
#include "cli/listing.h"
#include "cli/selection.h"
#include "cli/source.h"
#include "tests/cli_fixtures.h"
#include "tests/shell_link_builder.h"

namespace icotake::cli {
namespace {

using test::ByteVector;

ParsedArguments Parse(std::vector<std::string_view> words) { return ParseArguments(words); }

TEST(ParseArguments, ReadsEveryForm) {
  struct Case {
    std::vector<std::string_view> words;
    Action action;
    std::vector<std::string> inputs;
    std::string output;
    std::vector<std::string> groups;
    std::optional<std::uint16_t> language;
    bool recursive, json;
  };
  const Case cases[] = {
      {{"app.exe"}, Action::kExtract, {"app.exe"}, ".", {}, {}, false, false},
      {{"app.exe", "-o", "out"}, Action::kExtract, {"app.exe"}, "out", {}, {}, false, false},
      {{"extract", "a.dll", "b.dll", "--output=out", "-r"}, Action::kExtract, {"a.dll", "b.dll"}, "out", {}, {}, true, false},
      {{"list", "--json", "a.dll"}, Action::kList, {"a.dll"}, ".", {}, {}, false, true},
      {{"list", "a.dll", "-g", "3", "--group", "#101", "--group=ICON_MAIN"}, Action::kList, {"a.dll"}, ".", {"3", "#101", "ICON_MAIN"}, {}, false, false},
      {{"list", "a.dll", "--lang", "0x0407"}, Action::kList, {"a.dll"}, ".", {}, 0x0407, false, false},
      {{"list", "a.dll", "-l", "1033"}, Action::kList, {"a.dll"}, ".", {}, 1033, false, false},
      {{"extract", "--", "-odd.dll", "list"}, Action::kExtract, {"-odd.dll", "list"}, ".", {}, {}, false, false},
      {{"extract", "list"}, Action::kExtract, {"list"}, ".", {}, {}, false, false},
      {{"a.dll", "--help"}, Action::kHelp, {"a.dll"}, ".", {}, {}, false, false},
      {{"-h"}, Action::kHelp, {}, ".", {}, {}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.front());
    const ParsedArguments parsed = Parse(c.words);
    ASSERT_EQ(parsed.error, "");
    const Arguments& a = parsed.arguments;
    EXPECT_EQ(a.action, c.action);
    EXPECT_EQ(a.inputs, c.inputs);
    EXPECT_EQ(a.outputFolder, c.output);
    std::vector<std::string> groups;
    for (const GroupSelector& g : a.groups) groups.push_back(g.text);
    EXPECT_EQ(groups, c.groups);
    EXPECT_EQ(a.language, c.language);
    EXPECT_EQ(a.recursive, c.recursive);
    EXPECT_EQ(a.json, c.json);
  }
}

TEST(ParseArguments, RejectsWhatItCannotDo) {
  const struct {
    std::vector<std::string_view> words;
    std::string error;
  } cases[] = {
      {{}, "no input file"},
      {{"list"}, "no input file"},
      {{"a.dll", "-x"}, "unknown option -x"},
      {{"a.dll", "-o"}, "-o needs a value"},
      {{"a.dll", "--output="}, "-o needs a folder"},
      {{"a.dll", "--recursive=yes"}, "--recursive takes no value"},
      {{"a.dll", "--group", "0"}, "bad group 0 (3, #101 or a name)"},
      {{"a.dll", "--group", "#0"}, "bad group #0 (3, #101 or a name)"},
      {{"a.dll", "--group", "#65536"}, "bad group #65536 (3, #101 or a name)"},
      {{"a.dll", "--group="}, "bad group  (3, #101 or a name)"},
      {{"a.dll", "--lang", "0x10000"}, "bad language 0x10000 (1033 or 0x0409)"},
      {{"a.dll", "--lang", "en"}, "bad language en (1033 or 0x0409)"},
      {{"a.dll", "--lang", "-1"}, "bad language -1 (1033 or 0x0409)"},
      {{"list", "a.dll", "-o", "out"}, "-o belongs to extract, not list"},
      {{"a.dll", "--json"}, "--json belongs to list, not extract"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(Parse(c.words).error, c.error);
  }
}

TEST(ParseGroupSelector, TellsPositionsNumbersAndNamesApart) {
  const auto position = ParseGroupSelector("12");
  ASSERT_TRUE(position);
  EXPECT_EQ(position->position, 12u);
  const auto number = ParseGroupSelector("#101");
  ASSERT_TRUE(number);
  EXPECT_FALSE(number->position);
  EXPECT_EQ(number->name, ResourceName(std::uint16_t{101}));
  for (const char* name : {"ICON_MAIN", "#abc", "3a", "#"}) {
    const auto selector = ParseGroupSelector(name);
    ASSERT_TRUE(selector) << name;
    EXPECT_FALSE(selector->position);
    EXPECT_EQ(selector->name, ResourceName(std::string(name)));
  }
}

TEST(DetectSourceKind, ReadsTheContentNotTheName) {
  ByteVector mzOnly = {'M', 'Z'};
  ByteVector peFarAway = test::DosProgram();
  test::Put32(peFarAway, 0x3C, 0xFFFFFFF0);
  ByteVector cursor = test::TwoImageIconFile();
  test::Put16(cursor, 2, 2);
  ByteVector linkWithoutClass = test::ShortcutHeader();
  linkWithoutClass[19] = 0;
  const struct {
    const char* what;
    ByteVector bytes;
    SourceKind kind;
  } cases[] = {
      {"PE32 module", test::AppModule(), SourceKind::kModule},
      {"PE32+ module", test::Module64(), SourceKind::kModule},
      {"MS-DOS program", test::DosProgram(), SourceKind::kUnknown},
      {"MZ alone", mzOnly, SourceKind::kUnknown},
      {"e_lfanew past the end", peFarAway, SourceKind::kUnknown},
      {"icon file", test::TwoImageIconFile(), SourceKind::kIconFile},
      {"cursor file", cursor, SourceKind::kUnknown},
      {"shortcut", test::ShortcutHeader(), SourceKind::kShortcut},
      {"shortcut size without its class", linkWithoutClass, SourceKind::kUnknown},
      {"empty", {}, SourceKind::kUnknown},
      {"one byte", {'M'}, SourceKind::kUnknown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DetectSourceKind(c.bytes), c.kind);
  }
}

TEST(OpenSource, GivesGroupsOrTheReasonThereAreNone) {
  test::ScratchFolder folder;
  const struct {
    const char* name;
    ByteVector bytes;
    std::string problem;
    bool holdsNoIcons;
    std::size_t groups;
  } cases[] = {
      {"app.txt", test::AppModule(), "", false, 3},
      {"two.bin", test::TwoImageIconFile(), "", false, 1},
      {"t.dll", test::TruncatedModule(), "truncated resource directory at offset 0x200", false, 0},
      {"n.dll", test::ModuleWithoutGroups(), "no icon groups", true, 0},
      {"d.exe", test::DosProgram(), "not a PE module (an MS-DOS or 16-bit program)", true, 0},
      {"r.txt", {'h', 'i'}, "not a PE module, icon file or shortcut", true, 0},
      {"t.ico", test::TruncatedIconFile(), "truncated icon directory: 3 entries in 22 bytes", false, 0},
      {"l.lnk", test::ShortcutHeader(), "shortcut without a target path, or damaged", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes(folder.File(c.name), c.bytes);
    const OpenedSource opened = OpenSource(folder.File(c.name));
    EXPECT_EQ(opened.problem, c.problem);
    EXPECT_EQ(opened.holdsNoIcons, c.holdsNoIcons);
    EXPECT_EQ(opened.source ? opened.source->groups.size() : 0u, c.groups);
  }
}

TEST(OpenSource, AShortcutGivesItsTargetsGroupsButNotAShortcutsOwn) {
  test::ScratchFolder folder;
  const std::string module = folder.File("app.dll");
  test::WriteBytes(module, test::AppModule());
  test::WriteBytes(folder.File("app.lnk"), test::ShellLinkBuilder().LocalPath(module).Arguments("/x").Build());
  const OpenedSource opened = OpenSource(folder.File("app.lnk"));
  ASSERT_TRUE(opened.source) << opened.problem;
  EXPECT_EQ(opened.source->kind, SourceKind::kShortcut);
  EXPECT_EQ(opened.source->path, folder.File("app.lnk"));
  EXPECT_EQ(opened.source->target, module);  // the target alone, without its arguments
  EXPECT_EQ(opened.source->groups.size(), 3u);

  test::WriteBytes(folder.File("again.lnk"), test::ShellLinkBuilder().LocalPath(folder.File("app.lnk")).Build());
  EXPECT_EQ(OpenSource(folder.File("again.lnk")).problem,
            "a shortcut to a shortcut (" + folder.File("app.lnk") + ")");
  test::WriteBytes(folder.File("gone.lnk"), test::ShellLinkBuilder().LocalPath(folder.File("gone.dll")).Build());
  EXPECT_EQ(OpenSource(folder.File("gone.lnk")).problem, "target " + folder.File("gone.dll") + ": cannot be opened for reading");
}

TEST(SelectGroups, PicksByPositionNumberOrNameInSelectorOrder) {
  test::ScratchFolder folder;
  test::WriteBytes(folder.File("app.dll"), test::AppModule());
  OpenedSource opened = OpenSource(folder.File("app.dll"));
  ASSERT_TRUE(opened.source);
  const auto select = [&](std::vector<std::string> words) {
    std::vector<GroupSelector> selectors;
    for (const std::string& word : words) selectors.push_back(*ParseGroupSelector(word));
    const Selection selection = SelectGroups(*opened.source, selectors);
    std::vector<std::string> picked;
    for (const SourceGroup* group : selection.groups) picked.push_back(std::to_string(group->position));
    for (const std::string& unmatched : selection.unmatched) picked.push_back("no " + unmatched);
    return picked;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(select({}), (V{"1", "2", "3"}));
  EXPECT_EQ(select({"3", "1"}), (V{"3", "1"}));
  EXPECT_EQ(select({"#5", "icon_main"}), (V{"3", "1"}));
  EXPECT_EQ(select({"2", "#2", "2"}), (V{"2"}));
  EXPECT_EQ(select({"4", "#1", "ICON", "#ICON_MAIN"}), (V{"no 4", "no #1", "no ICON", "no #ICON_MAIN"}));
}

TEST(Paths, JoinAndFileNames) {
  const std::string s(1, kSeparator);
  EXPECT_EQ(JoinPath("out", "1.ico"), "out" + s + "1.ico");
  EXPECT_EQ(JoinPath("out/", "1.ico"), "out/1.ico");
  EXPECT_EQ(JoinPath("", "1.ico"), "1.ico");
  EXPECT_EQ(FileNameOf("a/b/app.dll"), "app.dll");
  EXPECT_EQ(FileNameOf("a/b/"), "b");
  EXPECT_EQ(FileNameOf("app.dll"), "app.dll");
#ifdef _WIN32
  EXPECT_EQ(FileNameOf("C:\\x\\app.dll"), "app.dll");
  EXPECT_EQ(FileNameOf("C:app.dll"), "app.dll");
  // "表" in code page 936 ends in the byte of a backslash, which is no separator there.
  EXPECT_EQ(FileNameOf("x\\\xB1\x5C.dll"), "\xB1\x5C.dll");
#endif
}

TEST(SubfolderFor, NamesEachInputAfterItsFileOnceInARun) {
  std::set<std::string> taken;
  const std::string s(1, kSeparator);
  EXPECT_EQ(SubfolderFor("out", "a/app.dll", taken), "out" + s + "app.dll");
  EXPECT_EQ(SubfolderFor("out", "b/app.dll", taken), "out" + s + "app.dll-2");
  EXPECT_EQ(SubfolderFor("out", "app.dll", taken), "out" + s + "app.dll-3");
  EXPECT_EQ(SubfolderFor("out", "two.ico", taken), "out" + s + "two.ico");
}

TEST(ListingJson, EscapesTextsAndKeepsFailures) {
  FileListing listing;
  listing.path = "a\"b\\c\x01.dll";
  listing.kind = SourceKind::kModule;
  listing.groupCount = 1;
  GroupListing& group = listing.groups.emplace_back();
  group.group = {1, ResourceName(std::string("N\tX")), {0x0409}};
  group.images.push_back({256, 256, 32, true, 45});
  const std::string json = ListingJson({listing}, {{"m\xC3\xA9.dll", "no icon groups"}});
  EXPECT_NE(json.find(R"("path": "a\"b\\c\u0001.dll")"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("number": null, "name": "N\tX", "languages": [1033])"), std::string::npos) << json;
  EXPECT_NE(json.find(R"({"width": 256, "height": 256, "bitCount": 32, "format": "png", "bytes": 45})"), std::string::npos) << json;
#ifndef _WIN32
  EXPECT_NE(json.find("{\"file\": \"m\xC3\xA9.dll\", \"reason\": \"no icon groups\"}"), std::string::npos) << json;
#endif
}

}  // namespace
}  // namespace icotake::cli
