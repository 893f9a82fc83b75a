// Our own backend of the shell-link object: the file read by ParseShellLink, answered as
// IShellLinkA answers.

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

class ShellLinkFile final : public LoadedShellLink {
 public:
  explicit ShellLinkFile(ShellLink link) : link_(std::move(link)) {}

  std::string Path() override { return BufferValue(ShellLinkTargetPath(link_)); }
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
};

}  // namespace

std::unique_ptr<LoadedShellLink> LoadShellLinkFile(const std::string& loadPath) {
  // The same limit as the system's backend, whose wide load path is a buffer of MAX_PATH.
  if (WidenToUtf16(loadPath).size() >= kMaxLoadPath) return nullptr;
  const std::optional<MappedFile> file = MappedFile::Open(loadPath);
  if (!file) return nullptr;
  std::optional<ShellLink> link = ParseShellLink(file->bytes());
  if (!link) return nullptr;
  return std::make_unique<ShellLinkFile>(std::move(*link));
}

}  // namespace icotake
