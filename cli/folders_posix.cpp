#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "cli/folders.h"

namespace icotake::cli {

const char kSeparator = '/';

bool IsLeadByte(char) { return false; }  // UTF-8 never uses ASCII bytes inside a character

PathType TypeOfPath(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return PathType::kMissing;
  return S_ISDIR(info.st_mode) ? PathType::kFolder : PathType::kFile;
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) {
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) return std::nullopt;
  std::vector<FolderEntry> entries;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const bool folderEntry = ::lstat(JoinPath(path, name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    entries.push_back({std::string(name), folderEntry});
  }
  ::closedir(folder);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

bool MakeFolders(const std::string& path) {
  if (TypeOfPath(path) == PathType::kFolder) return true;
  const std::size_t cut = LastSeparator(path.substr(0, path.find_last_not_of('/') + 1));
  if (cut != std::string::npos && cut > 0 && !MakeFolders(path.substr(0, cut))) return false;
  return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && TypeOfPath(path) == PathType::kFolder);
}

}  // namespace icotake::cli
