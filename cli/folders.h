#pragma once
// The few file-system services the command line needs beyond reading and writing files: what a
// path names, a folder's entries, and making folders. Windows: the ANSI functions, so paths stay
// in the narrow text the core takes; elsewhere POSIX.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace icotake::cli {

enum class PathType { kMissing, kFile, kFolder };

// What path names, following links.
PathType TypeOfPath(const std::string& path);

struct FolderEntry {
  std::string name;
  bool folder = false;  // a folder reached without a link: walks never follow links to folders
};

// A folder's entries but "." and "..", sorted by name bytes so that walks are reproducible.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path);

// Makes path and every missing folder above it; true when path is a folder afterwards.
bool MakeFolders(const std::string& path);

extern const char kSeparator;  // '\\' on Windows, '/' elsewhere

std::string JoinPath(std::string_view folder, std::string_view name);
// The last component of a path, without trailing separators ("a/b.dll/" gives "b.dll").
std::string FileNameOf(std::string_view path);

// Where the last separator (or a drive's colon, on Windows) stands; npos when there is none.
std::size_t LastSeparator(std::string_view path);
// True for the first byte of a double-byte character in the ANSI code page (Windows only).
bool IsLeadByte(char c);

}  // namespace icotake::cli
