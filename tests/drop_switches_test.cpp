// The drop object's stored switches: 20 bytes, version 1, then AcceptText, AcceptHtml, AcceptUrl,
// AcceptFiles as 32-bit little-endian integers.

#include <gtest/gtest.h>

#include "shell/drop_switches.h"
#include "tests/fixtures.h"

namespace icotake {
namespace {

using test::ByteVector;

ByteVector Record(std::uint32_t version, std::int32_t text, std::int32_t html, std::int32_t url, std::int32_t files) {
  ByteVector bytes(kDropPropertySize);
  test::Put32(bytes, 0, version);
  test::Put32(bytes, 4, static_cast<std::uint32_t>(text));
  test::Put32(bytes, 8, static_cast<std::uint32_t>(html));
  test::Put32(bytes, 12, static_cast<std::uint32_t>(url));
  test::Put32(bytes, 16, static_cast<std::uint32_t>(files));
  return bytes;
}

struct LoadCase {
  const char* name;
  ByteVector data;
  bool loads;
  std::array<std::int32_t, 4> values;  // text, html, url, files
};

class LoadDropSwitchesTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadDropSwitchesTest, LoadsOrRefuses) {
  const LoadCase& c = GetParam();
  const std::optional<DropSwitches> switches = LoadDropSwitches(c.data);
  ASSERT_EQ(switches.has_value(), c.loads);
  if (!c.loads) return;
  EXPECT_EQ(switches->values, c.values);
  EXPECT_EQ(switches->on(DropSwitch::AcceptText), c.values[0] != 0);
  EXPECT_EQ(switches->on(DropSwitch::AcceptHtml), c.values[1] != 0);
  EXPECT_EQ(switches->on(DropSwitch::AcceptUrl), c.values[2] != 0);
  EXPECT_EQ(switches->on(DropSwitch::AcceptFiles), c.values[3] != 0);
}

ByteVector Extended(ByteVector bytes, std::size_t extra) {
  bytes.resize(bytes.size() + extra, 0xEE);
  return bytes;
}

ByteVector Cut(ByteVector bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Records, LoadDropSwitchesTest,
    ::testing::Values(
        LoadCase{"Absent", {}, true, {0, 0, 0, 0}},
        LoadCase{"TheProgramsOwn", Record(1, 1, 0, 0, 1), true, {1, 0, 0, 1}},
        LoadCase{"AllOn", Record(1, 1, 1, 1, 1), true, {1, 1, 1, 1}},
        LoadCase{"AnyNonZeroIsOnAndKept", Record(1, -1, 7, 0x100, 0), true, {-1, 7, 0x100, 0}},
        LoadCase{"VersionZero", Record(0, 0, 1, 0, 1), true, {0, 1, 0, 1}},
        LoadCase{"VersionTwoRefused", Record(2, 1, 1, 1, 1), false, {}},
        LoadCase{"VersionAllOnesRefused", Record(0xFFFFFFFF, 1, 0, 0, 1), false, {}},
        LoadCase{"BytesAfterTheRecordIgnored", Extended(Record(1, 0, 0, 1, 0), 12), true, {0, 0, 1, 0}},
        LoadCase{"CutInTheLastSwitch", Cut(Record(1, 1, 1, 1, 1), 19), false, {}},
        LoadCase{"VersionOnly", Cut(Record(1, 1, 1, 1, 1), 4), false, {}},
        LoadCase{"OneByte", ByteVector{1}, false, {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StoreDropSwitchesTest, WritesVersionOneAndTheValuesInOrder) {
  DropSwitches switches;
  switches.set(DropSwitch::AcceptText, 1);
  switches.set(DropSwitch::AcceptUrl, -2);
  switches.set(DropSwitch::AcceptFiles, 0x01020304);
  const auto bytes = StoreDropSwitches(switches);
  const ByteVector expected{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1};
  EXPECT_EQ(ByteVector(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(LoadDropSwitches(bytes)->values, switches.values);
}

}  // namespace
}  // namespace icotake
