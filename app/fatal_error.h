#pragma once
// The program's one error stop: a box that tells what went wrong, then the end with exit code -1.

#include <cstddef>
#include <span>
#include <string_view>

namespace icotake {

// "运行时出错!\r\n\r\n", then for a message that is not empty "错误信息：", the message and "\r\n";
// written into out (cut short if it must be) with a NUL after it. Answers the length.
std::size_t FormatFatalErrorText(std::string_view message, std::span<char> out);

// Runs after the box is closed and before the process ends, so that the program releases what it
// holds (the window's icons, OLE). The program sets it once at start-up.
using FatalErrorCleanup = void (*)();
void SetFatalErrorCleanup(FatalErrorCleanup cleanup);

// Raises ending (no handler runs from here on), shows the box with the caption "错误", waits for
// the user to close it, runs the cleanup, then ends the process with exit code -1.
[[noreturn]] void FatalError(std::string_view message);

}  // namespace icotake
