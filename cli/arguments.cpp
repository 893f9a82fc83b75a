#include "cli/arguments.h"

#include <charconv>

namespace icotake::cli {

const std::string_view kHelpText =
    R"(usage: icotake list FILE... [--json] [--group SEL]... [--lang ID] [-r]
       icotake extract FILE... [-o DIR] [--group SEL]... [--lang ID] [-r]
       icotake FILE... [-o DIR]            (short for extract)

Takes the icon groups out of Windows modules (.exe, .dll, .cpl, .scr, .ocx, .mui, .sys and
any other PE file), icon files and shortcuts. A file's kind comes from its content, not its name.

list      prints each file's kind and, per icon group, its position, number or name, its
          languages and each image's width, height, bit count, format (PNG or BMP) and size.
extract   writes the groups as 1.ico, 2.ico, ... (numbered by position) into DIR. With several
          inputs or a folder, each input gets its own subfolder of DIR named after the input.
          An existing file is replaced only by a complete one.

options:
  -o, --output DIR   folder to write into (extract; default: the current folder; created
                     when missing)
  -g, --group SEL    only this group: a position (3), a resource number (#101) or a name
                     (ICON_MAIN, any case); repeat for more
  -l, --lang ID      the group's version in this language: 1033 or 0x0409
  -r, --recursive    walk folders given as inputs; files that hold no icon groups are skipped
  --json             list as one JSON document on stdout (list)
  -h, --help         this text

Each failure is one line on stderr: "icotake: FILE: reason".
exit codes: 0 everything asked for was done, 1 some of it, 2 none of it, 64 usage error.

examples:
  icotake list shell32.dll
  icotake list --json -r /usr/lib/x86_64-linux-gnu/wine/x86_64-windows > icons.json
  icotake extract notepad.exe -o icons
  icotake extract shell32.dll --group 4 --group '#239' -o icons
  icotake extract comdlg32.dll --group cdrom --lang 0 -o icons
  icotake extract -r C:\Windows\System32 -o icons
)";

namespace {

std::optional<std::uint32_t> ParseNumber(std::string_view text, int base, std::uint32_t max) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || stop != end || value > max) return std::nullopt;
  return value;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Options that take a value accept it as the next word or after "=".
struct Option {
  std::string_view shortName, longName;
  bool takesValue;
};
constexpr Option kOptions[] = {
    {"-o", "--output", true}, {"-g", "--group", true}, {"-l", "--lang", true},
    {"-r", "--recursive", false}, {"", "--json", false}, {"-h", "--help", false},
};

}  // namespace

std::optional<GroupSelector> ParseGroupSelector(std::string_view text) {
  GroupSelector selector;
  selector.text = text;
  if (IsDigits(text)) {
    selector.position = ParseNumber(text, 10, 0xFFFF);
    if (!selector.position || *selector.position == 0) return std::nullopt;
    return selector;
  }
  if (text.starts_with('#') && IsDigits(text.substr(1))) {
    const std::optional<std::uint32_t> number = ParseNumber(text.substr(1), 10, 0xFFFF);
    if (!number || *number == 0) return std::nullopt;
    selector.name = static_cast<std::uint16_t>(*number);
    return selector;
  }
  if (text.empty()) return std::nullopt;
  selector.name = std::string(text);
  return selector;
}

std::optional<std::uint16_t> ParseLanguage(std::string_view text) {
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  const std::optional<std::uint32_t> value =
      hex ? ParseNumber(text.substr(2), 16, 0xFFFF) : ParseNumber(text, 10, 0xFFFF);
  if (!value) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

ParsedArguments ParseArguments(std::span<const std::string_view> words) {
  ParsedArguments parsed;
  Arguments& a = parsed.arguments;
  const auto fail = [&parsed](std::string error) {
    parsed.error = std::move(error);
    return parsed;
  };

  std::size_t i = 0;
  if (!words.empty() && (words[0] == "list" || words[0] == "extract")) {
    a.action = words[0] == "list" ? Action::kList : Action::kExtract;
    i = 1;
  }
  bool outputGiven = false;
  bool optionsEnded = false;
  for (; i < words.size(); ++i) {
    const std::string_view word = words[i];
    if (optionsEnded || !word.starts_with('-') || word == "-") {
      a.inputs.emplace_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = word.starts_with("--") ? word.find('=') : std::string_view::npos;
    const std::string_view name = word.substr(0, equals);
    const Option* option = nullptr;
    for (const Option& candidate : kOptions) {
      if (name == candidate.shortName || name == candidate.longName) option = &candidate;
    }
    if (option == nullptr) return fail("unknown option " + std::string(word));
    std::string_view value;
    if (option->takesValue) {
      if (equals != std::string_view::npos) {
        value = word.substr(equals + 1);
      } else if (i + 1 < words.size()) {
        value = words[++i];
      } else {
        return fail(std::string(name) + " needs a value");
      }
    } else if (equals != std::string_view::npos) {
      return fail(std::string(name) + " takes no value");
    }

    if (option->longName == "--help") {
      a.action = Action::kHelp;
      return parsed;
    } else if (option->longName == "--output") {
      a.outputFolder = value;
      outputGiven = true;
      if (value.empty()) return fail("-o needs a folder");
    } else if (option->longName == "--group") {
      std::optional<GroupSelector> selector = ParseGroupSelector(value);
      if (!selector) return fail("bad group " + std::string(value) + " (3, #101 or a name)");
      a.groups.push_back(std::move(*selector));
    } else if (option->longName == "--lang") {
      a.language = ParseLanguage(value);
      if (!a.language) return fail("bad language " + std::string(value) + " (1033 or 0x0409)");
    } else if (option->longName == "--recursive") {
      a.recursive = true;
    } else if (option->longName == "--json") {
      a.json = true;
    }
  }

  if (a.inputs.empty()) return fail("no input file");
  if (a.action == Action::kList && outputGiven) return fail("-o belongs to extract, not list");
  if (a.action == Action::kExtract && a.json) return fail("--json belongs to list, not extract");
  return parsed;
}

}  // namespace icotake::cli
