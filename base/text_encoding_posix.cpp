#include <iconv.h>

#include <cerrno>

#include "base/text_encoding.h"

// Outside Windows the narrow text is UTF-8.

namespace icotake {
namespace {

// One conversion descriptor per call: iconv keeps shift state in it, and calls are rare.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::string NarrowFromUtf16(std::u16string_view text) { return Utf8FromUtf16(text); }
std::u16string WidenToUtf16(std::string_view text) { return Utf16FromUtf8(text); }

std::u16string Utf16FromAnsiCodePage(std::string_view bytes) {
  std::u16string out;
  if (bytes.empty()) return out;
  const Iconv cd("UTF-16LE", "CP936");
  if (!cd.ok()) return Utf16FromUtf8(bytes);  // no CP936 tables: ASCII still comes out right
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char16_t chunk[256];
    char* outPtr = reinterpret_cast<char*>(chunk);
    std::size_t outLeft = sizeof chunk;
    const std::size_t result = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
    // iconv writes UTF-16LE bytes; assemble the units without assuming the host's byte order.
    const auto* produced = reinterpret_cast<const unsigned char*>(chunk);
    const std::size_t producedBytes = sizeof chunk - outLeft;
    for (std::size_t i = 0; i + 1 < producedBytes; i += 2) {
      out += static_cast<char16_t>(produced[i] | (produced[i + 1] << 8));
    }
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An ill-formed or cut-off sequence: one replacement character, then go on after its byte.
      out += u'\xFFFD';
      ++in;
      --inLeft;
    }
  }
  return out;
}

}  // namespace icotake
