#include <gtest/gtest.h>

#include <filesystem>

#include "icons/icon_file.h"
#include "tests/fixtures.h"

namespace icotake::test {
namespace {

ByteVector Serialized(const IconSet& set) {
  const auto bytes = SerializeIconFile(set);
  EXPECT_TRUE(bytes.has_value());
  return bytes.value_or(ByteVector{});
}

TEST(FillImageInfo, BitmapFromItsHeaderAndPngFromItsIhdr) {
  struct Case {
    const char* what;
    ByteVector bytes;
    std::int32_t width, height;
    std::uint32_t colorBits;
  };
  ByteVector negative = BitmapImage(16, 16, 8);
  Put32(negative, 8, static_cast<std::uint32_t>(-5));  // halved toward zero
  ByteVector planes = BitmapImage(16, 16, 4);
  Put16(planes, 12, 2);
  const Case cases[] = {
      {"32x32 4-bit", BitmapImage(32, 32, 4), 32, 32, 4},
      {"odd height", negative, 16, -2, 8},
      {"planes times bits", planes, 16, 16, 8},
      {"PNG 256 RGBA", PngImage(256, 256, 8, 6), 256, 256, 32},
      {"PNG 48 grey+alpha 16-bit", PngImage(48, 40, 16, 4), 48, 40, 32},
      {"PNG palette", PngImage(20, 20, 4, 3), 20, 20, 4},
      {"7 bytes", ByteVector{40, 0, 0, 0, 9, 0, 0}, 9, 0, 0},  // fields past the end count as 0
      {"empty", ByteVector{}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    IconSetImage image;
    image.bytes = c.bytes;
    FillImageInfo(image);
    EXPECT_EQ(image.width, c.width) << c.what;
    EXPECT_EQ(image.height, c.height) << c.what;
    EXPECT_EQ(image.colorBits, c.colorBits) << c.what;
  }
}

TEST(IconFile, EmptySetIsSixBytesAndReadsBack) {
  const ByteVector file = Serialized(IconSet{});
  EXPECT_EQ(file, (ByteVector{0, 0, 1, 0, 0, 0}));
  const auto set = ParseIconFile(file);
  ASSERT_TRUE(set);
  EXPECT_EQ(set->imageCount(), 0u);
}

TEST(IconFile, WritesContiguousImagesWithDirectoryFromTheirHeaders) {
  const ByteVector big = BitmapImage(32, 32, 4, 1);
  const ByteVector small = BitmapImage(16, 16, 4, 2);
  ASSERT_EQ(big.size(), 744u);
  ASSERT_EQ(small.size(), 296u);
  const ByteVector file = Serialized(SetOf({big, small}));

  ASSERT_EQ(file.size(), 1078u);
  // entry: width, height, colour count, reserved, planes, bit count, byte count, offset
  EXPECT_EQ(ByteVector(file.begin() + 6, file.begin() + 10), (ByteVector{32, 32, 16, 0}));
  EXPECT_EQ(Get16(file, 10), 1);
  EXPECT_EQ(Get16(file, 12), 4);
  EXPECT_EQ(Get32(file, 14), 744u);
  EXPECT_EQ(Get32(file, 18), 38u);
  EXPECT_EQ(ByteVector(file.begin() + 22, file.begin() + 26), (ByteVector{16, 16, 16, 0}));
  EXPECT_EQ(Get32(file, 30), 296u);
  EXPECT_EQ(Get32(file, 34), 782u);
}

TEST(IconFile, DirectoryColourCountByteAndSizes) {
  struct Case {
    ByteVector image;
    std::uint8_t width, height, colorCount;
    std::uint16_t planes, bitCount;
  };
  const Case cases[] = {
      {BitmapImage(16, 16, 1), 16, 16, 2, 1, 1},
      {BitmapImage(48, 48, 8), 48, 48, 0, 1, 8},
      {BitmapImage(256, 256, 32), 0, 0, 0, 1, 32},  // 256 pixels are written as 0
      {PngImage(256, 256, 8, 6), 0, 0, 0, 1, 32},
      {PngImage(64, 32, 8, 2), 64, 32, 0, 1, 24},
  };
  for (const Case& c : cases) {
    const ByteVector file = Serialized(SetOf({c.image}));
    EXPECT_EQ(file[6], c.width);
    EXPECT_EQ(file[7], c.height);
    EXPECT_EQ(file[8], c.colorCount);
    EXPECT_EQ(Get16(file, 10), c.planes);
    EXPECT_EQ(Get16(file, 12), c.bitCount);
  }
  IconSet zeroBits = SetOf({BitmapImage(16, 16, 0)});
  EXPECT_EQ(Serialized(zeroBits)[8], 1);  // 2 to the power 0
}

TEST(IconFile, SizeImageIsZeroedInBitmapsOnlyAndTheSetIsUnchanged) {
  const ByteVector bitmap = BitmapImage(16, 16, 4);
  const ByteVector png = PngImage(256, 256);
  ByteVector tiny = {40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 4, 0, 0xEE, 0xEE, 0xEE, 0xEE, 0x11, 0x22};
  const IconSet set = SetOf({bitmap, png, tiny});
  const ByteVector file = Serialized(set);

  const std::size_t first = 6 + 16 * 3;
  EXPECT_EQ(Get32(file, first + 20), 0u);
  EXPECT_EQ(ByteVector(file.begin() + first, file.begin() + first + 20),
            ByteVector(bitmap.begin(), bitmap.begin() + 20));
  const std::size_t second = first + bitmap.size();
  EXPECT_EQ(ByteVector(file.begin() + second, file.begin() + second + png.size()), png);  // IHDR height kept
  const std::size_t third = second + png.size();
  EXPECT_EQ(ByteVector(file.begin() + third, file.end()), tiny);  // too short for the field: as it is
  EXPECT_EQ(set.images[0].bytes, bitmap);
}

TEST(IconFile, ReadingIgnoresTheDirectoryDescriptionAndRewritingFixesIt) {
  ByteVector file = IconFileBytes({BitmapImage(16, 16, 4)});
  file[6] = 99;  // width
  file[7] = 7;   // height
  file[8] = 3;   // colour count
  Put16(file, 10, 9);
  Put16(file, 12, 77);
  const auto set = ParseIconFile(file);
  ASSERT_TRUE(set);
  EXPECT_EQ(set->images[0].width, 16);
  const ByteVector rewritten = Serialized(*set);
  EXPECT_EQ(ByteVector(rewritten.begin() + 6, rewritten.begin() + 10), (ByteVector{16, 16, 16, 0}));
  EXPECT_EQ(Get16(rewritten, 10), 1);
  EXPECT_EQ(Get16(rewritten, 12), 4);
}

TEST(IconFile, ImagesOutOfOrderWithGapsAreWrittenContiguousInDirectoryOrder) {
  const ByteVector a = BitmapImage(16, 16, 4, 10);
  const ByteVector b = BitmapImage(32, 32, 8, 20);
  // header, two entries, 5 junk bytes, b, 3 junk bytes, a, trailing junk
  ByteVector file(6 + 32 + 5, 0xEE);
  Put16(file, 0, 0);
  Put16(file, 2, 1);
  Put16(file, 4, 2);
  const std::size_t bAt = file.size();
  file.insert(file.end(), b.begin(), b.end());
  file.insert(file.end(), {0xEE, 0xEE, 0xEE});
  const std::size_t aAt = file.size();
  file.insert(file.end(), a.begin(), a.end());
  file.insert(file.end(), {1, 2, 3, 4});
  Put32(file, 6 + 8, static_cast<std::uint32_t>(a.size()));
  Put32(file, 6 + 12, static_cast<std::uint32_t>(aAt));
  Put32(file, 22 + 8, static_cast<std::uint32_t>(b.size()));
  Put32(file, 22 + 12, static_cast<std::uint32_t>(bAt));

  const auto set = ParseIconFile(file, "in.ico");
  ASSERT_TRUE(set);
  EXPECT_EQ(set->fileName, "in.ico");
  EXPECT_EQ(set->moduleName, "");
  ASSERT_EQ(set->imageCount(), 2u);
  EXPECT_EQ(set->images[0].bytes, a);
  EXPECT_EQ(set->images[1].bytes, b);
  const ByteVector rewritten = Serialized(*set);
  EXPECT_EQ(rewritten.size(), 6 + 32 + a.size() + b.size());
  EXPECT_EQ(Get32(rewritten, 18), 38u);
  EXPECT_EQ(Get32(rewritten, 34), 38u + a.size());
}

TEST(IconFile, RejectsWhatIsNoIconFileOrReachesPastItsEnd) {
  const ByteVector good = IconFileBytes({BitmapImage(16, 16, 4), BitmapImage(32, 32, 4)});
  ASSERT_TRUE(ParseIconFile(good));
  struct Case {
    const char* what;
    ByteVector file;
  };
  std::vector<Case> cases;
  auto mutated = [&](const char* what, auto change) {
    ByteVector file = good;
    change(file);
    cases.push_back({what, file});
  };
  mutated("cursor, type 2", [](ByteVector& f) { Put16(f, 2, 2); });
  mutated("reserved 1", [](ByteVector& f) { Put16(f, 0, 1); });
  mutated("offset past the end", [](ByteVector& f) { Put32(f, 22 + 12, static_cast<std::uint32_t>(f.size()) + 1); });
  mutated("byte count past the end", [](ByteVector& f) { Put32(f, 22 + 8, Get32(f, 22 + 8) + 1); });
  mutated("byte count 0xFFFFFFFF", [](ByteVector& f) { Put32(f, 6 + 8, 0xFFFFFFFF); });
  mutated("offset 0xFFFFFFFF", [](ByteVector& f) { Put32(f, 6 + 12, 0xFFFFFFFF); });
  mutated("more images than the directory holds", [](ByteVector& f) { Put16(f, 4, 0xFFFF); });
  mutated("entries pointing at the same bytes beyond the file's size", [](ByteVector& f) {
    Put32(f, 22 + 8, Get32(f, 6 + 8) + Get32(f, 22 + 8));
    Put32(f, 22 + 12, Get32(f, 6 + 12));
  });
  for (std::size_t cut : {0, 3, 5, 6, 21, 37, 38, 500}) {
    cases.push_back({"truncated", ByteVector(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut))});
  }
  cases.push_back({"65535 images in 8 bytes", ByteVector{0, 0, 1, 0, 0xFF, 0xFF, 0, 0}});
  for (const Case& c : cases) EXPECT_FALSE(ParseIconFile(c.file)) << c.what << " " << c.file.size();
}

TEST(IconFileOnDisk, ReadWriteRoundTripAndReplaceWholeFiles) {
  ScratchFolder folder;
  const std::string path = folder.File("a.ico");
  const IconSet set = SetOf({BitmapImage(32, 32, 4), PngImage(256, 256)});
  WriteBytes(path, ByteVector(5000, 0x55));  // a longer file of that name is replaced entirely
  ASSERT_TRUE(WriteIconFile(set, path));
  const ByteVector written = ReadBytes(path);
  EXPECT_EQ(written, Serialized(set));
  const auto read = ReadIconFile(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->fileName, path);
  ASSERT_EQ(read->imageCount(), 2u);
  EXPECT_EQ(read->images[1].bytes, set.images[1].bytes);

  EXPECT_FALSE(ReadIconFile(folder.File("missing.ico")));
  EXPECT_FALSE(ReadIconFile(folder.path().string()));  // a folder
  EXPECT_FALSE(WriteIconFile(set, folder.File("no/such/folder/a.ico")));
}

TEST(IconFileOnDisk, AFailedWriteLeavesNothingBehind) {
  ScratchFolder folder;
  const std::string path = folder.File("taken.ico");
  std::filesystem::create_directory(path);  // the name is a folder: the file cannot replace it
  EXPECT_FALSE(WriteIconFile(SetOf({BitmapImage(16, 16, 4)}), path));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 1u);  // no temporary file left
}

}  // namespace
}  // namespace icotake::test
