#pragma once
// The program's own texts, byte for byte in code page 936 (the ANSI code page that they are
// shown in), whatever the compiler's source character set.

#include <string_view>

namespace icotake::texts {

// "运行时出错!\r\n\r\n"
inline constexpr std::string_view kRuntimeError = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
// "错误信息："
inline constexpr std::string_view kErrorMessage = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
// "错误", the error box's caption
inline constexpr std::string_view kErrorCaption = "\xB4\xED\xCE\xF3";
// "分配 " and " 字节内存失败!": a text of that many bytes could not be allocated
inline constexpr std::string_view kAllocationFailedBefore = "\xB7\xD6\xC5\xE4 ";
inline constexpr std::string_view kAllocationFailedAfter = " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";

}  // namespace icotake::texts
