#include <sys/stat.h>

#include "app/extract_driver.h"

namespace icotake {

// A fixed folder whose parent exists on every such system: "/tmp/取出的图标" in UTF-8.
const std::string_view OutputFolder = "/tmp/\xE5\x8F\x96\xE5\x87\xBA\xE7\x9A\x84\xE5\x9B\xBE\xE6\xA0\x87";
const std::string_view kPathSeparator = "/";

bool PathExists(const Text& path) {
  struct stat info {};
  return ::stat(TextBytes(View(path)).c_str(), &info) == 0;
}

bool CreateFolder(const Text& path) { return ::mkdir(TextBytes(View(path)).c_str(), 0777) == 0; }

}  // namespace icotake
