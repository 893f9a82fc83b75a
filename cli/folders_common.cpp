#include "cli/folders.h"

namespace icotake::cli {
namespace {

bool IsSeparator(char c) { return c == '/' || c == kSeparator; }

}  // namespace

std::size_t LastSeparator(std::string_view path) {
  // Scanned forwards: in a double-byte code page a trailing byte may look like a backslash.
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(path[i])) {
      ++i;
    } else if (IsSeparator(path[i]) || (kSeparator == '\\' && path[i] == ':')) {
      last = i;
    }
  }
  return last;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && LastSeparator(path) != path.size() - 1) path += kSeparator;
  return path += name;
}

std::string FileNameOf(std::string_view path) {
  while (path.size() > 1 && LastSeparator(path) == path.size() - 1) path.remove_suffix(1);
  const std::size_t last = LastSeparator(path);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

}  // namespace icotake::cli
