#include "cli/selection.h"

#include <algorithm>

namespace icotake::cli {
namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool Matches(const SourceGroup& group, const GroupSelector& selector) {
  if (selector.position) return group.position == *selector.position;
  if (!group.name || group.name->index() != selector.name.index()) return false;
  if (const auto* number = std::get_if<std::uint16_t>(&selector.name)) {
    return std::get<std::uint16_t>(*group.name) == *number;
  }
  return UpperAscii(std::get<std::string>(*group.name)) ==
         UpperAscii(std::get<std::string>(selector.name));
}

}  // namespace

Selection SelectGroups(const Source& source, const std::vector<GroupSelector>& selectors) {
  Selection selection;
  if (selectors.empty()) {
    for (const SourceGroup& group : source.groups) selection.groups.push_back(&group);
    return selection;
  }
  for (const GroupSelector& selector : selectors) {
    const auto found = std::find_if(source.groups.begin(), source.groups.end(),
                                    [&](const SourceGroup& group) { return Matches(group, selector); });
    if (found == source.groups.end()) {
      selection.unmatched.push_back(selector.text);
    } else if (std::find(selection.groups.begin(), selection.groups.end(), &*found) ==
               selection.groups.end()) {
      selection.groups.push_back(&*found);
    }
  }
  return selection;
}

}  // namespace icotake::cli
