#pragma once
// Which of a source's groups the --group selectors pick.

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/source.h"

namespace icotake::cli {

struct Selection {
  std::vector<const SourceGroup*> groups;  // in selector order, each group once
  std::vector<std::string> unmatched;      // the selectors that pick no group, as written
};

// No selectors pick every group. A position counts from 1; a number picks the group with that
// resource number; a name matches regardless of ASCII case, as the system's lookup does.
Selection SelectGroups(const Source& source, const std::vector<GroupSelector>& selectors);

}  // namespace icotake::cli
