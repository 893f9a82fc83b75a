#include "app/extract_driver.h"

#include "icons/extract_icon_group.h"
#include "shell/shortcut.h"

namespace icotake {
namespace {

constexpr std::string_view kOutputSuffix = ".ico";
constexpr std::string_view kShortcutSuffix = ".lnk";

Text OutputPath(std::string_view prefix, std::int32_t n) {
  const Text decimal = DecimalText(n);
  return JoinTexts({prefix, View(decimal), kOutputSuffix});
}

// Every pass reads the edit box afresh and asks for one group; the answers are not looked at,
// so a file with k groups is still asked for all 100 and passes k + 1 to 100 write nothing.
void RunPlainPasses(const ReadEditBox& readEditBox, std::string_view prefix) {
  for (std::int32_t n = kFirstGroup; n <= kLastGroup; ++n) {
    const Text outputPath = OutputPath(prefix, n);
    const Text source = readEditBox();
    ExtractIconGroup(View(source), kWriteToFile, View(outputPath), n);
  }
}

// The edit box names a shortcut exactly when its last four bytes are ".lnk": case counts, so
// "Tool.LNK" is no shortcut and becomes the source of the plain passes.
bool NamesShortcut(const ReadEditBox& readEditBox) {
  const Text tail = RightBytes(readEditBox(), 4);
  return CompareTexts(tail, MakeText(kShortcutSuffix)) == 0;
}

// The shortcut is read once, before the loop, and every pass gets the same resolved source; a
// shortcut that cannot be read gives the empty source, and the passes write nothing.
void RunShortcutPasses(const ReadEditBox& readEditBox, std::string_view prefix) {
  const Text resolvedSource = [&] {
    const Text shortcutPath = readEditBox();
    return MakeText(ResolveShortcutTarget(View(shortcutPath)));
  }();
  for (std::int32_t n = kFirstGroup; n <= kLastGroup; ++n) {
    const Text outputPath = OutputPath(prefix, n);
    ExtractIconGroup(View(resolvedSource), kWriteToFile, View(outputPath), n);
  }
}

}  // namespace

void ExtractIntoFolder(const ReadEditBox& readEditBox, std::string_view folder) {
  const Text outputFolder = MakeText(folder);
  if (!PathExists(outputFolder)) CreateFolder(outputFolder);  // a failure shows as files not written
  const Text prefix = JoinTexts({folder, kPathSeparator});
  if (NamesShortcut(readEditBox)) {
    RunShortcutPasses(readEditBox, View(prefix));
  } else {
    RunPlainPasses(readEditBox, View(prefix));
  }
}

void OnExtractClicked(const ReadEditBox& readEditBox) { ExtractIntoFolder(readEditBox, OutputFolder); }

}  // namespace icotake
