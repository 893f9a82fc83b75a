#include "shell/web_address.h"

#include <gtest/gtest.h>

namespace icotake {
namespace {

TEST(WebAddress, LeftOutGivesTheDefaultHostName) {
  EXPECT_EQ(WebAddressToOpen(std::nullopt), kDefaultWebAddress);
  EXPECT_EQ(kDefaultWebAddress.find("://"), std::string_view::npos);  // a bare host name
  EXPECT_EQ(kDefaultWebAddress.substr(0, 4), "www.");  // what the shell takes for a web address
}

TEST(WebAddress, GivenAddressIsHandedOnUnchanged) {
  EXPECT_EQ(WebAddressToOpen(std::string_view("")), "");  // empty is not replaced by the default
  EXPECT_EQ(WebAddressToOpen(std::string_view("example.org")), "example.org");  // nothing prefixed
  EXPECT_EQ(WebAddressToOpen(std::string_view(" http://a b ")), " http://a b ");  // nor trimmed
}

}  // namespace
}  // namespace icotake
