#include "icons/module_resources.h"

namespace icotake {

std::unique_ptr<ModuleResources> OpenModule(const std::string& path) { return OpenPeModule(path); }

}  // namespace icotake
