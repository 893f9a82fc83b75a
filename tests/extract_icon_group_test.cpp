// ExtractIconGroup's cases, run against every module backend of the binary.

#include <gtest/gtest.h>

#include <filesystem>

#include "icons/extract_icon_group.h"
#include "icons/icon_file.h"
#include "tests/backends.h"
#include "tests/pe_builder.h"

namespace icotake::test {
namespace {

class ExtractIconGroupTest : public ::testing::TestWithParam<Backend> {
 protected:
  // Writes a module into the scratch folder and answers its path.
  std::string Module(const std::string& name, const ByteVector& bytes) {
    const std::string path = folder_.File(name);
    WriteBytes(path, bytes);
    return path;
  }
  ExtractOutcome Extract(const std::string& source, std::int32_t mode, const std::string& output,
                         std::int32_t groupNumber) {
    return ExtractGroup(GetParam().open, source, mode, output, groupNumber);
  }
  std::string Out(const std::string& name) const { return folder_.File(name); }
  // The icon file that a group of these images must become.
  static ByteVector IconOf(const std::vector<ByteVector>& images) {
    return SerializeIconFile(SetOf(images)).value();
  }

  ScratchFolder folder_;
};

// Three groups whose images tell them apart.
const std::vector<ByteVector> kGroupA = {BitmapImage(16, 16, 4, 1), BitmapImage(32, 32, 8, 2)};
const std::vector<ByteVector> kGroupB = {PngImage(256, 256)};
const std::vector<ByteVector> kGroupC = {BitmapImage(48, 48, 32, 3)};

ByteVector ThreeGroups(bool pe32Plus = false) {
  return PeBuilder()
      .AddIconGroup(std::uint16_t{1}, kGroupA, 1)
      .AddIconGroup(std::uint16_t{2}, kGroupB, 10)
      .AddIconGroup(std::uint16_t{3}, kGroupC, 20)
      .Build(pe32Plus);
}

TEST_P(ExtractIconGroupTest, WritesEachGroupOfAModuleAndNothingPastTheLast) {
  for (const bool pe32Plus : {false, true}) {
    const std::string module = Module(pe32Plus ? "three64.dll" : "three.dll", ThreeGroups(pe32Plus));
    const std::vector<ByteVector>* groups[] = {&kGroupA, &kGroupB, &kGroupC};
    for (std::int32_t n = 1; n <= 3; ++n) {
      const std::string out = Out(std::to_string(n) + ".ico");
      const ExtractOutcome outcome = Extract(module, kWriteToFile, out, n);
      EXPECT_EQ(outcome.groupCount, 3);
      EXPECT_TRUE(outcome.written);
      EXPECT_EQ(ReadBytes(out), IconOf(*groups[n - 1])) << n;
    }
    EXPECT_EQ(Extract(module, kWriteToFile, Out("4.ico"), 4).groupCount, 0);
    EXPECT_FALSE(std::filesystem::exists(Out("4.ico")));
  }
}

TEST_P(ExtractIconGroupTest, NamedGroupsComeFirstThenNumbersAscending) {
  const std::string module =
      Module("order.exe", PeBuilder()
                              .AddIconGroup(std::uint16_t{5}, {BitmapImage(16, 16, 4, 5)}, 1)
                              .AddIconGroup(std::string("ZETA"), {BitmapImage(16, 16, 4, 90)}, 2)
                              .AddIconGroup(std::uint16_t{2}, {BitmapImage(16, 16, 4, 2)}, 3)
                              .AddIconGroup(std::string("ALPHA"), {BitmapImage(16, 16, 4, 80)}, 4)
                              .Build());
  const std::uint8_t expectedSeeds[] = {80, 90, 2, 5};
  for (std::int32_t n = 1; n <= 4; ++n) {
    const std::string out = Out("g" + std::to_string(n) + ".ico");
    EXPECT_EQ(Extract(module, kWriteToFile, out, n).groupCount, 4);
    EXPECT_EQ(ReadBytes(out), IconOf({BitmapImage(16, 16, 4, expectedSeeds[n - 1])})) << n;
  }
}

TEST_P(ExtractIconGroupTest, KindComesFromTheLastThreeBytesOfTheName) {
  const ByteVector module = ThreeGroups();
  struct Case {
    std::string name;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"APP.EXE", 3}, {"app.exe", 3}, {"lib.Dll", 3}, {"icons.icl", 3},
      {"setupexe", 3},  // no dot needed
      {"three.png", 0}, {"three", 0},
  };
  for (const Case& c : cases) {
    const std::string out = Out(c.name + ".ico");
    EXPECT_EQ(Extract(Module(c.name, module), kWriteToFile, out, 1).groupCount, c.expected) << c.name;
    EXPECT_EQ(std::filesystem::exists(out), c.expected != 0) << c.name;
  }
  EXPECT_EQ(Extract("ab", kWriteToFile, Out("x.ico"), 1).groupCount, 0);
  EXPECT_EQ(Extract("", kWriteToFile, Out("x.ico"), 1).groupCount, 0);
}

TEST_P(ExtractIconGroupTest, WhatHoldsNoGroupAnswersZero) {
  WriteBytes(Out("text.dll"), ByteVector{'h', 'e', 'l', 'l', 'o'});
  ByteVector sixteenBit = ThreeGroups();
  sixteenBit[0x40] = 'N';
  sixteenBit[0x41] = 'E';
  const std::string cases[] = {
      Module("none.dll", PeBuilder().Add(6, std::uint16_t{1}, ByteVector(8, 1)).Build()),
      Module("old.icl", sixteenBit),
      Out("text.dll"),
      Out("missing.dll"),
  };
  for (const std::string& source : cases) {
    EXPECT_EQ(Extract(source, kWriteToFile, Out("out.ico"), 1).groupCount, 0) << source;
  }
  EXPECT_FALSE(std::filesystem::exists(Out("out.ico")));
}

TEST_P(ExtractIconGroupTest, ArgumentDefaults) {
  const std::string module = Module("three.dll", ThreeGroups());
  // A group number below 1 counts as 1.
  for (const std::int32_t n : {0, -5}) {
    const std::string out = Out("n" + std::to_string(-n) + ".ico");
    EXPECT_EQ(Extract(module, kWriteToFile, out, n).groupCount, 3);
    EXPECT_EQ(ReadBytes(out), IconOf(kGroupA));
  }
  // A mode outside 0 and 1 is the clipboard mode: no file, the count all the same.
  EXPECT_EQ(Extract(module, 7, Out("seven.ico"), 2).groupCount, 3);
  EXPECT_FALSE(std::filesystem::exists(Out("seven.ico")));
  // Writing with no output path does not even open the source.
  EXPECT_EQ(Extract(module, kWriteToFile, "", 1).groupCount, 0);
  EXPECT_EQ(Extract(Out("missing.dll"), kCopyToClipboard, "", 1).groupCount, 0);
}

TEST_P(ExtractIconGroupTest, GroupsThatCannotBeLoadedStillCount) {
  const std::string module =
      Module("odd.dll", PeBuilder()
                            .Add(kGroupIconResource, std::uint16_t{0}, GroupResource({1}))
                            .Add(kGroupIconResource, std::uint16_t{1}, GroupResource({1, 99}))  // 99 is missing
                            .Add(kGroupIconResource, std::uint16_t{2}, GroupResource({}))
                            .Add(kGroupIconResource, std::uint16_t{3}, ByteVector{0, 0, 1, 0, 2, 0})  // short
                            .Add(kIconResource, std::uint16_t{1}, BitmapImage(16, 16, 4))
                            .Build());
  // Position 1 is the group numbered 0: counted, never loaded.
  EXPECT_EQ(Extract(module, kWriteToFile, Out("1.ico"), 1).groupCount, 4);
  EXPECT_EQ(Extract(module, kWriteToFile, Out("2.ico"), 2).groupCount, 4);
  EXPECT_FALSE(std::filesystem::exists(Out("1.ico")));
  EXPECT_FALSE(std::filesystem::exists(Out("2.ico")));
  // A group without images is an icon file of 6 bytes.
  EXPECT_TRUE(Extract(module, kWriteToFile, Out("3.ico"), 3).written);
  EXPECT_EQ(ReadBytes(Out("3.ico")), (ByteVector{0, 0, 1, 0, 0, 0}));
  // A group resource too short for the entries it counts loads nothing.
  EXPECT_EQ(Extract(module, kWriteToFile, Out("4.ico"), 4).groupCount, 4);
  EXPECT_FALSE(std::filesystem::exists(Out("4.ico")));
}

TEST_P(ExtractIconGroupTest, AnImagePastTheFilesEndIsNotLoaded) {
  // The icon's data entry (its RVA in the resource section, its size the image's) claims more
  // bytes than the file has: the group counts, nothing is read past the end, nothing is written.
  ByteVector bytes = PeBuilder().AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 4)}, 1).Build();
  const auto imageSize = static_cast<std::uint32_t>(BitmapImage(16, 16, 4).size());
  bool patched = false;
  for (std::size_t at = kResourceFileOffset; at + 8 <= bytes.size() && !patched; at += 4) {
    if (Get32(bytes, at + 4) == imageSize && Get32(bytes, at) - kResourceRva < 0x1000) {
      Put32(bytes, at + 4, 0x00100000);
      patched = true;
    }
  }
  ASSERT_TRUE(patched);
  const ExtractOutcome outcome = Extract(Module("past.dll", bytes), kWriteToFile, Out("past.ico"), 1);
  EXPECT_EQ(outcome.groupCount, 1);
  EXPECT_FALSE(outcome.written);
  EXPECT_FALSE(std::filesystem::exists(Out("past.ico")));
}

