#pragma once
// Icon images, icon files and scratch folders built in code, so a test shows which bytes matter.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "icons/icon_set.h"

namespace icotake::test {

using ByteVector = std::vector<std::uint8_t>;

// A bitmap icon image: BITMAPINFOHEADER (biHeight = 2 x height), colour table, colour bits, mask.
// Its bytes after the header count up from `seed`, so images differ; biSizeImage holds 0xAABBCCDD.
ByteVector BitmapImage(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                       std::uint8_t seed = 0);

// A PNG icon image: the signature, an IHDR chunk and a few bytes of made-up data.
ByteVector PngImage(std::uint32_t width, std::uint32_t height, std::uint8_t depth = 8,
                    std::uint8_t colorType = 6);

struct IconFileEntry {
  ByteVector image;
  std::uint8_t width = 0, height = 0, colorCount = 0;  // the directory's own description
  std::uint16_t planes = 1, bitCount = 32;
};

// An icon file with the images one after another, as a writer lays them out.
ByteVector IconFileBytes(const std::vector<ByteVector>& images, std::uint16_t type = 1);

IconSet SetOf(const std::vector<ByteVector>& images);

std::uint16_t Get16(const ByteVector& bytes, std::size_t offset);
std::uint32_t Get32(const ByteVector& bytes, std::size_t offset);
void Put16(ByteVector& bytes, std::size_t offset, std::uint16_t value);
void Put32(ByteVector& bytes, std::size_t offset, std::uint32_t value);

ByteVector ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const ByteVector& bytes);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  const std::filesystem::path& path() const { return path_; }
  // A path inside the folder, as the narrow text that the program's operations take.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace icotake::test
