#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <utility>

#include "base/file_io.h"

namespace icotake {

std::optional<MappedFile> MappedFile::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  MappedFile mapped;
  mapped.descriptor_ = fd;  // closed by the destructor, whatever happens below
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  mapped.size_ = static_cast<std::size_t>(info.st_size);
  if (mapped.size_ == 0) return mapped;
  void* data = ::mmap(nullptr, mapped.size_, PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) return std::nullopt;
  mapped.data_ = static_cast<const std::uint8_t*>(data);
  return mapped;
}

bool MappedFile::CopyOut(Bytes part, std::uint8_t* out) const {
  if (part.empty()) return true;
  if (part.data() < data_ || part.size() > size_ ||
      static_cast<std::size_t>(part.data() - data_) > size_ - part.size()) {
    return false;
  }
  auto offset = static_cast<off_t>(part.data() - data_);
  std::size_t left = part.size();
  while (left > 0) {
    const ssize_t got = ::pread(descriptor_, out, left, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // the file has shrunk since it was mapped
    out += got;
    offset += got;
    left -= static_cast<std::size_t>(got);
  }
  return true;
}

void MappedFile::Release() {
  if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  if (descriptor_ >= 0) ::close(descriptor_);
  data_ = nullptr;
  size_ = 0;
  descriptor_ = -1;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      descriptor_(std::exchange(other.descriptor_, -1)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    descriptor_ = std::exchange(other.descriptor_, -1);
  }
  return *this;
}

MappedFile::~MappedFile() { Release(); }

namespace {

bool WriteAll(int fd, Bytes bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, Bytes bytes) {
  static std::atomic<unsigned> counter{0};
  const std::string temporary =
      path + ".icotake-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  const bool closed = ::close(fd) == 0;
  if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace icotake