TEST_P(ExtractIconGroupTest, OutputKindDecidesWhatIsWritten) {
  const std::string module = Module("three.dll", ThreeGroups());
  EXPECT_TRUE(Extract(module, kWriteToFile, Out("UPPER.ICO"), 1).written);
  EXPECT_EQ(ReadBytes(Out("UPPER.ICO")), IconOf(kGroupA));

  const ExtractOutcome png = Extract(module, kWriteToFile, Out("group.png"), 1);
  EXPECT_EQ(png.groupCount, 3);
  EXPECT_FALSE(png.written);
  EXPECT_FALSE(std::filesystem::exists(Out("group.png")));

  EXPECT_TRUE(Extract(module, kWriteToFile, Out("first.bmp"), 1).written);
  const ByteVector bmp = ReadBytes(Out("first.bmp"));
  const ByteVector& image = kGroupA[0];  // 16x16, 4 bits: 16 colours, 8-byte rows, mask left out
  ASSERT_EQ(bmp.size(), 14u + 40 + 64 + 8 * 16);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Get32(bmp, 2), bmp.size());
  EXPECT_EQ(Get32(bmp, 10), 54u + 64);
  EXPECT_EQ(Get32(bmp, 14 + 8), 16u);  // biHeight halved
  EXPECT_EQ(ByteVector(bmp.begin() + 14 + 40, bmp.end()),
            ByteVector(image.begin() + 40, image.begin() + 40 + 64 + 128));
}

