// icotake_driver_bench FILE DIR: one press of the extract button, the same procedure that the
// window runs (100 passes, each reading the edit box afresh), with FILE as the edit box's text and
// DIR as the output folder. Prints how long the work took, measured inside the process, so that
// under Wine the program's start is left out exactly.
//   --idle             starts and ends without work: under Wine, the cost of starting a program,
//                      which bench/run.py takes off the figures
//   --loader-only FILE the module backend's share of the 100 passes: open, enumerate, find the
//                      group and its images, close; nothing copied, nothing written

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/extract_driver.h"
#include "icons/extract_icon_group.h"

namespace {

// What the platform's loader does for one pass, and no more.
void LoaderPass(const std::string& path, std::int32_t n) {
  const std::unique_ptr<icotake::ModuleResources> module = icotake::OpenModule(path);
  if (!module) return;
  std::int32_t count = 0;
  std::optional<icotake::ResourceName> chosen;
  module->EnumIconGroups([&](const icotake::ResourceName& name) {
    if (++count == n) chosen = name;
  });
  if (!chosen) return;
  const std::optional<icotake::Bytes> group = module->Find(icotake::kGroupIconResource, *chosen);
  if (!group) return;
  icotake::ByteReader entries(*group);
  const std::uint16_t images = entries.Skip(4).U16();
  for (std::uint16_t i = 0; i < images && entries.ok(); ++i) {
    const std::uint16_t id = entries.Skip(12).U16();
    if (entries.ok()) module->Find(icotake::kIconResource, id);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  if (argc == 2 && mode == "--idle") return 0;
  const bool loaderOnly = argc == 3 && mode == "--loader-only";
  if (!loaderOnly && (argc != 3 || mode.starts_with("-"))) {
    std::fputs("usage: icotake_driver_bench FILE DIR | --idle | --loader-only FILE\n", stderr);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  if (loaderOnly) {
    for (std::int32_t n = icotake::kFirstGroup; n <= icotake::kLastGroup; ++n) LoaderPass(argv[2], n);
  } else {
    const std::string_view source = argv[1];
    icotake::ExtractIntoFolder([source] { return icotake::MakeText(source); }, argv[2]);
  }
  const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
  std::printf("work_us %.0f\n", took.count());
  return 0;
}
