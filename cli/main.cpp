// icotake: lists and extracts the icon groups of modules, icon files and shortcuts.

#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/extraction.h"
#include "cli/listing.h"
#include "cli/report.h"

int main(int argc, char** argv) {
  using namespace icotake::cli;
  const std::vector<std::string_view> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParsedArguments parsed = ParseArguments(words);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "icotake: %s\nTry 'icotake --help'.\n", parsed.error.c_str());
    return kExitUsage;
  }
  const Arguments& arguments = parsed.arguments;
  switch (arguments.action) {
    case Action::kHelp:
      std::fwrite(kHelpText.data(), 1, kHelpText.size(), stdout);
      return kExitAll;
    case Action::kList:
      return RunList(arguments, icotake::OpenModule);
    case Action::kExtract:
      return RunExtract(arguments, icotake::OpenModule);
  }
  return kExitUsage;
}
