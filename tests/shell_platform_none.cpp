#include "tests/shell_platform.h"

namespace icotake::test {

OleApartment::OleApartment() = default;
OleApartment::~OleApartment() = default;

bool RunningUnderWine() { return false; }

std::vector<ShortcutBackend> ShortcutBackends() { return {{"reader", LoadShellLinkFile}}; }

}  // namespace icotake::test
