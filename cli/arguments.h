#pragma once
// What the command line asks for: an action, the inputs, and the options that shape it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "icons/pe_resources.h"

namespace icotake::cli {

enum class Action { kList, kExtract, kHelp };

// A --group argument: a position ("3"), a resource number ("#101") or a name ("ICON_MAIN").
struct GroupSelector {
  std::string text;                     // as the user wrote it, for messages
  std::optional<std::uint32_t> position;  // 1-based; otherwise name holds the resource's name
  ResourceName name;
};

struct Arguments {
  Action action = Action::kExtract;
  std::vector<std::string> inputs;
  std::string outputFolder = ".";
  std::vector<GroupSelector> groups;  // empty: every group
  std::optional<std::uint16_t> language;
  bool recursive = false;
  bool json = false;
};

struct ParsedArguments {
  Arguments arguments;
  std::string error;  // the usage error, for a person; empty when the line is well formed
};

// argv without the program name. "list" and "extract" as the first word choose the action; any
// other first word is an input of the shorthand "icotake FILE... [-o DIR]" for extract.
ParsedArguments ParseArguments(std::span<const std::string_view> words);

std::optional<GroupSelector> ParseGroupSelector(std::string_view text);
// Decimal (1033) or hexadecimal (0x0409), at most 0xFFFF.
std::optional<std::uint16_t> ParseLanguage(std::string_view text);

extern const std::string_view kHelpText;

}  // namespace icotake::cli
