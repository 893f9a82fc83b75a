#pragma once
// The module backends a test binary holds: our PE reader everywhere, and on Windows the system's
// loader too, so that one table of cases runs against both.

#include <string>
#include <vector>

#include "icons/module_resources.h"

namespace icotake::test {

struct Backend {
  std::string name;
  ModuleOpener open;
};

std::vector<Backend> ModuleBackends();

}  // namespace icotake::test
