#pragma once
// `icotake extract`: each selected group written as POSITION.ico, the GUI's naming.

#include <set>
#include <string>

#include "cli/arguments.h"
#include "cli/report.h"
#include "cli/source.h"

namespace icotake::cli {

// Writes the source's selected groups into folder (made when missing) and prints each file
// written. A file is replaced only by a complete one.
void ExtractSource(Source& source, const std::string& folder, const Arguments& arguments,
                   Report& report);

// The subfolder of outputFolder for an input when a run has several: the input's file name,
// with "-2", "-3", ... added when an earlier input of the run took that name.
std::string SubfolderFor(const std::string& outputFolder, const std::string& inputPath,
                         std::set<std::string>& taken);

int RunExtract(const Arguments& arguments, ModuleOpener openModule);

}  // namespace icotake::cli
