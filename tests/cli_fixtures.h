#pragma once
// The files the command line is tried on, built in code: modules with named, numbered and
// multi-language groups, damaged modules and icon files, and files of other kinds.

#include <string>
#include <utility>
#include <vector>

#include "tests/fixtures.h"

namespace icotake::test {

// app.dll (PE32): ICON_MAIN (32x32 and 16x16, 4-bit, in 0x0409), #2 (neutral: 32x32 8-bit;
// 0x0407: 16x16 32-bit), #5 (a 256x256 PNG, 0x0409). Listed in that order.
ByteVector AppModule();
// A PE32+ module with one group, #1: a 48x48 32-bit image.
ByteVector Module64();
// A module whose group #1 names icon #9, which it lacks.
ByteVector ModuleWithMissingIcon();
// app.dll with its root resource directory claiming 0xFFFF entries: truncated at offset 0x200.
ByteVector TruncatedModule();
// A module with resources but no icon group.
ByteVector ModuleWithoutGroups();
// "MZ" and nothing that leads to a PE header.
ByteVector DosProgram();
// An icon file of two images (32x32 4-bit, 16x16 4-bit).
ByteVector TwoImageIconFile();
// An icon file whose header counts three entries but that ends after the first.
ByteVector TruncatedIconFile();
// A shell-link header and nothing more.
ByteVector ShortcutHeader();

// Every file above under a name, plus a copy of app.dll under a misleading name and a folder
// tree for walks: name and bytes, with '/' between folders.
std::vector<std::pair<std::string, ByteVector>> CliFixtureFiles();

}  // namespace icotake::test
