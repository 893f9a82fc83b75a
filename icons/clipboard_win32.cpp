#include <windows.h>

#include <cstring>

#include "icons/extract_icon_group.h"

namespace icotake {
namespace {

class ClipboardOpen {
 public:
  ClipboardOpen() : open_(OpenClipboard(nullptr)) {}
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
  ~ClipboardOpen() {
    if (open_) CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool CopyImageToClipboard(const IconSetImage& image) {
  if (image.bytes.empty()) return false;
  ClipboardOpen clipboard;
  if (!clipboard || !EmptyClipboard()) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, image.bytes.size());
  if (block == nullptr) return false;
  auto* copy = static_cast<std::uint8_t*>(GlobalLock(block));
  if (copy == nullptr) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(copy, image.bytes.data(), image.bytes.size());
  // A CF_DIB's height is the picture's own, without the mask that an icon image stacks under it.
  if (image.bytes.size() >= 12 && !IsPngImage(image.bytes)) {
    const std::int32_t half = static_cast<std::int32_t>(LittleOrZero(image.bytes, 8, 4)) / 2;
    for (int i = 0; i < 4; ++i) copy[8 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(half) >> (8 * i));
  }
  GlobalUnlock(block);
  if (SetClipboardData(CF_DIB, block) == nullptr) {
    GlobalFree(block);  // the clipboard did not take it
    return false;
  }
  return true;
}

}  // namespace icotake
