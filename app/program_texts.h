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
// The other messages of FatalError: the form description cannot be read, the main window cannot be
// built, an operation names a window or control that does not exist.
// "载入窗口模板数据段出错!"
inline constexpr std::string_view kFormNotLoaded =
    "\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!";
// "载入启动窗口失败"
inline constexpr std::string_view kWindowNotBuilt = "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";
// "指定窗口或窗口组件不存在或尚未载入"
inline constexpr std::string_view kNoSuchWindow =
    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xBB\xF2\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";

// The main window's title and the texts of its controls.
// "ico提取工具，取出图标"
inline constexpr std::string_view kWindowTitle = "ico\xCC\xE1\xC8\xA1\xB9\xA4\xBE\xDF\xA3\xAC\xC8\xA1\xB3\xF6\xCD\xBC\xB1\xEA";
// "取出图标", the extract button
inline constexpr std::string_view kExtractButton = "\xC8\xA1\xB3\xF6\xCD\xBC\xB1\xEA";
// "打开qd583710网站", the web-site button
inline constexpr std::string_view kSiteButton = "\xB4\xF2\xBF\xAAqd583710\xCD\xF8\xD5\xBE";
// "用法：\r\n把想要提取的exe文件图标，或exe快捷方式图标\r\n拖进来点击按钮即可", the usage label
inline constexpr std::string_view kUsage =
    "\xD3\xC3\xB7\xA8\xA3\xBA\r\n"
    "\xB0\xD1\xCF\xEB\xD2\xAA\xCC\xE1\xC8\xA1\xB5\xC4" "exe\xCE\xC4\xBC\xFE\xCD\xBC\xB1\xEA\xA3\xAC\xBB\xF2"
    "exe\xBF\xEC\xBD\xDD\xB7\xBD\xCA\xBD\xCD\xBC\xB1\xEA\r\n"
    "\xCD\xCF\xBD\xF8\xC0\xB4\xB5\xE3\xBB\xF7\xB0\xB4\xC5\xA5\xBC\xB4\xBF\xC9";

// The author's web site, opened by 按钮2: a host name that the shell's open action takes for a web
// address.
inline constexpr std::string_view kAuthorWebSite = "www.qd583710.com";

// The controls' names, as the form gives them.
inline constexpr std::string_view kExtractButtonName = "\xB0\xB4\xC5\xA5" "1";        // 按钮1
inline constexpr std::string_view kSiteButtonName = "\xB0\xB4\xC5\xA5" "2";           // 按钮2
inline constexpr std::string_view kUsageLabelName = "\xB1\xEA\xC7\xA9" "1";           // 标签1
inline constexpr std::string_view kEditBoxName = "\xB1\xE0\xBC\xAD\xBF\xF2" "2";     // 编辑框2
inline constexpr std::string_view kDropObjectName = "\xCD\xCF\xB7\xC5\xB6\xD4\xCF\xF3" "1";  // 拖放对象1

}  // namespace icotake::texts
