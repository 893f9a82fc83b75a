#include "base/text_encoding.h"

// Outside Windows the narrow text is UTF-8.

namespace icotake {

std::string NarrowFromUtf16(std::u16string_view text) { return Utf8FromUtf16(text); }
std::u16string WidenToUtf16(std::string_view text) { return Utf16FromUtf8(text); }

}  // namespace icotake
