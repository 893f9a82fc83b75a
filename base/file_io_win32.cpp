#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>

#include "base/file_io.h"

namespace icotake {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = !valid() || CloseHandle(handle_);
    handle_ = nullptr;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::optional<MappedFile> MappedFile::Open(const std::string& path) {
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
    return std::nullopt;
  }
  MappedFile mapped;
  mapped.size_ = static_cast<std::size_t>(size.QuadPart);
  if (mapped.size_ == 0) return mapped;  // an empty file cannot be mapped, and needs not be
  Handle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.valid()) return std::nullopt;
  const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) return std::nullopt;
  mapped.data_ = static_cast<const std::uint8_t*>(view);
  return mapped;
}

bool MappedFile::CopyOut(Bytes part, std::uint8_t* out) const {
  if (part.empty()) return true;
  if (part.data() < data_ || part.size() > size_ ||
      static_cast<std::size_t>(part.data() - data_) > size_ - part.size()) {
    return false;
  }
  std::copy(part.begin(), part.end(), out);
  return true;
}

void MappedFile::Release() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

MappedFile::~MappedFile() { Release(); }

bool WriteFileReplacing(const std::string& path, Bytes bytes) {
  static std::atomic<unsigned> counter{0};
  const std::string temporary = path + ".icotake-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(counter++);
  Handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  bool written = true;
  while (written && !bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD done = 0;
    written = WriteFile(file.get(), bytes.data(), chunk, &done, nullptr) && done == chunk;
    bytes = bytes.subspan(chunk);
  }
  const bool closed = file.Close();
  if (written && closed &&
      MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  DeleteFileA(temporary.c_str());
  return false;
}

}  // namespace icotake
