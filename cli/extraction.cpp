#include "cli/extraction.h"

#include <cstdio>

#include "cli/folders.h"
#include "cli/inputs.h"
#include "cli/selection.h"
#include "icons/icon_file.h"

namespace icotake::cli {

void ExtractSource(Source& source, const std::string& folder, const Arguments& arguments,
                   Report& report) {
  const Selection selection = SelectGroups(source, arguments.groups);
  for (const std::string& unmatched : selection.unmatched) {
    report.Fail(source.path, "no group " + unmatched);
  }
  bool folderMade = false;
  for (const SourceGroup* group : selection.groups) {
    const std::string name = NameText(*group);
    const std::string what =
        "group " + std::to_string(group->position) + (name.empty() ? "" : " (" + name + ")");
    GroupLoad load = source.Load(*group, arguments.language);
    if (!load.set) {
      report.Fail(source.path, what + ": " + load.problem);
      continue;
    }
    if (!folderMade && !MakeFolders(folder)) {
      report.Fail(folder, "cannot make the folder");
      return;
    }
    folderMade = true;
    const std::string path = JoinPath(folder, std::to_string(group->position) + ".ico");
    if (!WriteIconFile(*load.set, path)) {
      report.Fail(path, "cannot write " + what + " of " + source.path);
      continue;
    }
    std::printf("%s\n", path.c_str());
    report.Done();
  }
}

std::string SubfolderFor(const std::string& outputFolder, const std::string& inputPath,
                         std::set<std::string>& taken) {
  const std::string name = FileNameOf(inputPath);
  std::string chosen = name;
  for (int n = 2; !taken.insert(chosen).second; ++n) chosen = name + "-" + std::to_string(n);
  return JoinPath(outputFolder, chosen);
}

int RunExtract(const Arguments& arguments, ModuleOpener openModule) {
  Report report;
  if (TypeOfPath(arguments.outputFolder) == PathType::kFile) {
    report.Fail(arguments.outputFolder, "is a file, not a folder");
    return report.ExitCode();
  }
  bool ownSubfolders = arguments.inputs.size() > 1;
  for (const std::string& input : arguments.inputs) {
    ownSubfolders = ownSubfolders || (arguments.recursive && TypeOfPath(input) == PathType::kFolder);
  }
  std::set<std::string> taken;
  ForEachSource(arguments.inputs, arguments.recursive, openModule, report,
                [&](Source& source, const Input& input) {
                  const std::string folder =
                      ownSubfolders ? SubfolderFor(arguments.outputFolder, input.path, taken)
                                    : arguments.outputFolder;
                  ExtractSource(source, folder, arguments, report);
                });
  return report.ExitCode();
}

}  // namespace icotake::cli
