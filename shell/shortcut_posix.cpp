#include "shell/shortcut.h"

// Without the Windows shell, our own reader stands in for the shell-link object.

namespace icotake {

std::string ResolveShortcutTarget(std::string_view shortcutPath, const ShortcutDetails& details) {
  return ResolveShortcutTargetWith(LoadShellLinkFile, shortcutPath, details);
}

}  // namespace icotake
