#include "app/fatal_error.h"

#include <algorithm>

#include "app/program_texts.h"

namespace icotake {

std::size_t FormatFatalErrorText(std::string_view message, std::span<char> out) {
  if (out.empty()) return 0;
  std::size_t size = 0;
  const auto append = [&](std::string_view part) {
    const std::size_t count = std::min(part.size(), out.size() - 1 - size);
    std::copy_n(part.begin(), count, out.begin() + static_cast<std::ptrdiff_t>(size));
    size += count;
  };
  append(texts::kRuntimeError);
  if (!message.empty()) {
    append(texts::kErrorMessage);
    append(message);
    append("\r\n");
  }
  out[size] = '\0';
  return size;
}

}  // namespace icotake
