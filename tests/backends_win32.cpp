#include "tests/backends.h"

namespace icotake::test {

std::vector<Backend> ModuleBackends() {
  return {{"PeReader", OpenPeModule}, {"Win32Loader", OpenWin32Module}};
}

}  // namespace icotake::test
