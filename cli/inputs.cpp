#include "cli/inputs.h"

#include <new>

#include "cli/folders.h"

namespace icotake::cli {
namespace {

void Walk(const std::string& root, std::size_t index, std::vector<Input>& files, Report& report) {
  // An explicit stack: a deep tree cannot exhaust the call stack. Links to folders are not
  // followed (ListFolder marks them as files), so no walk goes round in circles.
  std::vector<std::string> pending{root};
  while (!pending.empty()) {
    const std::string folder = std::move(pending.back());
    pending.pop_back();
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(folder);
    if (!entries) {
      report.Fail(folder, "cannot list the folder");
      continue;
    }
    std::vector<std::string> subfolders;
    for (const FolderEntry& entry : *entries) {
      const std::string path = JoinPath(folder, entry.name);
      if (entry.folder) {
        subfolders.push_back(path);
      } else if (TypeOfPath(path) == PathType::kFile) {
        files.push_back({path, index});
      }
    }
    // Files of a folder first, then its subfolders in name order.
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
}

}  // namespace

std::vector<Input> ExpandInput(const std::string& path, std::size_t index, bool recursive,
                               Report& report) {
  std::vector<Input> files;
  switch (TypeOfPath(path)) {
    case PathType::kMissing:
      report.Fail(path, "no such file");
      break;
    case PathType::kFile:
      files.push_back({path, std::nullopt});
      break;
    case PathType::kFolder:
      if (recursive) {
        Walk(path, index, files, report);
      } else {
        report.Fail(path, "is a folder (-r walks it)");
      }
      break;
  }
  return files;
}

void ForEachSource(const std::vector<std::string>& inputs, bool recursive, ModuleOpener openModule,
                   Report& report, const std::function<void(Source&, const Input&)>& use) {
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    bool walked = false;
    bool foundIcons = false;
    for (const Input& input : ExpandInput(inputs[i], i, recursive, report)) {
      walked = walked || input.walk.has_value();
      OpenedSource opened = OpenSource(input.path, openModule);
      if (!opened.source) {
        if (!(input.walk && opened.holdsNoIcons)) report.Fail(input.path, opened.problem);
        continue;
      }
      foundIcons = true;
      // Out of memory on one file (a forged one, say), the others still get their turn.
      try {
        use(*opened.source, input);
      } catch (const std::bad_alloc&) {
        report.Fail(input.path, "out of memory");
      }
    }
    if (recursive && !foundIcons && (walked || TypeOfPath(inputs[i]) == PathType::kFolder)) {
      report.Fail(inputs[i], "no file in the folder holds icon groups");
    }
  }
}

}  // namespace icotake::cli
