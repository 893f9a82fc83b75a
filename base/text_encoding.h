#pragma once
// Conversion between UTF-16 (as PE resource names and shell links store text) and the narrow text
// that the program hands around: the ANSI code page on Windows, UTF-8 elsewhere.

#include <string>
#include <string_view>

namespace icotake {

// Characters without a narrow form come out as the code page's default character.
std::string NarrowFromUtf16(std::u16string_view text);
std::u16string WidenToUtf16(std::string_view text);

// Bytes that a Windows program stored in its ANSI code page (the strings of a shell link, say):
// the system's ANSI code page on Windows; elsewhere code page 936, the one this program's users
// write. Ill-formed sequences become U+FFFD.
std::u16string Utf16FromAnsiCodePage(std::string_view bytes);

// UTF-8 to UTF-16 and back on every platform; ill-formed sequences become U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace icotake
