#include <windows.h>
#include <shellapi.h>

#include <string>

#include "shell/web_address.h"

namespace icotake {

void OpenWebAddress(std::optional<std::string_view> address) {
  const std::string file(WebAddressToOpen(address));  // handed on as it is: no scheme added
  // Looked up on every call: a browser window that exists now owns whatever the shell shows.
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace icotake
