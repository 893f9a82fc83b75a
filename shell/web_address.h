#pragma once
// Opening a web address in the user's browser through the shell's "open" action.

#include <optional>
#include <string_view>

namespace icotake {

// A host name without a scheme: the shell's open action takes a name that begins "www." for a
// web address (Windows' and Wine's shell both prefix "http://" to it).
inline constexpr std::string_view kDefaultWebAddress = "www.qd583710.com";

// The address handed to the shell: the given one unchanged, even when empty; the default only
// when the caller left it out.
std::string_view WebAddressToOpen(std::optional<std::string_view> address);

// Hands the address to the shell's "open" action, with a window titled "Microsoft Internet
// Explorer" as the owner of anything the shell shows, if there is one. Whether the shell could
// open it is not reported.
void OpenWebAddress(std::optional<std::string_view> address = std::nullopt);

}  // namespace icotake
