#include "tests/backends.h"

namespace icotake::test {

std::vector<Backend> ModuleBackends() { return {{"PeReader", OpenPeModule}}; }

}  // namespace icotake::test
