#include "shell/shortcut.h"

#include <cstdio>

namespace icotake {

std::string ShortcutLoadPath(std::string_view shortcutPath) {
  // A text ends at its NUL, whatever the view holds after it.
  const std::string path(shortcutPath.substr(0, shortcutPath.find('\0')));
  std::string lower = path;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lower.find(".lnk") != std::string::npos) return path;
  return path + ".lnk";
}

std::string HotKeyText(std::uint16_t hotKey) {
  constexpr std::uint8_t kShift = 0x01, kControl = 0x02, kAlt = 0x04, kExt = 0x08;
  const auto modifiers = static_cast<std::uint8_t>(hotKey >> 8);
  const auto key = static_cast<char>(hotKey & 0xFF);
  std::string text;
  if (modifiers & kControl) text += "Ctrl + ";
  if (modifiers & kShift) text += "Shift + ";
  if (modifiers & kAlt) text += "Alt + ";
  if (modifiers & kExt) text += "Ext + ";
  if (key != '\0') text += key;
  return text;
}

std::string ResolveShortcutTargetWith(ShellLinkLoader load, std::string_view shortcutPath,
                                      const ShortcutDetails& details) {
  const std::unique_ptr<LoadedShellLink> link = load(ShortcutLoadPath(shortcutPath));
  if (!link) return {};

  std::string result = link->Path();
  const std::string arguments = link->Arguments();
  if (!arguments.empty()) result += " " + arguments;

  // The optional outputs in their fixed order, each with a call of its own.
  if (details.targetPath) *details.targetPath = link->Path();
  if (details.arguments) *details.arguments = link->Arguments();
  if (details.workingFolder) *details.workingFolder = link->WorkingDirectory();
  if (details.iconLocation) {
    std::int32_t index = 0;
    const std::string path = link->IconLocation(index);
    char number[16];
    std::snprintf(number, sizeof number, ",%d", static_cast<int>(index));
    *details.iconLocation = path + number;
  }
  if (details.showCommand) {
    constexpr std::int32_t kShowMinNoActive = 7, kShowMinimized = 2;
    const std::int32_t show = link->ShowCmd();
    *details.showCommand = show == kShowMinNoActive ? kShowMinimized : show;
  }
  if (const auto* number = std::get_if<std::int32_t*>(&details.hotKey); number && *number) {
    **number = link->Hotkey();
  } else if (const auto* text = std::get_if<std::string*>(&details.hotKey); text && *text) {
    **text = HotKeyText(link->Hotkey());
  }
  if (details.description) *details.description = link->Description();
  return result;
}

}  // namespace icotake
