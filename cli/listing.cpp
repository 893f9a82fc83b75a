#include "cli/listing.h"

#include <cstdio>

#include "base/text_encoding.h"
#include "cli/inputs.h"
#include "cli/selection.h"

namespace icotake::cli {
namespace {

std::string Plural(std::size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// JSON wants UTF-8; the program's narrow text is the ANSI code page on Windows.
std::string JsonString(std::string_view narrow) {
  const std::string utf8 = Utf8FromUtf16(WidenToUtf16(narrow));
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out += '"';
}

std::string JsonGroup(const GroupListing& listing) {
  const SourceGroup& group = listing.group;
  std::string out = "{\"position\": " + std::to_string(group.position);
  const auto* number = group.name ? std::get_if<std::uint16_t>(&*group.name) : nullptr;
  const auto* name = group.name ? std::get_if<std::string>(&*group.name) : nullptr;
  out += ", \"number\": " + (number ? std::to_string(*number) : "null");
  out += ", \"name\": " + (name ? JsonString(*name) : "null");
  out += ", \"languages\": [";
  for (std::size_t i = 0; i < group.languages.size(); ++i) {
    out += (i ? ", " : "") + std::to_string(group.languages[i]);
  }
  out += "], \"images\": [";
  for (std::size_t i = 0; i < listing.images.size(); ++i) {
    const ImageListing& image = listing.images[i];
    out += i ? ", " : "";
    out += "{\"width\": " + std::to_string(image.width) + ", \"height\": " +
           std::to_string(image.height) + ", \"bitCount\": " + std::to_string(image.bitCount) +
           ", \"format\": \"" + (image.png ? "png" : "bmp") + "\", \"bytes\": " +
           std::to_string(image.byteCount) + "}";
  }
  out += "]";
  if (!listing.problem.empty()) out += ", \"error\": " + JsonString(listing.problem);
  return out + "}";
}

}  // namespace

FileListing ListSource(Source& source, const Arguments& arguments, Report& report) {
  FileListing listing;
  listing.path = source.path;
  listing.kind = source.kind;
  listing.groupCount = source.groups.size();
  const Selection selection = SelectGroups(source, arguments.groups);
  for (const std::string& unmatched : selection.unmatched) {
    report.Fail(source.path, "no group " + unmatched);
  }
  for (const SourceGroup* group : selection.groups) {
    GroupListing& entry = listing.groups.emplace_back();
    entry.group = *group;
    GroupLoad load = source.Load(*group, arguments.language);
    if (!load.set) {
      entry.problem = std::move(load.problem);
      const std::string name = NameText(*group);
      report.Fail(source.path, "group " + std::to_string(group->position) +
                                   (name.empty() ? "" : " (" + name + ")") + ": " + entry.problem);
      continue;
    }
    for (const IconSetImage& image : load.set->images) {
      const ImageDescription d = DescribeImage(image.bytes);
      entry.images.push_back({image.width, image.height, image.colorBits, d.png, image.byteCount()});
    }
  }
  return listing;
}

std::string ListingText(const FileListing& listing) {
  std::string out = listing.path + ": " + KindName(listing.kind) + ", " +
                    Plural(listing.groupCount, "icon group") + "\n";
  for (const GroupListing& entry : listing.groups) {
    const SourceGroup& group = entry.group;
    out += "  group " + std::to_string(group.position);
    std::string details = NameText(group);
    if (!group.languages.empty()) {
      details += details.empty() ? "" : ", ";
      details += group.languages.size() == 1 ? "language" : "languages";
      for (std::size_t i = 0; i < group.languages.size(); ++i) {
        details += (i ? ", " : " ") + LanguageText(group.languages[i]);
      }
    }
    if (!entry.problem.empty()) {
      out += ": " + details + (details.empty() ? "" : ": ") + entry.problem + "\n";
      continue;
    }
    out += ": " + details + (details.empty() ? "" : ", ") + Plural(entry.images.size(), "image") + "\n";
    for (const ImageListing& image : entry.images) {
      out += "    " + std::to_string(image.width) + "x" + std::to_string(image.height) + ", " +
             std::to_string(image.bitCount) + "-bit, " + (image.png ? "PNG" : "BMP") + ", " +
             Plural(image.byteCount, "byte") + "\n";
    }
  }
  return out;
}

std::string ListingJson(const std::vector<FileListing>& files, const std::vector<Failure>& failures) {
  std::string out = "{\n  \"files\": [";
  for (std::size_t i = 0; i < files.size(); ++i) {
    const FileListing& file = files[i];
    out += i ? ",\n    " : "\n    ";
    out += "{\"path\": " + JsonString(file.path) + ", \"kind\": \"" + KindName(file.kind) +
           "\", \"groupCount\": " + std::to_string(file.groupCount) + ", \"groups\": [";
    for (std::size_t j = 0; j < file.groups.size(); ++j) {
      out += (j ? ",\n      " : "\n      ") + JsonGroup(file.groups[j]);
    }
    out += file.groups.empty() ? "]}" : "\n    ]}";
  }
  out += files.empty() ? "],\n" : "\n  ],\n";
  out += "  \"failures\": [";
  for (std::size_t i = 0; i < failures.size(); ++i) {
    out += (i ? ",\n    " : "\n    ") + std::string("{\"file\": ") + JsonString(failures[i].file) +
           ", \"reason\": " + JsonString(failures[i].reason) + "}";
  }
  out += failures.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

int RunList(const Arguments& arguments, ModuleOpener openModule) {
  Report report;
  std::vector<FileListing> listings;
  ForEachSource(arguments.inputs, arguments.recursive, openModule, report,
                [&](Source& source, const Input&) {
                  FileListing listing = ListSource(source, arguments, report);
                  report.Done();
                  if (arguments.json) {
                    listings.push_back(std::move(listing));
                  } else {
                    std::fputs(ListingText(listing).c_str(), stdout);
                  }
                });
  if (arguments.json) std::fputs(ListingJson(listings, report.failures()).c_str(), stdout);
  return report.ExitCode();
}

}  // namespace icotake::cli
