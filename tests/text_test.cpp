#include <gtest/gtest.h>

#include <climits>

#include "app/fatal_error.h"
#include "app/text.h"

namespace icotake {
namespace {

const Text kAbsent = std::nullopt;

TEST(Text, AbsentDiffersFromEmptyButCountsAsEmptyWhenHandedOn) {
  EXPECT_EQ(TextLength(kAbsent), 0u);
  EXPECT_EQ(TextLength(MakeText("")), 0u);
  EXPECT_EQ(TextLength(MakeText("\xD7\xC0")), 2u);  // bytes, not characters
  EXPECT_FALSE(kAbsent.has_value());
  EXPECT_TRUE(MakeText("").has_value());
  EXPECT_EQ(View(kAbsent), "");
}

TEST(Text, RightBytes) {
  struct Case {
    Text text;
    std::int32_t n;
    Text expected;
  };
  const Case cases[] = {
      {MakeText("C:\\a\\list.lnk"), 4, MakeText(".lnk")},
      {MakeText("abc"), 4, MakeText("abc")},         // shorter than n: the whole text
      {MakeText("abc"), 0, kAbsent},
      {MakeText("abc"), -3, kAbsent},
      {MakeText(""), 4, kAbsent},
      {kAbsent, 4, kAbsent},
      {MakeText("x\xD7\xC0"), 1, MakeText("\xC0")},  // may cut a double-byte character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RightBytes(c.text, c.n), c.expected) << View(c.text) << " " << c.n;
  }
}

TEST(Text, CompareTexts) {
  struct Case {
    Text a, b;
    int expected;
  };
  const Case cases[] = {
      {MakeText(".lnk"), MakeText(".lnk"), 0},
      {MakeText(".LNK"), MakeText(".lnk"), -1},  // case counts
      {MakeText("ab"), MakeText("abc"), -1},     // the one that ends first is smaller
      {MakeText("abc"), MakeText("ab"), 1},
      {MakeText("\xD7"), MakeText("a"), 1},      // bytes compare unsigned
      {kAbsent, kAbsent, 0},
      {kAbsent, MakeText(""), 0},
      {MakeText(""), kAbsent, 0},
      {kAbsent, MakeText("a"), -1},
      {MakeText("a"), kAbsent, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareTexts(c.a, c.b), c.expected) << View(c.a) << " vs " << View(c.b);
  }
}

TEST(Text, DecimalTextWritesAsPercentD) {
  EXPECT_EQ(DecimalText(7), MakeText("7"));
  EXPECT_EQ(DecimalText(100), MakeText("100"));
  EXPECT_EQ(DecimalText(0), MakeText("0"));
  EXPECT_EQ(DecimalText(-42), MakeText("-42"));
  EXPECT_EQ(DecimalText(INT32_MIN), MakeText("-2147483648"));
}

TEST(Text, JoinTextsSkipsAbsentTextsAndIsNeverAbsent) {
  EXPECT_EQ(JoinTexts({"C:\\out\\", View(DecimalText(7)), ".ico"}), MakeText("C:\\out\\7.ico"));
  EXPECT_EQ(JoinTexts({View(kAbsent), "a", View(kAbsent)}), MakeText("a"));
  EXPECT_EQ(JoinTexts({View(kAbsent)}), MakeText(""));
}

TEST(FatalErrorText, HeaderThenMessageLine) {
  char text[256];
  const std::size_t size = FormatFatalErrorText("\xD4\xD8\xC8\xEB", text);
  EXPECT_EQ(std::string_view(text, size),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"     // 运行时出错!
            "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA\xD4\xD8\xC8\xEB\r\n");  // 错误信息：载入
  EXPECT_EQ(text[size], '\0');

  EXPECT_EQ(std::string_view(text, FormatFatalErrorText("", text)),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");

  char small[8];
  EXPECT_EQ(FormatFatalErrorText("long message", small), 7u);  // cut short, still terminated
  EXPECT_EQ(small[7], '\0');
}

TEST(FatalErrorText, AllocationFailureNamesTheByteCount) {
  // "分配 1234 字节内存失败!"
  EXPECT_EQ(AllocationFailureMessage(1234).view(),
            "\xB7\xD6\xC5\xE4 1234 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

}  // namespace
}  // namespace icotake
