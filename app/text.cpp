#include "app/text.h"

#include <algorithm>
#include <charconv>

#include "app/program_texts.h"

namespace icotake {

std::size_t TextLength(const Text& text) { return text ? text->size() : 0; }

Text RightBytes(const Text& text, std::int32_t n) {
  if (n < 1 || TextLength(text) == 0) return std::nullopt;
  const std::size_t count = std::min<std::size_t>(text->size(), static_cast<std::size_t>(n));
  return TextBytes(text->substr(text->size() - count));
}

int CompareTexts(const Text& a, const Text& b) {
  const int order = View(a).compare(View(b));  // char_traits<char> compares as unsigned char
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

Text DecimalText(std::int32_t n) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  return TextBytes(digits, end);
}

Text JoinTexts(std::initializer_list<std::string_view> texts) {
  std::size_t size = 0;
  for (std::string_view text : texts) size += text.size();
  TextBytes joined;
  joined.reserve(size);
  for (std::string_view text : texts) joined += text;
  return joined;
}

AllocationFailureMessage::AllocationFailureMessage(std::size_t requested) {
  char* out = std::copy(texts::kAllocationFailedBefore.begin(), texts::kAllocationFailedBefore.end(), bytes);
  out = std::to_chars(out, bytes + sizeof bytes, requested).ptr;
  out = std::copy(texts::kAllocationFailedAfter.begin(), texts::kAllocationFailedAfter.end(), out);
  size = static_cast<std::size_t>(out - bytes);
}

}  // namespace icotake
