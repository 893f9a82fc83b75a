#include "icons/icon_set.h"

#include <algorithm>
#include <array>

namespace icotake {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndianOrZero(Bytes bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | (offset + i < bytes.size() ? bytes[offset + i] : 0);
  }
  return value;
}

std::uint16_t PngChannels(std::uint8_t colorType) {
  switch (colorType) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette index
    case 4: return 2;  // grey + alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

}  // namespace

bool IsPngImage(Bytes image) {
  return image.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), image.begin());
}

ImageDescription DescribeImage(Bytes image) {
  ImageDescription d;
  if (IsPngImage(image)) {
    // The signature, then the IHDR chunk: length, "IHDR", width, height, depth, colour type.
    d.png = true;
    d.width = static_cast<std::int32_t>(BigEndianOrZero(image, 16));
    d.height = static_cast<std::int32_t>(BigEndianOrZero(image, 20));
    const auto depth = static_cast<std::uint16_t>(LittleOrZero(image, 24, 1));
    const auto colorType = static_cast<std::uint8_t>(LittleOrZero(image, 25, 1));
    d.planes = 1;
    d.bitCount = static_cast<std::uint16_t>(depth * PngChannels(colorType));
    return d;
  }
  d.width = static_cast<std::int32_t>(LittleOrZero(image, 4, 4));
  d.height = static_cast<std::int32_t>(LittleOrZero(image, 8, 4)) / 2;
  d.planes = static_cast<std::uint16_t>(LittleOrZero(image, 12, 2));
  d.bitCount = static_cast<std::uint16_t>(LittleOrZero(image, 14, 2));
  return d;
}

void FillImageInfo(IconSetImage& image) {
  const ImageDescription d = DescribeImage(image.bytes);
  image.width = d.width;
  image.height = d.height;
  image.colorBits = std::uint32_t{d.planes} * d.bitCount;
}

}  // namespace icotake
