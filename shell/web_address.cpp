#include "shell/web_address.h"

namespace icotake {

std::string_view WebAddressToOpen(std::optional<std::string_view> address) {
  return address ? *address : kDefaultWebAddress;
}

}  // namespace icotake
