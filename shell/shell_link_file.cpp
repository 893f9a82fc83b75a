// Our own backend of the shell-link object: the file read by ParseShellLink, answered as
// IShellLinkA answers.

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "base/text_encoding.h"
#include "shell/shell_link.h"
#include "shell/shortcut.h"

namespace icotake {
namespace {

// The narrow form of a value as it comes out of the object's 1024-byte buffer: whole characters
// only, at most 1023 bytes besides the terminator.
std::string BufferValue(std::u16string_view text) {
  constexpr std::size_t kLimit = kShellLinkValueBuffer - 1;
  std::string narrow = NarrowFromUtf16(text);
  if (narrow.size() <= kLimit) return narrow;
  narrow.clear();
  for (std::size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 &&
                      text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    const std::size_t units = pair ? 2 : 1;
    const std::string character = NarrowFromUtf16(text.substr(i, units));
    if (character.size() > kLimit - narrow.size()) break;
    narrow += character;
    i += units;
  }
  return narrow;
}

// A link with only a relative path names its target as the shell-link object finds it on Load:
// the relative path taken from the link's own folder, or else from the working folder, as a full
// path when a file is there; the relative path as stored when none is.
std::u16string FindRelativeTarget(const std::string& loadPath, const ShellLink& link) {
  namespace fs = std::filesystem;
  std::u16string relative = *link.relativePath;
  if (fs::path::preferred_separator == '/') std::replace(relative.begin(), relative.end(), u'\\', u'/');
  std::vector<fs::path> folders = {fs::path(WidenToUtf16(loadPath)).parent_path()};
  if (link.workingDir) folders.emplace_back(*link.workingDir);
  for (const fs::path& folder : folders) {
    std::error_code error;
    const fs::path candidate = fs::absolute(folder / relative, error);
    if (!error && fs::exists(candidate, error)) return candidate.lexically_normal().u16string();
  }
  return *link.relativePath;
}

class ShellLinkFile final : public LoadedShellLink {
 public:
  ShellLinkFile(ShellLink link, std::u16string targetPath)
      : link_(std::move(link)), targetPath_(std::move(targetPath)) {}

  std::string Path() override { return BufferValue(targetPath_); }
  std::string Arguments() override { return Value(link_.arguments); }
  std::string WorkingDirectory() override { return Value(link_.workingDir); }
  std::string IconLocation(std::int32_t& index) override {
    index = link_.iconIndex;
    return Value(link_.iconLocation);
  }
  std::int32_t ShowCmd() override { return ShellLinkShowCommand(link_); }
  std::uint16_t Hotkey() override { return link_.hotKey; }
  std::string Description() override { return Value(link_.name); }

 private:
  static std::string Value(const std::optional<std::u16string>& text) {
    return text ? BufferValue(*text) : std::string();
  }

  ShellLink link_;
  std::u16string targetPath_;
};

}  // namespace

std::unique_ptr<LoadedShellLink> LoadShellLinkFile(const std::string& loadPath) {
  // The same limit as the system's backend, whose wide load path is a buffer of MAX_PATH.
  if (WidenToUtf16(loadPath).size() >= kMaxLoadPath) return nullptr;
  const std::optional<MappedFile> file = MappedFile::Open(loadPath);
  if (!file) return nullptr;
  std::optional<ShellLink> link = ParseShellLink(file->bytes());
  if (!link) return nullptr;
  std::u16string targetPath = ShellLinkTargetPath(*link);
  const bool relativeOnly = !link->advertised && !(link->linkInfo && link->linkInfo->localBasePath);
  if (relativeOnly && link->relativePath) targetPath = FindRelativeTarget(loadPath, *link);
  return std::make_unique<ShellLinkFile>(std::move(*link), std::move(targetPath));
}

}  // namespace icotake
