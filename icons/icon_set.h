#pragma once
// One icon group in memory, and how an image describes itself.

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_reader.h"

namespace icotake {

struct IconSetImage {
  std::int32_t width = 0;
  std::int32_t height = 0;  // of the picture: half of a bitmap's biHeight, which counts the mask too
  std::uint32_t colorBits = 0;
  std::vector<std::uint8_t> bytes;  // the image exactly as the source stores it

  std::uint32_t byteCount() const { return static_cast<std::uint32_t>(bytes.size()); }
};

struct IconSet {
  std::string fileName;    // the icon file the set was read from; empty for a module's group
  std::string moduleName;  // the module the set was loaded from; empty for an icon file's set
  std::vector<IconSetImage> images;  // in the order of the source's directory

  std::uint32_t imageCount() const { return static_cast<std::uint32_t>(images.size()); }
};

// Images in PNG form begin with the 8-byte PNG signature; all others with a BITMAPINFOHEADER.
bool IsPngImage(Bytes image);

// What an image says of itself, for its icon-file directory entry.
struct ImageDescription {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  bool png = false;
};

// A bitmap is described by its BITMAPINFOHEADER (height halved), a PNG by its IHDR chunk
// (bit count = bit depth x channels, one plane). Fields that lie beyond a short image count as 0.
ImageDescription DescribeImage(Bytes image);

// Sets width, height and colorBits from the image's own bytes.
void FillImageInfo(IconSetImage& image);

}  // namespace icotake
