#include <windows.h>

#include <algorithm>

#include "cli/folders.h"

namespace icotake::cli {

const char kSeparator = '\\';

bool IsLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)); }

PathType TypeOfPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathType::kMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathType::kFolder : PathType::kFile;
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<FolderEntry> entries;
  do {
    const std::string_view name = found.cFileName;
    if (name == "." || name == "..") continue;
    // A reparse point (junction, symbolic link) to a folder is not walked into.
    const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    entries.push_back({std::string(name), folder});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

bool MakeFolders(const std::string& path) {
  if (TypeOfPath(path) == PathType::kFolder) return true;
  const std::size_t last = path.find_last_not_of("\\/");
  const std::size_t cut = LastSeparator(std::string_view(path).substr(0, last + 1));
  if (cut != std::string::npos && cut > 0 && path[cut] != ':' && path[cut - 1] != ':') {
    if (!MakeFolders(path.substr(0, cut))) return false;
  }
  return CreateDirectoryA(path.c_str(), nullptr) || TypeOfPath(path) == PathType::kFolder;
}

}  // namespace icotake::cli
