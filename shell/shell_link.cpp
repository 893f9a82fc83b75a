#include "shell/shell_link.h"

#include <algorithm>

#include "base/text_encoding.h"

namespace icotake {
namespace {

constexpr std::size_t kLinkInfoUnicodeHeaderSize = 0x24;
constexpr std::size_t kNetworkLinkHeaderSize = 0x14;
constexpr std::size_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kKnownFolderBlockSize = 0x1C;
constexpr std::size_t kAnsiTargetSize = 260;

// An ANSI string from offset up to its NUL or the end of bytes.
std::u16string AnsiStringAt(Bytes bytes, std::size_t offset) {
  const Bytes rest = bytes.subspan(offset);
  const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(rest.data()),
                              static_cast<std::size_t>(end - rest.begin()));
  return Utf16FromAnsiCodePage(text);
}

// A UTF-16 string from offset up to its NUL or the last whole code unit of bytes.
std::u16string Utf16StringAt(Bytes bytes, std::size_t offset) {
  std::u16string text;
  for (std::size_t i = offset; i < bytes.size() && bytes.size() - i >= 2; i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

// A StringData entry: a count of characters, then that many UTF-16 units or ANSI bytes.
std::optional<std::u16string> ReadString(ByteReader& r, bool unicode) {
  const std::uint16_t count = r.U16();
  const Bytes bytes = r.Take(unicode ? std::uint64_t{count} * 2 : count);
  if (!r.ok()) return std::nullopt;
  if (unicode) return Utf16StringAt(bytes, 0);
  return AnsiStringAt(bytes, 0);
}

// Offsets inside the link info count from its start; 0 means "absent", as does an offset past the
// end (the shell-link object treats it so rather than failing the link).
std::optional<std::size_t> OffsetIn(Bytes info, std::uint32_t offset) {
  if (offset == 0 || offset >= info.size()) return std::nullopt;
  return offset;
}

std::optional<LinkInfo> ParseLinkInfo(Bytes info) {
  ByteReader r(info);
  LinkInfo result;
  r.Skip(4);
  const std::uint32_t headerSize = r.U32();
  result.flags = r.U32();
  r.Skip(4);  // the volume ID, which names no path
  const std::uint32_t localOffset = r.U32();
  const std::uint32_t networkOffset = r.U32();
  const std::uint32_t suffixOffset = r.U32();
  if (!r.ok()) return std::nullopt;

  std::uint32_t localUnicodeOffset = 0;
  std::uint32_t suffixUnicodeOffset = 0;
  if (headerSize >= kLinkInfoUnicodeHeaderSize && info.size() >= kLinkInfoUnicodeHeaderSize) {
    localUnicodeOffset = r.U32();
    suffixUnicodeOffset = r.U32();
  }

  if (const auto at = OffsetIn(info, localOffset)) result.localBasePath = AnsiStringAt(info, *at);
  if (const auto at = OffsetIn(info, localUnicodeOffset)) {
    result.localBasePathUnicode = Utf16StringAt(info, *at);
  }
  if (const auto unicodeAt = OffsetIn(info, suffixUnicodeOffset)) {
    result.commonPathSuffix = Utf16StringAt(info, *unicodeAt);
  } else if (const auto ansiAt = OffsetIn(info, suffixOffset)) {
    result.commonPathSuffix = AnsiStringAt(info, *ansiAt);
  }

  if (const auto at = OffsetIn(info, networkOffset)) {
    // CommonNetworkRelativeLink: its own size, flags, then offsets from its own start.
    const Bytes link = info.subspan(*at);
    ByteReader n(link);
    n.Skip(8);
    const std::uint32_t nameOffset = n.U32();
    n.Skip(8);
    const std::uint32_t nameUnicodeOffset = nameOffset > kNetworkLinkHeaderSize ? n.U32() : 0;
    if (n.ok()) {
      if (const auto unicodeAt = OffsetIn(link, nameUnicodeOffset)) {
        result.networkName = Utf16StringAt(link, *unicodeAt);
      } else if (const auto ansiAt = OffsetIn(link, nameOffset)) {
        result.networkName = AnsiStringAt(link, *ansiAt);
      }
    }
  }
  return result;
}

// The block of an advertised shortcut, where the shell-link object expects it: right after the
// strings, of exactly its fixed size, with a signature of the extra-block kind.
bool ReadAdvertiseBlock(ByteReader& r) {
  const std::uint32_t size = r.U32();
  if (!r.ok() || size != kAdvertiseBlockSize) return false;
  const Bytes block = r.Take(size - 4);
  if (!r.ok()) return false;
  return (LittleOrZero(block, 0, 4) & 0xFFFF0000) == 0xA0000000;
}

void ReadExtraData(ByteReader& r, ShellLink& link) {
  while (r.remaining() >= 4) {
    const std::uint32_t size = r.U32();
    if (size < 8 || size - 4 > r.remaining()) return;  // the terminal block, or a broken one
    const Bytes block = r.Take(size - 4);
    const std::uint32_t signature = LittleOrZero(block, 0, 4);
    if (signature == kEnvironmentVariableBlock && size == kEnvironmentBlockSize) {
      std::u16string target = Utf16StringAt(block.subspan(4 + kAnsiTargetSize), 0);
      if (target.empty()) target = AnsiStringAt(block.first(4 + kAnsiTargetSize), 4);
      link.environmentTarget = std::move(target);
    } else if (signature == kKnownFolderBlock && size == kKnownFolderBlockSize) {
      Guid id{};
      std::copy_n(block.begin() + 4, id.size(), id.begin());
      link.knownFolder = id;
    }
  }
}

}  // namespace

std::optional<ShellLink> ParseShellLink(Bytes bytes) {
  ByteReader r(bytes);
  ShellLink link;
  const std::uint32_t headerSize = r.U32();
  const Bytes classId = r.Take(16);
  link.flags = r.U32();
  link.fileAttributes = r.U32();
  r.Skip(3 * 8 + 4);  // times and file size of the target
  link.iconIndex = r.I32();
  link.showCommand = r.U32();
  link.hotKey = r.U16();
  r.Skip(10);
  if (!r.ok() || headerSize != kShellLinkHeaderSize ||
      !std::equal(classId.begin(), classId.end(), kShellLinkClassId.begin())) {
    return std::nullopt;
  }

  if (link.flags & kHasLinkTargetIdList) {
    const std::uint16_t size = r.U16();
    ByteReader items(r.Take(size));
    if (!r.ok()) return std::nullopt;
    // The items matter to no text here; a malformed list ends early without failing the link.
    while (items.remaining() >= 2) {
      const std::size_t start = items.offset();
      const std::uint16_t itemSize = items.U16();
      if (itemSize < 2 || itemSize - 2u > items.remaining()) break;
      items.Seek(start);
      const Bytes item = items.Take(itemSize);
      link.idList.emplace_back(item.begin(), item.end());
    }
  }

  if (link.flags & kHasLinkInfo) {
    const std::size_t start = r.offset();
    const std::uint32_t size = r.U32();
    if (!r.ok() || size < kLinkInfoHeaderSize) return std::nullopt;
    r.Seek(start);
    const Bytes info = r.Take(size);
    if (!r.ok()) return std::nullopt;
    link.linkInfo = ParseLinkInfo(info);
    if (!link.linkInfo) return std::nullopt;
  }

  const bool unicode = (link.flags & kIsUnicode) != 0;
  const std::pair<std::uint32_t, std::optional<std::u16string>*> strings[] = {
      {kHasName, &link.name},
      {kHasRelativePath, &link.relativePath},
      {kHasWorkingDir, &link.workingDir},
      {kHasArguments, &link.arguments},
      {kHasIconLocation, &link.iconLocation},
  };
  for (const auto& [flag, text] : strings) {
    if (!(link.flags & flag)) continue;
    *text = ReadString(r, unicode);
    if (!*text) return std::nullopt;
  }

  for (const std::uint32_t flag : {kHasLogo3Id, kHasDarwinId}) {
    if (!(link.flags & flag)) continue;
    if (!ReadAdvertiseBlock(r)) return std::nullopt;
    link.advertised = true;
  }

  ReadExtraData(r, link);
  return link;
}

std::u16string ShellLinkTargetPath(const ShellLink& link) {
  if (link.advertised) return {};
  if (link.linkInfo && link.linkInfo->localBasePath) return *link.linkInfo->localBasePath;
  if (link.relativePath) return *link.relativePath;
  return {};
}

std::int32_t ShellLinkShowCommand(const ShellLink& link) {
  constexpr std::uint32_t kShowMaximized = 3;
  constexpr std::uint32_t kShowMinNoActive = 7;
  if (link.showCommand == kShowMaximized || link.showCommand == kShowMinNoActive) {
    return static_cast<std::int32_t>(link.showCommand);
  }
  return 1;
}

std::optional<std::u16string> LinkInfoLocalPath(const LinkInfo& info) {
  const auto& base = info.localBasePathUnicode ? info.localBasePathUnicode : info.localBasePath;
  if (!base) return std::nullopt;
  return *base + info.commonPathSuffix;
}

std::optional<std::u16string> LinkInfoNetworkPath(const LinkInfo& info) {
  if (!info.networkName) return std::nullopt;
  std::u16string path = *info.networkName;
  if (!info.commonPathSuffix.empty() && !path.empty() && path.back() != u'\\') path += u'\\';
  return path + info.commonPathSuffix;
}

}  // namespace icotake
