#include "tests/fixtures.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace icotake::test {

std::uint16_t Get16(const ByteVector& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}
std::uint32_t Get32(const ByteVector& bytes, std::size_t offset) {
  return Get16(bytes, offset) | (std::uint32_t{Get16(bytes, offset + 2)} << 16);
}
void Put16(ByteVector& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<std::uint8_t>(value);
  bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}
void Put32(ByteVector& bytes, std::size_t offset, std::uint32_t value) {
  Put16(bytes, offset, static_cast<std::uint16_t>(value));
  Put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

ByteVector BitmapImage(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                       std::uint8_t seed) {
  const std::size_t colors = bitCount <= 8 ? std::size_t{1} << bitCount : 0;
  const std::size_t colorRow = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
  const std::size_t maskRow = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  ByteVector image(40 + 4 * colors + (colorRow + maskRow) * static_cast<std::size_t>(height));
  Put32(image, 0, 40);
  Put32(image, 4, static_cast<std::uint32_t>(width));
  Put32(image, 8, static_cast<std::uint32_t>(2 * height));
  Put16(image, 12, 1);
  Put16(image, 14, bitCount);
  Put32(image, 20, 0xAABBCCDD);
  for (std::size_t i = 40; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(seed + i);
  return image;
}

ByteVector PngImage(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                    std::uint8_t colorType) {
  ByteVector image = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (std::uint32_t value : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) image.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  image.insert(image.end(), {depth, colorType, 0, 0, 0, 0x12, 0x34, 0x56, 0x78});
  image.insert(image.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return image;
}

ByteVector IconFileBytes(const std::vector<ByteVector>& images, std::uint16_t type) {
  ByteVector file(6 + 16 * images.size());
  Put16(file, 2, type);
  Put16(file, 4, static_cast<std::uint16_t>(images.size()));
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    file[entry] = 32;  // a directory's description, which readers do not trust
    file[entry + 1] = 32;
    Put16(file, entry + 4, 1);
    Put16(file, entry + 6, 32);
    Put32(file, entry + 8, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, entry + 12, static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), images[i].begin(), images[i].end());
  }
  return file;
}

IconSet SetOf(const std::vector<ByteVector>& images) {
  IconSet set;
  for (const ByteVector& bytes : images) {
    IconSetImage image;
    image.bytes = bytes;
    FillImageInfo(image);
    set.images.push_back(std::move(image));
  }
  return set;
}

ByteVector ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const ByteVector& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ScratchFolder::ScratchFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("icotake-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::File(const std::string& name) const { return (path_ / name).string(); }

}  // namespace icotake::test
