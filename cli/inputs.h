#pragma once
// From the inputs named on the command line to the files to open: a file as it is, a folder
// walked (with -r) in name order, depth first.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/report.h"
#include "cli/source.h"

namespace icotake::cli {

struct Input {
  std::string path;
  // Which walked folder (an index into the command line's inputs) the file was found in; files
  // named on the command line have none.
  std::optional<std::size_t> walk;
};

// The files that the input at index names. A missing input, a folder without -r and a folder
// that cannot be listed are reported and give none.
std::vector<Input> ExpandInput(const std::string& path, std::size_t index, bool recursive,
                               Report& report);

// Opens each file in turn and hands it to use. Files that fail are reported, except those that a
// walk found and that hold no icons at all; a walked folder in which no file holds any is.
void ForEachSource(const std::vector<std::string>& inputs, bool recursive, ModuleOpener openModule,
                   Report& report, const std::function<void(Source&, const Input&)>& use);

}  // namespace icotake::cli
