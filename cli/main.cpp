// icotake FILE [-o DIR]: writes every icon group of FILE as 1.ico, 2.ico, ... into DIR.

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "icons/extract_icon_group.h"

namespace {

constexpr std::string_view kUsage =
    "usage: icotake FILE [-o DIR]\n"
    "Writes every icon group of FILE (an .exe, .dll, .icl or .ico file) as 1.ico, 2.ico, ...\n"
    "into DIR, the current folder by default, and prints the path of each file written.\n";

int Fail(const std::string& file, std::string_view reason) {
  std::fprintf(stderr, "icotake: %s: %.*s\n", file.c_str(), static_cast<int>(reason.size()),
               reason.data());
  return 1;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
  std::string file;
  std::string folder = ".";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "-o" || arg == "--output") && i + 1 < argc) {
      folder = argv[++i];
    } else if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage.data(), stdout);
      return 0;
    } else if (file.empty() && !arg.starts_with("-")) {
      file = arg;
    } else {
      std::fputs(kUsage.data(), stderr);
      return 2;
    }
  }
  if (file.empty()) {
    std::fputs(kUsage.data(), stderr);
    return 2;
  }

  if (!IsFile(file)) return Fail(file, "no such file");
  const std::string kind = icotake::PathKind(file);
  if (kind != "exe" && kind != "dll" && kind != "icl" && kind != "ico") {
    return Fail(file, "not a kind that holds icons (.exe, .dll, .icl or .ico)");
  }
  if (!IsFolder(folder)) return Fail(folder, "no such folder");

  const char separator = folder.ends_with('/') || folder.ends_with('\\') ? '\0' : '/';
  const auto outputPath = [&](std::int32_t n) {
    std::string path = folder;
    if (separator != '\0') path += separator;
    return path + std::to_string(n) + ".ico";
  };

  int failures = 0;
  std::int32_t count = 1;
  for (std::int32_t n = 1; n <= count; ++n) {
    const std::string path = outputPath(n);
    const icotake::ExtractOutcome outcome =
        icotake::ExtractGroup(icotake::OpenModule, file, icotake::kWriteToFile, path, n);
    if (n == 1) {
      count = outcome.groupCount;
      if (count == 0) return Fail(file, "no icon groups (or not a PE module)");
      if (kind == "ico" && !outcome.written) return Fail(file, "not a readable icon file");
    }
    if (outcome.written) {
      std::printf("%s\n", path.c_str());
    } else {
      Fail(file, "group " + std::to_string(n) + " could not be loaded or written to " + path);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
