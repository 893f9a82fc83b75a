#pragma once
// The one reader for untrusted bytes: little-endian fields at checked offsets.
//
// Every read checks offset and size against the buffer first (in subtraction form, so nothing
// wraps). A failed read returns 0 or an empty span and makes the reader fail for good, so a parser
// can read several fields and test ok() once.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace icotake {

using Bytes = std::span<const std::uint8_t>;

// bytes[offset, offset + size), or nothing when that range is not wholly inside bytes.
inline std::optional<Bytes> SubBytes(Bytes bytes, std::uint64_t offset, std::uint64_t size) {
  if (offset > bytes.size() || size > bytes.size() - offset) return std::nullopt;
  return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
}

class ByteReader {
 public:
  explicit ByteReader(Bytes bytes, std::size_t offset = 0) : bytes_(bytes), offset_(offset) {
    if (offset > bytes.size()) Fail();
  }

  bool ok() const { return ok_; }
  std::size_t offset() const { return offset_; }
  std::size_t remaining() const { return ok_ ? bytes_.size() - offset_ : 0; }

  // Moves to an absolute offset; an offset past the end fails the reader.
  ByteReader& Seek(std::uint64_t offset) {
    if (!ok_ || offset > bytes_.size()) return Fail();
    offset_ = static_cast<std::size_t>(offset);
    return *this;
  }
  ByteReader& Skip(std::uint64_t count) {
    if (!ok_ || count > remaining()) return Fail();
    offset_ += static_cast<std::size_t>(count);
    return *this;
  }

  std::uint8_t U8() { return static_cast<std::uint8_t>(Little(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
  std::uint64_t U64() { return Little(8); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  Bytes Take(std::uint64_t count) {
    if (!ok_ || count > remaining()) {
      Fail();
      return {};
    }
    Bytes taken = bytes_.subspan(offset_, static_cast<std::size_t>(count));
    offset_ += static_cast<std::size_t>(count);
    return taken;
  }

 private:
  ByteReader& Fail() {
    ok_ = false;
    return *this;
  }
  std::uint64_t Little(std::size_t size) {
    if (!ok_ || size > remaining()) {
      Fail();
      return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes_[offset_ + i]} << (8 * i);
    offset_ += size;
    return value;
  }

  Bytes bytes_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

// A little-endian field at a fixed offset; 0 for every byte that lies beyond the buffer. For
// describing images whose header may be cut short, where a missing field simply counts as 0.
inline std::uint32_t LittleOrZero(Bytes bytes, std::size_t offset, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (offset + i < bytes.size()) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
  }
  return value;
}

}  // namespace icotake
