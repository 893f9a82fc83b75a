#include "icons/icon_file.h"

#include <algorithm>

#include "base/file_io.h"

namespace icotake {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kSizeImageOffset = 20;  // biSizeImage in a BITMAPINFOHEADER

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

// Whether ParseIconFile takes the bytes, and if not, why.
std::string IconFileProblem(Bytes file) {
  ByteReader header(file);
  const std::uint16_t reserved = header.U16();
  const std::uint16_t type = header.U16();
  const std::uint16_t count = header.U16();
  if (!header.ok()) return "truncated icon file header";
  if (reserved != 0 || type != 1) return "not an icon file (reserved 0, type 1)";
  if (count > header.remaining() / kEntrySize) {
    return "truncated icon directory: " + std::to_string(count) + " entries in " +
           std::to_string(file.size()) + " bytes";
  }

  // Entries may point at the same bytes; a set never holds more than the file has, so a forged
  // directory cannot make a small file take much memory.
  ByteReader directory(file, kHeaderSize);
  std::uint64_t total = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    directory.Skip(8);
    const std::uint32_t byteCount = directory.U32();
    const std::uint32_t offset = directory.U32();
    total += byteCount;
    if (!SubBytes(file, offset, byteCount)) {
      return "image " + std::to_string(i + 1) + " reaches past the end of the file";
    }
    if (total > file.size()) return "images add up to more bytes than the file holds";
  }
  return {};
}

std::optional<IconSet> ParseIconFile(Bytes file, std::string fileName) {
  if (!IconFileProblem(file).empty()) return std::nullopt;

  ByteReader directory(file, kHeaderSize);
  const std::uint16_t count = ByteReader(file, 4).U16();
  IconSet set;
  set.fileName = std::move(fileName);
  set.images.resize(count);
  for (IconSetImage& image : set.images) {
    directory.Skip(8);
    const std::uint32_t byteCount = directory.U32();
    const std::uint32_t offset = directory.U32();
    const Bytes bytes = *SubBytes(file, offset, byteCount);
    image.bytes.assign(bytes.begin(), bytes.end());
    FillImageInfo(image);
  }
  return set;
}

std::optional<std::vector<std::uint8_t>> SerializeIconFile(const IconSet& set) {
  const std::size_t count = set.images.size();
  if (count > 0xFFFF) return std::nullopt;
  std::uint64_t size = kHeaderSize + kEntrySize * count;
  for (const IconSetImage& image : set.images) size += image.bytes.size();
  if (size > 0xFFFFFFFF) return std::nullopt;

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(size));
  PutU16(out, 0);
  PutU16(out, 1);
  PutU16(out, static_cast<std::uint16_t>(count));
  auto offset = static_cast<std::uint32_t>(kHeaderSize + kEntrySize * count);
  for (const IconSetImage& image : set.images) {
    const ImageDescription d = DescribeImage(image.bytes);
    const bool fewColors = !d.png && image.colorBits < 8;
    out.push_back(static_cast<std::uint8_t>(image.width));  // 256 pixels become 0
    out.push_back(static_cast<std::uint8_t>(image.height));
    out.push_back(fewColors ? static_cast<std::uint8_t>(1u << image.colorBits) : 0);
    out.push_back(0);
    PutU16(out, d.planes);
    PutU16(out, d.bitCount);
    PutU32(out, image.byteCount());
    PutU32(out, offset);
    offset += image.byteCount();
  }
  for (const IconSetImage& image : set.images) {
    const std::size_t start = out.size();
    out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    // biSizeImage is written as 0; a PNG's bytes are its own, and an image too short to hold the
    // field is written as it is.
    if (!IsPngImage(image.bytes) && image.bytes.size() >= kSizeImageOffset + 4) {
      std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(start + kSizeImageOffset), 4, 0);
    }
  }
  return out;
}

std::optional<IconSet> ReadIconFile(const std::string& path) {
  const std::optional<MappedFile> file = MappedFile::Open(path);
  if (!file) return std::nullopt;
  return ParseIconFile(file->bytes(), path);
}

bool WriteIconFile(const IconSet& set, const std::string& path) {
  const std::optional<std::vector<std::uint8_t>> bytes = SerializeIconFile(set);
  return bytes && WriteFileReplacing(path, *bytes);
}

}  // namespace icotake
