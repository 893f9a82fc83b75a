#include "tests/shell_link_builder.h"

#include <algorithm>

#include "base/text_encoding.h"

namespace icotake::test {
namespace {

void Append(ByteVector& out, const ByteVector& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void Append16(ByteVector& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Append32(ByteVector& out, std::uint32_t value) {
  Append16(out, static_cast<std::uint16_t>(value));
  Append16(out, static_cast<std::uint16_t>(value >> 16));
}

void AppendAnsi(ByteVector& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void AppendUnicode(ByteVector& out, const std::string& text) {
  for (const char16_t unit : Utf16FromAnsiCodePage(text)) Append16(out, unit);
  Append16(out, 0);
}

// {20D04FE0-3AEA-1069-A2D8-08002B30309D}, My Computer
constexpr std::uint8_t kMyComputer[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                          0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

}  // namespace

std::vector<ByteVector> FileIdList(const std::string& drive, const std::vector<std::string>& components) {
  std::vector<ByteVector> items;
  ByteVector root = {0x14, 0x00, 0x1F, 0x50};
  root.insert(root.end(), std::begin(kMyComputer), std::end(kMyComputer));
  items.push_back(root);

  ByteVector volume = {0x00, 0x00, 0x2F};
  volume.insert(volume.end(), drive.begin(), drive.end());
  volume.resize(0x19, 0);
  Put16(volume, 0, static_cast<std::uint16_t>(volume.size()));
  items.push_back(volume);

  for (std::size_t i = 0; i < components.size(); ++i) {
    const bool last = i + 1 == components.size();
    ByteVector item = {0x00, 0x00, static_cast<std::uint8_t>(last ? 0x32 : 0x31), 0x00};
    Append32(item, 0);          // file size
    Append32(item, 0);          // modification time
    Append16(item, last ? 0x20 : 0x10);
    AppendAnsi(item, components[i]);
    if (item.size() % 2) item.push_back(0);
    Put16(item, 0, static_cast<std::uint16_t>(item.size()));
    items.push_back(item);
  }
  return items;
}

ByteVector EnvironmentBlock(const std::string& target) {
  ByteVector block;
  Append32(block, 0x314);
  Append32(block, kEnvironmentVariableBlock);
  ByteVector ansi(target.begin(), target.end());
  ansi.resize(260, 0);
  Append(block, ansi);
  ByteVector unicode;
  AppendUnicode(unicode, target);
  unicode.resize(520, 0);
  Append(block, unicode);
  return block;
}

ByteVector KnownFolderBlock(const Guid& id, std::uint32_t offset) {
  ByteVector block;
  Append32(block, 0x1C);
  Append32(block, kKnownFolderBlock);
  block.insert(block.end(), id.begin(), id.end());
  Append32(block, offset);
  return block;
}

ByteVector DarwinBlock(const std::string& id) {
  ByteVector block = EnvironmentBlock(id);
  Put32(block, 4, kDarwinBlock);
  return block;
}

ShellLinkBuilder& ShellLinkBuilder::LocalPath(const std::string& base, const std::string& suffix,
                                              const std::optional<std::string>& unicodeBase) {
  localBase_ = base;
  localSuffix_ = suffix;
  unicodeBase_ = unicodeBase;
  return *this;
}

ShellLinkBuilder& ShellLinkBuilder::NetworkPath(const std::string& netName, const std::string& suffix) {
  netName_ = netName;
  netSuffix_ = suffix;
  return *this;
}

ByteVector ShellLinkBuilder::LinkInfoBytes() const {
  const std::uint32_t headerSize = unicodeBase_ ? 0x24 : 0x1C;
  ByteVector body;
  std::uint32_t flags = 0, volumeOffset = 0, localOffset = 0, networkOffset = 0;
  if (localBase_) {
    flags |= 1;
    volumeOffset = headerSize + static_cast<std::uint32_t>(body.size());
    Append32(body, 0x11);        // VolumeID: size, drive type (fixed), serial, label offset
    Append32(body, 3);
    Append32(body, 0x1234ABCD);
    Append32(body, 0x10);
    body.push_back(0);           // the empty label
    localOffset = headerSize + static_cast<std::uint32_t>(body.size());
    AppendAnsi(body, *localBase_);
  }
  if (netName_) {
    flags |= 2;
    networkOffset = headerSize + static_cast<std::uint32_t>(body.size());
    ByteVector link;
    Append32(link, static_cast<std::uint32_t>(0x14 + netName_->size() + 1));
    Append32(link, 2);           // ValidNetType
    Append32(link, 0x14);        // the net name follows the header
    Append32(link, 0);
    Append32(link, 0x00020000);  // WNNC_NET_LANMAN
    AppendAnsi(link, *netName_);
    Append(body, link);
  }
  const std::string suffix = localSuffix_ && !localSuffix_->empty() ? *localSuffix_ : netSuffix_.value_or("");
  const std::uint32_t suffixOffset = headerSize + static_cast<std::uint32_t>(body.size());
  AppendAnsi(body, suffix);
  std::uint32_t unicodeOffset = 0, unicodeSuffixOffset = 0;
  if (unicodeBase_) {
    unicodeOffset = headerSize + static_cast<std::uint32_t>(body.size());
    AppendUnicode(body, *unicodeBase_);
    unicodeSuffixOffset = headerSize + static_cast<std::uint32_t>(body.size());
    AppendUnicode(body, suffix);
  }

  ByteVector info;
  Append32(info, headerSize + static_cast<std::uint32_t>(body.size()));
  Append32(info, headerSize);
  Append32(info, flags);
  Append32(info, volumeOffset);
  Append32(info, localOffset);
  Append32(info, networkOffset);
  Append32(info, suffixOffset);
  if (unicodeBase_) {
    Append32(info, unicodeOffset);
    Append32(info, unicodeSuffixOffset);
  }
  Append(info, body);
  return info;
}

ByteVector ShellLinkBuilder::StringBytes(const std::string& text) const {
  ByteVector out;
  if (unicode_) {
    const std::u16string wide = Utf16FromAnsiCodePage(text);
    Append16(out, static_cast<std::uint16_t>(wide.size()));
    for (const char16_t unit : wide) Append16(out, unit);
  } else {
    Append16(out, static_cast<std::uint16_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
  }
  return out;
}

std::size_t ShellLinkBuilder::StringsEnd() const {
  ShellLinkBuilder withoutExtra = *this;
  withoutExtra.extra_.clear();
  return withoutExtra.Build().size() - 4;  // the terminal block
}

ByteVector ShellLinkBuilder::Build() const {
  std::uint32_t flags = extraFlags_;
  if (idList_) flags |= kHasLinkTargetIdList;
  if (localBase_ || netName_) flags |= kHasLinkInfo;
  if (name_) flags |= kHasName;
  if (relativePath_) flags |= kHasRelativePath;
  if (workingDir_) flags |= kHasWorkingDir;
  if (arguments_) flags |= kHasArguments;
  if (iconLocation_) flags |= kHasIconLocation;
  if (unicode_) flags |= kIsUnicode;

  ByteVector out;
  Append32(out, 0x4C);
  out.insert(out.end(), kShellLinkClassId.begin(), kShellLinkClassId.end());
  Append32(out, flags);
  Append32(out, 0x20);  // FILE_ATTRIBUTE_ARCHIVE
  out.resize(out.size() + 3 * 8 + 4, 0);
  Append32(out, static_cast<std::uint32_t>(iconIndex_));
  Append32(out, showCommand_);
  Append16(out, hotKey_);
  out.resize(0x4C, 0);

  if (idList_) {
    ByteVector list;
    for (const ByteVector& item : *idList_) Append(list, item);
    Append16(list, 0);
    Append16(out, static_cast<std::uint16_t>(list.size()));
    Append(out, list);
  }
  if (localBase_ || netName_) Append(out, LinkInfoBytes());
  for (const auto* text : {&name_, &relativePath_, &workingDir_, &arguments_, &iconLocation_}) {
    if (*text) Append(out, StringBytes(**text));
  }
  for (const ByteVector& block : extra_) Append(out, block);
  Append32(out, 0);  // the terminal block
  return out;
}

}  // namespace icotake::test
