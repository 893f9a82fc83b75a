// A mapped file's bytes, and copying parts of them out through the file.

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "base/file_io.h"
#include "tests/fixtures.h"

namespace icotake::test {
namespace {

struct CopyCase {
  const char* name;
  std::size_t offset;  // into the mapping; past its end for a range of other memory
  std::size_t size;
  bool copied;
};

class MappedFileCopyTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(MappedFileCopyTest, CopiesOnlyRangesInsideTheFile) {
  const CopyCase& c = GetParam();
  ScratchFolder scratch;
  const std::string path = scratch.File("data.bin");
  std::vector<std::uint8_t> content(10000);
  std::iota(content.begin(), content.end(), std::uint8_t{7});
  WriteBytes(path, content);

  const std::optional<MappedFile> file = MappedFile::Open(path);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->bytes().size(), content.size());
  const std::vector<std::uint8_t> elsewhere(64, 0xAB);
  const Bytes part = c.offset <= content.size()
                         ? Bytes(file->bytes().data() + c.offset, c.size)
                         : Bytes(elsewhere.data(), c.size);
  std::vector<std::uint8_t> out(c.size + 1, 0xEE);
  EXPECT_EQ(file->CopyOut(part, out.data()), c.copied) << c.name;
  if (c.copied) {
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(c.size),
                           content.begin() + static_cast<std::ptrdiff_t>(c.offset)))
        << c.name;
  }
  EXPECT_EQ(out[c.size], 0xEE) << c.name << ": wrote past the part";
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, MappedFileCopyTest,
    ::testing::Values(CopyCase{"WholeFile", 0, 10000, true},
                      CopyCase{"MiddleAcrossPages", 4000, 5000, true},
                      CopyCase{"LastByte", 9999, 1, true},
                      CopyCase{"EmptyAtTheEnd", 10000, 0, true},
                      CopyCase{"OneBytePastTheEnd", 9999, 2, false},
                      CopyCase{"OtherMemory", 20000, 16, false}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace icotake::test
