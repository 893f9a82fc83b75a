// The check of a CF_HDROP block before DragQueryFile walks it: the header, the list offset, and a
// list that ends inside the block.

#include <gtest/gtest.h>

#include "shell/drop_files.h"
#include "tests/fixtures.h"

namespace icotake {
namespace {

using test::ByteVector;

// A DROPFILES header, then the list bytes as given.
ByteVector Block(const ByteVector& list, bool wide, std::uint32_t listOffset = kDropFilesHeaderSize) {
  ByteVector bytes(kDropFilesHeaderSize);
  test::Put32(bytes, 0, listOffset);
  test::Put32(bytes, 4, 10);  // the drop point, which nothing reads
  test::Put32(bytes, 8, 20);
  test::Put32(bytes, 16, wide ? 1 : 0);
  bytes.insert(bytes.end(), list.begin(), list.end());
  return bytes;
}

ByteVector Narrow(std::string_view list) { return ByteVector(list.begin(), list.end()); }

ByteVector Wide(std::u16string_view list) {
  ByteVector bytes;
  for (char16_t unit : list) {
    bytes.push_back(static_cast<std::uint8_t>(unit));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

struct BlockCase {
  const char* name;
  ByteVector block;
  bool wellFormed;
};

class DropFilesCheckTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(DropFilesCheckTest, AcceptsOnlyListsThatEndInside) {
  EXPECT_EQ(IsWellFormedDropFiles(GetParam().block), GetParam().wellFormed);
}

ByteVector OffsetPastHeader() {
  ByteVector block = Block(Narrow(std::string_view("\0\0\0\0a\0\0", 7)), false, 24);
  return block;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, DropFilesCheckTest,
    ::testing::Values(
        BlockCase{"EmptyList", Block(Narrow(std::string_view("\0", 1)), false), true},
        BlockCase{"OneName", Block(Narrow(std::string_view("C:\\a.exe\0\0", 10)), false), true},
        BlockCase{"TwoNames", Block(Narrow(std::string_view("a\0bc\0\0", 6)), false), true},
        BlockCase{"WideTwoNames", Block(Wide(std::u16string_view(u"a\0\u684C\0\0", 5)), true), true},
        BlockCase{"ListFurtherOn", OffsetPastHeader(), true},
        BlockCase{"Empty", {}, false},
        BlockCase{"HeaderCutShort", ByteVector(19), false},
        BlockCase{"NoList", Block({}, false), false},
        BlockCase{"OffsetPastTheEnd", Block(Narrow(std::string_view("\0", 1)), false, 0xFFFFFFF0), false},
        BlockCase{"OffsetAtTheEnd", Block({}, false, 20), false},
        BlockCase{"NameWithoutNul", Block(Narrow("C:\\a.exe"), false), false},
        BlockCase{"ListWithoutEmptyName", Block(Narrow(std::string_view("a\0b\0", 4)), false), false},
        BlockCase{"WideOddByteAtTheEnd", Block({'a', 0, 0}, true), false},
        BlockCase{"WideNarrowTerminatorOnly", Block(Narrow(std::string_view("a\0b\0\0", 5)), true), false}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace icotake
