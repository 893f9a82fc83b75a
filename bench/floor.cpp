// icotake_floor FILE DIR [GROUPS]: the least that writing icon groups as DIR/1.ico, DIR/2.ico, ...
// can cost, the yardstick of bench/run.py. Our reader finds the resources in a mapping of FILE
// (only the directory's and the group resources' pages are touched); each group's images are then
// read with pread into one reused buffer behind the header and directory, and written with one
// write into a file created in place (no temporary file, no rename). The files are the same bytes
// as icotake's.
// GROUPS caps the count: 100 for the extract button's passes.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "icons/icon_set.h"
#include "icons/pe_resources.h"

namespace {

struct Image {
  std::uint64_t offset = 0;  // in the file
  std::uint32_t size = 0;
};

void Put16(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::uint8_t* out, std::uint32_t value) {
  Put16(out, value);
  Put16(out + 2, value >> 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: icotake_floor FILE DIR [GROUPS]\n", stderr);
    return 2;
  }
  const std::string folder = argv[2];
  const long cap = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 0x7FFFFFFF;
  const std::optional<icotake::MappedFile> file = icotake::MappedFile::Open(argv[1]);
  if (!file) return 1;
  const icotake::Bytes bytes = file->bytes();
  const std::optional<icotake::PeResources> pe = icotake::PeResources::Parse(bytes);
  if (!pe) return 1;
  std::vector<icotake::ResourceName> groups;
  pe->EnumNames(icotake::kGroupIconResource, [&](const icotake::ResourceName& name) {
    if (static_cast<long>(groups.size()) < cap) groups.push_back(name);
  });

  const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 1;
  std::vector<std::uint8_t> buffer;
  std::vector<Image> images;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::optional<icotake::Bytes> group = pe->Find(icotake::kGroupIconResource, groups[g]);
    if (!group || group->size() < 6) return 1;
    const std::uint32_t count = (*group)[4] | ((*group)[5] << 8);
    if (group->size() < 6 + 14 * std::size_t{count}) return 1;
    images.clear();
    std::size_t total = 6 + 16 * std::size_t{count};
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* entry = group->data() + 6 + 14 * i;
      const std::uint16_t id = static_cast<std::uint16_t>(entry[12] | (entry[13] << 8));
      const std::optional<icotake::Bytes> image = pe->Find(icotake::kIconResource, id);
      if (!image) return 1;
      images.push_back({static_cast<std::uint64_t>(image->data() - bytes.data()),
                        static_cast<std::uint32_t>(image->size())});
      total += image->size();
    }
    if (buffer.size() < total) buffer.resize(total);
    Put16(buffer.data(), 0);
    Put16(buffer.data() + 2, 1);
    Put16(buffer.data() + 4, count);
    std::size_t at = 6 + 16 * std::size_t{count};
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint8_t* image = buffer.data() + at;
      if (::pread(fd, image, images[i].size, static_cast<off_t>(images[i].offset)) !=
          static_cast<ssize_t>(images[i].size)) {
        return 1;
      }
      // The same bytes as icotake writes, so that run.py can hold every output against the floor's.
      const icotake::ImageDescription d = icotake::DescribeImage({image, images[i].size});
      const std::uint32_t colorBits = std::uint32_t{d.planes} * d.bitCount;
      std::uint8_t* entry = buffer.data() + 6 + 16 * i;
      entry[0] = static_cast<std::uint8_t>(d.width);
      entry[1] = static_cast<std::uint8_t>(d.height);
      entry[2] = !d.png && colorBits < 8 ? static_cast<std::uint8_t>(1u << colorBits) : 0;
      entry[3] = 0;
      Put16(entry + 4, d.planes);
      Put16(entry + 6, d.bitCount);
      Put32(entry + 8, images[i].size);
      Put32(entry + 12, static_cast<std::uint32_t>(at));
      if (!d.png && images[i].size >= 24) Put32(image + 20, 0);  // biSizeImage
      at += images[i].size;
    }
    const std::string path = folder + "/" + std::to_string(g + 1) + ".ico";
    const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0 || ::write(out, buffer.data(), at) != static_cast<ssize_t>(at)) return 1;
    ::close(out);
  }
  ::close(fd);
  return 0;
}
