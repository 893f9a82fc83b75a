#pragma once
// What the extract button does: every icon group of the file named in the edit box, written as
// 1.ico to 100.ico into one fixed folder; for a path that ends in ".lnk", those of the shortcut's
// target. It reports nothing: failures show only as files that are not written.

#include <functional>
#include <string_view>

#include "app/text.h"

namespace icotake {

// The fixed output folder, without a trailing separator. On Windows the 55 bytes
// "C:\Documents and Settings\Administrator\桌面\取出的图标" in code page 936, whatever the user's
// real desktop; elsewhere "/tmp/取出的图标".
extern const std::string_view OutputFolder;
extern const std::string_view kPathSeparator;  // "\\" on Windows, "/" elsewhere

inline constexpr std::int32_t kFirstGroup = 1;
inline constexpr std::int32_t kLastGroup = 100;

// True when a file or folder of that name exists.
bool PathExists(const Text& path);
// Creates the last component of path only; false when it could not (a missing parent, say).
bool CreateFolder(const Text& path);

// Gives the edit box's current text (absent when the box is empty): the seam between the
// procedure and the window, so that it also runs without one.
using ReadEditBox = std::function<Text()>;

// Makes sure OutputFolder exists, then extracts groups 1 to 100 of the edit box's file into it.
void OnExtractClicked(const ReadEditBox& readEditBox);

// The same procedure into another folder.
void ExtractIntoFolder(const ReadEditBox& readEditBox, std::string_view folder);

}  // namespace icotake