TEST_P(ExtractIconGroupTest, IconFileSourceIsOneGroup) {
  const std::vector<ByteVector> images = {BitmapImage(32, 32, 4), PngImage(256, 256)};
  const std::string source = folder_.File("in.ico");
  WriteBytes(source, IconFileBytes(images));
  EXPECT_EQ(Extract(source, kWriteToFile, Out("1.ico"), 1).groupCount, 1);
  EXPECT_EQ(ReadBytes(Out("1.ico")), IconOf(images));
  EXPECT_EQ(Extract(source, kWriteToFile, Out("2.ico"), 2).groupCount, 0);
  EXPECT_FALSE(std::filesystem::exists(Out("2.ico")));
  // Missing or unreadable, an icon file still counts as one group; nothing is written.
  const ExtractOutcome missing = Extract(folder_.File("gone.ico"), kWriteToFile, Out("m.ico"), 1);
  EXPECT_EQ(missing.groupCount, 1);
  EXPECT_FALSE(missing.written);
  EXPECT_FALSE(std::filesystem::exists(Out("m.ico")));
}

TEST_P(ExtractIconGroupTest, LanguageVersionLoaded) {
  struct Case {
    std::vector<std::uint16_t> languages;
    std::uint16_t expected;
  };
  const Case cases[] = {
      {{0x0000, 0x0409}, 0x0000},
      {{0x0407, 0x0409}, 0x0409},
  };
  for (const Case& c : cases) {
    PeBuilder builder;
    for (const std::uint16_t language : c.languages) {
      builder.AddIconGroup(std::uint16_t{1}, {BitmapImage(16, 16, 4, static_cast<std::uint8_t>(language))}, 1, language);
    }
    const std::string module = Module("lang.dll", builder.Build());
    const std::string out = Out("lang.ico");
    EXPECT_EQ(Extract(module, kWriteToFile, out, 1).groupCount, 1);  // one group, however many languages
    EXPECT_EQ(ReadBytes(out), IconOf({BitmapImage(16, 16, 4, static_cast<std::uint8_t>(c.expected))}))
        << std::hex << c.expected;
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, ExtractIconGroupTest, ::testing::ValuesIn(ModuleBackends()),
                         [](const auto& param) { return param.param.name; });

TEST(ExtractIconGroup, UsesThePlatformsBackendAndAnswersTheCountOnly) {
  ScratchFolder folder;
  const std::string module = folder.File("three.dll");
  WriteBytes(module, ThreeGroups());
  EXPECT_EQ(ExtractIconGroup(module, kWriteToFile, folder.File("a.ico"), 2), 3);
  EXPECT_EQ(ReadBytes(folder.File("a.ico")), SerializeIconFile(SetOf(kGroupB)).value());
  EXPECT_EQ(ExtractIconGroup(module, kWriteToFile, folder.File("b.ico"), 9), 0);
  EXPECT_EQ(ExtractIconGroup(module), 3);  // the clipboard mode by default
}

TEST(LoadIconGroup, KeepsLongPathsWhole) {
  ScratchFolder folder;
  const std::string module = folder.File("three.dll");
  WriteBytes(module, ThreeGroups());
  const auto opened = OpenPeModule(module);
  ASSERT_TRUE(opened);
  const std::string longPath = module + std::string(300, 'x');  // a name as long as a path can get
  const auto set = LoadIconGroup(*opened, longPath, std::uint16_t{1});
  ASSERT_TRUE(set);
  EXPECT_EQ(set->moduleName, longPath);
  EXPECT_EQ(set->fileName, "");
  EXPECT_FALSE(LoadIconGroup(*opened, longPath, std::uint16_t{0}));
  EXPECT_FALSE(LoadIconGroup(*opened, longPath, std::string()));
}

}  // namespace
}  // namespace icotake::test
