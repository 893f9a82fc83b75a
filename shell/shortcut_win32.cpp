// The system's shell-link object behind LoadedShellLink: CLSID_ShellLink through IShellLinkA and
// IPersistFile. Resolve is never called, so the stored target is reported as it is, nothing
// searches for a moved target and no window is shown.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>

#include "shell/shortcut.h"

namespace icotake {
namespace {

using Microsoft::WRL::ComPtr;

class Win32ShellLink final : public LoadedShellLink {
 public:
  Win32ShellLink(ComPtr<IShellLinkA> link, ComPtr<IPersistFile> file)
      : link_(std::move(link)), file_(std::move(file)) {}

  // The results of the calls are not looked at: whatever the buffer holds afterwards is the value.
  std::string Path() override {
    return Fill([&](char* buffer, int size) { link_->GetPath(buffer, size, nullptr, SLGP_UNCPRIORITY); });
  }
  std::string Arguments() override {
    return Fill([&](char* buffer, int size) { link_->GetArguments(buffer, size); });
  }
  std::string WorkingDirectory() override {
    return Fill([&](char* buffer, int size) { link_->GetWorkingDirectory(buffer, size); });
  }
  std::string IconLocation(std::int32_t& index) override {
    int icon = 0;
    std::string path = Fill([&](char* buffer, int size) { link_->GetIconLocation(buffer, size, &icon); });
    index = icon;
    return path;
  }
  std::int32_t ShowCmd() override {
    int show = 0;
    link_->GetShowCmd(&show);
    return show;
  }
  std::uint16_t Hotkey() override {
    WORD hotKey = 0;
    link_->GetHotkey(&hotKey);
    return hotKey;
  }
  std::string Description() override {
    return Fill([&](char* buffer, int size) { link_->GetDescription(buffer, size); });
  }

 private:
  // Empties the buffer, lets call fill it, and takes its text. A text that filled the whole
  // buffer comes back without a terminator; it is cut to the whole characters of its first
  // 1023 bytes rather than read past the buffer.
  template <class Call>
  std::string Fill(const Call& call) {
    buffer_.fill('\0');
    call(buffer_.data(), static_cast<int>(buffer_.size()));
    const auto nul = std::find(buffer_.begin(), buffer_.end(), '\0');
    if (nul != buffer_.end()) return std::string(buffer_.begin(), nul);
    std::size_t length = 0;
    while (length < buffer_.size() - 1) {
      const std::size_t size = IsDBCSLeadByte(static_cast<BYTE>(buffer_[length])) ? 2 : 1;
      if (size > buffer_.size() - 1 - length) break;
      length += size;
    }
    return std::string(buffer_.data(), length);
  }

  // Declared in this order so that IPersistFile is released before IShellLinkA.
  ComPtr<IShellLinkA> link_;
  ComPtr<IPersistFile> file_;
  std::array<char, kShellLinkValueBuffer> buffer_{};
};

}  // namespace

std::unique_ptr<LoadedShellLink> LoadWin32ShellLink(const std::string& loadPath) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.GetAddressOf())))) {
    return nullptr;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.GetAddressOf())))) {
    return nullptr;
  }
  // A path whose wide form does not fit is not loaded: the conversion then leaves the buffer
  // without a terminator, and Load would read past it.
  wchar_t wideLoadPath[kMaxLoadPath];
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, loadPath.c_str(), -1, wideLoadPath,
                          static_cast<int>(kMaxLoadPath)) == 0) {
    return nullptr;
  }
  if (FAILED(file->Load(wideLoadPath, STGM_READ))) return nullptr;
  return std::make_unique<Win32ShellLink>(std::move(link), std::move(file));
}

std::string ResolveShortcutTarget(std::string_view shortcutPath, const ShortcutDetails& details) {
  return ResolveShortcutTargetWith(LoadWin32ShellLink, shortcutPath, details);
}

}  // namespace icotake
