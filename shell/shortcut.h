#pragma once
// Reading a shell shortcut's command: the target path, and its arguments when it has any.
//
// Two backends behind one small interface, as for module resources: the system's shell-link
// object on Windows (shortcut_win32.cpp, IShellLinkA + IPersistFile) and our own reader of the
// file format everywhere (shell_link_file.cpp). The rules around them (which file is loaded,
// which calls are made, how the answers are put together) live once, in shortcut.cpp.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace icotake {

// The optional outputs, each filled only when its receiver is given. A text receiver's old text
// is replaced (by the empty text when the value is empty). Nothing is filled when the shortcut
// cannot be read.
struct ShortcutDetails {
  std::string* targetPath = nullptr;     // the target path alone, without arguments
  std::string* arguments = nullptr;
  std::string* workingFolder = nullptr;
  std::string* iconLocation = nullptr;   // "path,index"; ",0" when there is none
  std::int32_t* showCommand = nullptr;   // SW_SHOWMINNOACTIVE (7) is reported as 2
  // The hot-key word (low byte: virtual-key code; high byte: modifiers) as a number, or as a text
  // such as "Ctrl + Alt + A".
  std::variant<std::monostate, std::int32_t*, std::string*> hotKey = {};
  std::string* description = nullptr;
};

// The command that the shortcut holds: its target path, then one blank and the arguments when
// there are any, without quoting. The empty text when the shortcut cannot be read. A path
// without ".lnk" in it (in any case, anywhere) gets ".lnk" appended before it is opened.
// On Windows OLE must have been initialised on the calling thread.
std::string ResolveShortcutTarget(std::string_view shortcutPath, const ShortcutDetails& details = {});

// The text of a hot-key word: "Ctrl + ", "Shift + ", "Alt + ", "Ext + " for its modifiers in
// this order, then the character of its key code (nothing for code 0).
std::string HotKeyText(std::uint16_t hotKey);

// The answers of a loaded shell-link object, each as its IShellLinkA call gives it into a
// buffer of 1024 bytes: a text of at most 1023 bytes, cut at a whole character.
class LoadedShellLink {
 public:
  virtual ~LoadedShellLink() = default;
  virtual std::string Path() = 0;  // GetPath with SLGP_UNCPRIORITY
  virtual std::string Arguments() = 0;
  virtual std::string WorkingDirectory() = 0;
  virtual std::string IconLocation(std::int32_t& index) = 0;
  virtual std::int32_t ShowCmd() = 0;
  virtual std::uint16_t Hotkey() = 0;
  virtual std::string Description() = 0;
};

inline constexpr std::size_t kShellLinkValueBuffer = 1024;
inline constexpr std::size_t kMaxLoadPath = 260;  // UTF-16 code units, terminator included

// Each loader gives nothing when the file cannot be loaded as a shortcut, or when the load path's
// UTF-16 form does not fit in kMaxLoadPath code units.
using ShellLinkLoader = std::unique_ptr<LoadedShellLink> (*)(const std::string& loadPath);

std::unique_ptr<LoadedShellLink> LoadShellLinkFile(const std::string& loadPath);   // our reader
std::unique_ptr<LoadedShellLink> LoadWin32ShellLink(const std::string& loadPath);  // Windows only

// The file that is opened for shortcutPath: itself when its lower-case copy contains ".lnk",
// otherwise shortcutPath followed by ".lnk".
std::string ShortcutLoadPath(std::string_view shortcutPath);

// ResolveShortcutTarget with the backend to use.
std::string ResolveShortcutTargetWith(ShellLinkLoader load, std::string_view shortcutPath,
                                      const ShortcutDetails& details = {});

}  // namespace icotake
