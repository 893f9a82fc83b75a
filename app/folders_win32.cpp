#include <windows.h>

#include "app/extract_driver.h"

namespace icotake {

// "C:\Documents and Settings\Administrator\桌面\取出的图标", the Chinese names in code page 936.
const std::string_view OutputFolder =
    "C:\\Documents and Settings\\Administrator\\\xD7\xC0\xC3\xE6\\\xC8\xA1\xB3\xF6\xB5\xC4\xCD\xBC\xB1\xEA";
const std::string_view kPathSeparator = "\\";

bool PathExists(const Text& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(TextBytes(View(path)).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool CreateFolder(const Text& path) {
  return CreateDirectoryA(TextBytes(View(path)).c_str(), nullptr) != 0;
}

}  // namespace icotake
