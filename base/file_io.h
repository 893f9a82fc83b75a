#pragma once
// The thin layer that opens, reads and writes files; everything above it works on bytes.
//
// Windows: CreateFileA without sharing, so no other program can open a file while it is open
// here (and one that another program holds open counts as missing). Elsewhere: POSIX.

#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_reader.h"

namespace icotake {

// A whole file mapped read-only: pages are read only as they are touched, so a walk through a
// large module costs what it looks at, not what the module weighs.
class MappedFile {
 public:
  // Nothing when the path is missing, is a folder, or cannot be opened or mapped.
  static std::optional<MappedFile> Open(const std::string& path);

  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  Bytes bytes() const { return {data_, size_}; }

  // Copies part, a range of bytes(), into out (part.size() bytes); false when part is not inside
  // bytes() or the read fails. On POSIX it reads the file rather than touching the mapping: where
  // the mapping's page tables are costly (a virtual machine's), reading a group's images costs a
  // tenth of mapping them in.
  bool CopyOut(Bytes part, std::uint8_t* out) const;

 private:
  MappedFile() = default;
  void Release();

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  int descriptor_ = -1;  // POSIX: kept open for CopyOut
};

// Writes bytes as the whole content of path. The bytes go to a temporary file beside path, which
// replaces path only once every byte is written; on any failure the temporary file is removed and
// an existing file at path stays as it was. True when path now holds the bytes.
bool WriteFileReplacing(const std::string& path, Bytes bytes);

}  // namespace icotake
