#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/fatal_error.h"
#include "app/text.h"

namespace icotake {
namespace {

// "运行时出错!\r\n\r\n" and "错误信息：" in code page 936.
const std::string kHead = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
const std::string kLead = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";

std::string Format(std::string_view message, std::size_t capacity = 1024) {
  std::string out(capacity, '\x7F');
  const std::size_t size = FormatFatalErrorText(message, out);
  EXPECT_EQ(out[size], '\0');
  return out.substr(0, size);
}

struct BoxTextCase {
  const char* what;
  std::string message;
  std::string text;
};

class FatalErrorTextTest : public testing::TestWithParam<BoxTextCase> {};

TEST_P(FatalErrorTextTest, BuildsTheBoxText) { EXPECT_EQ(Format(GetParam().message), GetParam().text) << GetParam().what; }

INSTANTIATE_TEST_SUITE_P(
    Messages, FatalErrorTextTest,
    testing::Values(
        BoxTextCase{"empty message: the head alone", "", kHead},
        BoxTextCase{"allocation", "\xB7\xD6\xC5\xE4 4096 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!",
                    kHead + kLead + "\xB7\xD6\xC5\xE4 4096 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!\r\n"},
        BoxTextCase{"form description",
                    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!",
                    kHead + kLead + "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!\r\n"},
        BoxTextCase{"window", "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC",
                    kHead + kLead + "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n"},
        BoxTextCase{"no such window or control",
                    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xBB\xF2\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB",
                    kHead + kLead +
                        "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xBB\xF2\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB\r\n"},
        BoxTextCase{"a message with its own line breaks is taken as it is", "a\r\nb", kHead + kLead + "a\r\nb\r\n"}));

TEST(FatalErrorText, AllocationMessageNamesTheByteCount) {
  const AllocationFailureMessage message(4294967295u);
  EXPECT_EQ(Format(message.view()),
            kHead + kLead + "\xB7\xD6\xC5\xE4 4294967295 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!\r\n");
}

TEST(FatalErrorText, CutShortToTheBufferWithItsNul) {
  std::array<char, 8> small{};
  EXPECT_EQ(FormatFatalErrorText("message", small), 7u);
  EXPECT_EQ(std::string(small.data()), kHead.substr(0, 7));
  std::array<char, 1> one{'x'};
  EXPECT_EQ(FormatFatalErrorText("message", one), 0u);
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(FormatFatalErrorText("message", std::span<char>()), 0u);
}

}  // namespace
}  // namespace icotake
