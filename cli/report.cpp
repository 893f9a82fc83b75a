#include "cli/report.h"

#include <cstdio>

namespace icotake::cli {

void Report::Fail(std::string_view file, std::string_view reason) {
  failures_.push_back({std::string(file), std::string(reason)});
  std::fprintf(stderr, "icotake: %.*s: %.*s\n", static_cast<int>(file.size()), file.data(),
               static_cast<int>(reason.size()), reason.data());
}

int Report::ExitCode() const {
  if (failures_.empty() && done_ > 0) return kExitAll;
  return done_ > 0 ? kExitSome : kExitNothing;
}

}  // namespace icotake::cli
