#pragma once
// The shell-link file format (".lnk"), read from bytes: the header, the link target ID list, the
// link info with its local and network paths, the string data (ANSI or UTF-16) and the extra
// data blocks. A pure parser; shell_link_file.cpp opens the file.
//
// Texts come out as UTF-16, as the shell-link object keeps them; ANSI strings are decoded from
// the ANSI code page (base/text_encoding.h). Every string ends at its first NUL, as the object's
// C strings do.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_reader.h"

namespace icotake {

// LinkFlags of the header.
inline constexpr std::uint32_t kHasLinkTargetIdList = 0x00000001;
inline constexpr std::uint32_t kHasLinkInfo = 0x00000002;
inline constexpr std::uint32_t kHasName = 0x00000004;
inline constexpr std::uint32_t kHasRelativePath = 0x00000008;
inline constexpr std::uint32_t kHasWorkingDir = 0x00000010;
inline constexpr std::uint32_t kHasArguments = 0x00000020;
inline constexpr std::uint32_t kHasIconLocation = 0x00000040;
inline constexpr std::uint32_t kIsUnicode = 0x00000080;
inline constexpr std::uint32_t kHasExpString = 0x00000200;
inline constexpr std::uint32_t kHasLogo3Id = 0x00000800;
inline constexpr std::uint32_t kHasDarwinId = 0x00001000;

// Signatures of the extra data blocks that the reader keeps.
inline constexpr std::uint32_t kEnvironmentVariableBlock = 0xA0000001;
inline constexpr std::uint32_t kDarwinBlock = 0xA0000006;
inline constexpr std::uint32_t kIconEnvironmentBlock = 0xA0000007;
inline constexpr std::uint32_t kKnownFolderBlock = 0xA000000B;

inline constexpr std::size_t kShellLinkHeaderSize = 0x4C;
inline constexpr std::size_t kLinkInfoHeaderSize = 0x1C;  // without the Unicode offsets
inline constexpr std::size_t kAdvertiseBlockSize = 0x314;

using Guid = std::array<std::uint8_t, 16>;  // as stored: Data1 to Data3 little-endian

// {00021401-0000-0000-C000-000000000046}
inline constexpr Guid kShellLinkClassId = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

struct LinkInfo {
  std::uint32_t flags = 0;  // 1: volume and local base path; 2: network link and suffix
  // The local base path, read where its offset points whatever the flags say, as the shell-link
  // object reads it; nothing when the offset is 0 or lies outside the structure.
  std::optional<std::u16string> localBasePath;
  std::optional<std::u16string> localBasePathUnicode;  // in a header of 0x24 bytes or more
  std::optional<std::u16string> networkName;           // "\\server\share"
  std::u16string commonPathSuffix;                      // Unicode form preferred when present
};

struct ShellLink {
  std::uint32_t flags = 0;
  std::uint32_t fileAttributes = 0;
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 0;  // as stored
  std::uint16_t hotKey = 0;

  std::vector<std::vector<std::uint8_t>> idList;  // the items, each with its size field
  std::optional<LinkInfo> linkInfo;

  std::optional<std::u16string> name;  // the description
  std::optional<std::u16string> relativePath;
  std::optional<std::u16string> workingDir;
  std::optional<std::u16string> arguments;
  std::optional<std::u16string> iconLocation;

  // An advertised (installer) shortcut: it names a product or component, not a file.
  bool advertised = false;
  std::optional<std::u16string> environmentTarget;  // "%windir%\notepad.exe"
  std::optional<Guid> knownFolder;
};

// Nothing when the bytes are not a shell link, or are cut short anywhere before the extra data.
// The extra data blocks are read as far as they are well formed; a broken block ends them
// without failing the link, since the shell-link object does not depend on them either.
std::optional<ShellLink> ParseShellLink(Bytes bytes);

// What the shell-link object answers for the target path (IShellLink::GetPath): the link info's
// local base path, or the stored relative path when there is none; nothing for an advertised
// shortcut. The ID list, the network path and the environment block are not consulted.
std::u16string ShellLinkTargetPath(const ShellLink& link);

// The show command that the object answers: 3 and 7 as stored, every other value as 1.
std::int32_t ShellLinkShowCommand(const ShellLink& link);

// The path that the link info describes, as a reader of the format shows it: the local base
// path (Unicode form preferred) followed by the common path suffix.
std::optional<std::u16string> LinkInfoLocalPath(const LinkInfo& info);
// The network name, a backslash where needed, and the common path suffix.
std::optional<std::u16string> LinkInfoNetworkPath(const LinkInfo& info);

}  // namespace icotake
