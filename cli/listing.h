#pragma once
// `icotake list`: what each file holds, as text for a person or as one JSON document.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/report.h"
#include "cli/source.h"

namespace icotake::cli {

struct ImageListing {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t bitCount = 0;  // planes x bits per pixel, as the image's own header says
  bool png = false;
  std::uint32_t byteCount = 0;
};

struct GroupListing {
  SourceGroup group;
  std::vector<ImageListing> images;
  std::string problem;  // why the group's images cannot be listed
};

struct FileListing {
  std::string path;
  SourceKind kind = SourceKind::kUnknown;
  std::size_t groupCount = 0;  // all the file's groups, whatever the selection
  std::vector<GroupListing> groups;
};

// The selected groups of a source, each loaded in the language asked for (the default one
// otherwise). Selectors that pick nothing and groups that cannot be loaded are reported.
FileListing ListSource(Source& source, const Arguments& arguments, Report& report);

// "shell32.dll: module, 184 icon groups", then a line per group and one per image.
std::string ListingText(const FileListing& listing);

// {"files": [...], "failures": [{"file": ..., "reason": ...}]}: every text in UTF-8.
std::string ListingJson(const std::vector<FileListing>& files, const std::vector<Failure>& failures);

int RunList(const Arguments& arguments, ModuleOpener openModule);

}  // namespace icotake::cli
