#pragma once
// Shell-link files built in code, in the layouts that Windows Explorer writes: a header, an ID
// list of shell items, a link info with a volume and a local base path or a network link, the
// string data, and extra data blocks.
//
// Texts are given as the program's narrow bytes in code page 936 (the ANSI code page of every
// test); Unicode strings are converted from them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/shell_link.h"
#include "tests/fixtures.h"

namespace icotake::test {

// The ID list Explorer writes for C:\a\b.exe: My Computer, the drive, one item per component.
std::vector<ByteVector> FileIdList(const std::string& drive, const std::vector<std::string>& components);

// An environment-variable block (0xA0000001) holding target in its ANSI and Unicode fields.
ByteVector EnvironmentBlock(const std::string& target);
// A known-folder block (0xA000000B).
ByteVector KnownFolderBlock(const Guid& id, std::uint32_t offset);
// The block of an advertised shortcut (0xA0000006), as an installer writes it.
ByteVector DarwinBlock(const std::string& id);

class ShellLinkBuilder {
 public:
  ShellLinkBuilder& Ansi() { unicode_ = false; return *this; }
  ShellLinkBuilder& ShowCommand(std::uint32_t value) { showCommand_ = value; return *this; }
  ShellLinkBuilder& HotKey(std::uint16_t value) { hotKey_ = value; return *this; }
  ShellLinkBuilder& IconIndex(std::int32_t value) { iconIndex_ = value; return *this; }
  ShellLinkBuilder& Flags(std::uint32_t extra) { extraFlags_ |= extra; return *this; }

  ShellLinkBuilder& IdList(std::vector<ByteVector> items) { idList_ = std::move(items); return *this; }
  // Link info with a volume and a local base path; its Unicode form too when unicodeBase is given.
  ShellLinkBuilder& LocalPath(const std::string& base, const std::string& suffix = "",
                              const std::optional<std::string>& unicodeBase = std::nullopt);
  // Link info with a network link (and a local path too when LocalPath was called).
  ShellLinkBuilder& NetworkPath(const std::string& netName, const std::string& suffix = "");

  ShellLinkBuilder& Name(const std::string& text) { name_ = text; return *this; }
  ShellLinkBuilder& RelativePath(const std::string& text) { relativePath_ = text; return *this; }
  ShellLinkBuilder& WorkingDir(const std::string& text) { workingDir_ = text; return *this; }
  ShellLinkBuilder& Arguments(const std::string& text) { arguments_ = text; return *this; }
  ShellLinkBuilder& IconLocation(const std::string& text) { iconLocation_ = text; return *this; }

  ShellLinkBuilder& ExtraBlock(ByteVector block) { extra_.push_back(std::move(block)); return *this; }

  ByteVector Build() const;
  // Where each part ends in the built file: the strings end before the extra data.
  std::size_t StringsEnd() const;

 private:
  ByteVector LinkInfoBytes() const;
  ByteVector StringBytes(const std::string& text) const;

  bool unicode_ = true;
  std::uint32_t showCommand_ = 1;
  std::uint16_t hotKey_ = 0;
  std::int32_t iconIndex_ = 0;
  std::uint32_t extraFlags_ = 0;
  std::optional<std::vector<ByteVector>> idList_;
  std::optional<std::string> localBase_, localSuffix_, unicodeBase_, netName_, netSuffix_;
  std::optional<std::string> name_, relativePath_, workingDir_, arguments_, iconLocation_;
  std::vector<ByteVector> extra_;
};

}  // namespace icotake::test
