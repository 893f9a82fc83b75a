#pragma once
// Texts as the program's handlers pass them around: absent (no text at all), empty, or bytes in
// the ANSI code page. Lengths, positions and comparisons count bytes.
//
// Every text is taken from the program's text heap; when the heap cannot give the memory the
// program stops with FatalError, so no caller ever sees a failed allocation.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace icotake {

// Memory for texts: a block, or FatalError naming the byte count asked for.
void* AllocateTextBytes(std::size_t size);
void FreeTextBytes(void* block);

template <class T>
struct TextAllocator {
  using value_type = T;
  TextAllocator() = default;
  template <class U>
  TextAllocator(const TextAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateTextBytes(n * sizeof(T))); }
  void deallocate(T* block, std::size_t) { FreeTextBytes(block); }
  friend bool operator==(const TextAllocator&, const TextAllocator&) { return true; }
};

using TextBytes = std::basic_string<char, std::char_traits<char>, TextAllocator<char>>;
using Text = std::optional<TextBytes>;  // std::nullopt is the absent text

inline Text MakeText(std::string_view bytes) { return TextBytes(bytes); }

// The bytes of a text; an absent text counts as the empty one wherever it is handed on.
inline std::string_view View(const Text& text) {
  return text ? std::string_view(*text) : std::string_view();
}

std::size_t TextLength(const Text& text);

// The last min(TextLength(text), n) bytes, cut by bytes, not characters. Absent when n < 1 or
// the text is empty or absent.
Text RightBytes(const Text& text, std::int32_t n);

// 0 when equal, -1 when a is smaller at the first differing unsigned byte (or ends first), 1 when
// larger. An absent text equals another absent text and the empty text, and is smaller than any
// other text. Case counts.
int CompareTexts(const Text& a, const Text& b);

// n in decimal, as "%d" writes it.
Text DecimalText(std::int32_t n);

// The texts one after another; absent texts add nothing. Never absent.
Text JoinTexts(std::initializer_list<std::string_view> texts);

// The message of the FatalError for a text of `size` bytes that the heap could not give. Built
// without the heap, which has just run out.
struct AllocationFailureMessage {
  explicit AllocationFailureMessage(std::size_t size);
  std::string_view view() const { return {bytes, size}; }
  char bytes[64];
  std::size_t size = 0;
};

}  // namespace icotake
