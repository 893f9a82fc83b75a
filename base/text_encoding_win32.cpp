#include <windows.h>

#include "base/text_encoding.h"

// On Windows the narrow text is in the ANSI code page, as every "A" function takes it.

namespace icotake {

std::string NarrowFromUtf16(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int count = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, count, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string WidenToUtf16(std::string_view text) {
  if (text.empty()) return {};
  const int count = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
  if (size <= 0) return {};
  std::u16string out(static_cast<std::size_t>(size), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), count, reinterpret_cast<wchar_t*>(out.data()), size);
  return out;
}

std::u16string Utf16FromAnsiCodePage(std::string_view bytes) { return WidenToUtf16(bytes); }

}  // namespace icotake
