// The extract button's procedure, run through its edit-box seam into a scratch folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/extract_driver.h"
#include "icons/icon_file.h"
#include "tests/pe_builder.h"

namespace icotake::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> names;
  if (!fs::is_directory(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

class ExtractDriverTest : public ::testing::Test {
 protected:
  // Runs the procedure with an edit box holding text, counting how often it is read.
  void Click(const Text& text) {
    ExtractIntoFolder([&] { ++reads_; return text; }, output_);
  }

  ScratchFolder scratch_;
  std::string output_ = scratch_.File("out");
  int reads_ = 0;
};

TEST_F(ExtractDriverTest, ModuleWithThreeGroupsWritesThreeFilesIntoANewFolder) {
  const std::string module = scratch_.File("three.dll");
  WriteBytes(module, PeBuilder()
                         .AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 4, 1)}, 1)
                         .AddIconGroup(std::uint16_t{2}, {BitmapImage(32, 32, 4, 2)}, 2)
                         .AddIconGroup(std::string("NAMED"), {PngImage(256, 256)}, 3)
                         .Build());
  Click(MakeText(module));
  EXPECT_EQ(FilesIn(output_), (std::set<std::string>{"1.ico", "2.ico", "3.ico"}));
  EXPECT_EQ(reads_, 1 + 100);  // once for the shortcut test, then every pass reads it afresh
  EXPECT_EQ(ReadBytes(fs::path(output_) / "1.ico"), SerializeIconFile(SetOf({PngImage(256, 256)})).value());

  // A second click writes the same files again over whatever they hold now; a file for a group
  // that is not written this time stays.
  WriteBytes(fs::path(output_) / "2.ico", ByteVector{1, 2, 3});
  WriteBytes(fs::path(output_) / "7.ico", ByteVector{7});
  Click(MakeText(module));
  EXPECT_EQ(ReadBytes(fs::path(output_) / "2.ico"), SerializeIconFile(SetOf({BitmapImage(16, 16, 4, 1)})).value());
  EXPECT_EQ(ReadBytes(fs::path(output_) / "7.ico"), ByteVector{7});
}

TEST_F(ExtractDriverTest, IconFileSourceWritesOneFile) {
  const std::string icon = scratch_.File("one.ico");
  WriteBytes(icon, IconFileBytes({BitmapImage(32, 32, 4)}));
  Click(MakeText(icon));
  EXPECT_EQ(FilesIn(output_), (std::set<std::string>{"1.ico"}));
}

TEST_F(ExtractDriverTest, NothingToExtractStillMakesTheFolder) {
  const std::string module = scratch_.File("m.dll");
  WriteBytes(module, PeBuilder().AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 4)}, 1).Build());
  const Text cases[] = {
      std::nullopt,                                        // an empty edit box
      MakeText(module + "\r\n" + module + "\r\n"),         // several dropped files
      MakeText(scratch_.File("missing.dll")),
  };
  for (const Text& text : cases) {
    fs::remove_all(output_);
    reads_ = 0;
    Click(text);
    EXPECT_TRUE(fs::is_directory(output_)) << View(text);
    EXPECT_TRUE(FilesIn(output_).empty()) << View(text);
    EXPECT_EQ(reads_, 1 + 100);  // the shortcut test, then the plain passes
  }
}

TEST_F(ExtractDriverTest, AnOutputFolderThatCannotBeMadeWritesNothing) {
  const std::string module = scratch_.File("m.dll");
  WriteBytes(module, PeBuilder().AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 4)}, 1).Build());

  output_ = scratch_.File("missing-parent/out");  // only the last level is created
  Click(MakeText(module));
  EXPECT_FALSE(fs::exists(output_));

  output_ = scratch_.File("a-file");  // a file of the folder's name: every write fails
  WriteBytes(output_, ByteVector{1});
  Click(MakeText(module));
  EXPECT_EQ(ReadBytes(output_), ByteVector{1});
}

TEST(ExtractDriver, OutputFolderIsFixed) {
  EXPECT_TRUE(OutputFolder.ends_with(std::string(kPathSeparator) == "\\"
                                         ? "\\\xD7\xC0\xC3\xE6\\\xC8\xA1\xB3\xF6\xB5\xC4\xCD\xBC\xB1\xEA"
                                         : "/\xE5\x8F\x96\xE5\x87\xBA\xE7\x9A\x84\xE5\x9B\xBE\xE6\xA0\x87"));
  EXPECT_FALSE(OutputFolder.ends_with(kPathSeparator));
}

}  // namespace
}  // namespace icotake::test
