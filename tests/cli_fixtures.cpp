#include "tests/cli_fixtures.h"

#include <string_view>

#include "tests/pe_builder.h"

namespace icotake::test {

ByteVector AppModule() {
  return PeBuilder()
      .AddIconGroup(std::string("ICON_MAIN"), {BitmapImage(32, 32, 4, 1), BitmapImage(16, 16, 4, 2)}, 1)
      .AddIconGroup(std::uint16_t{2}, {BitmapImage(32, 32, 8, 3)}, 3, 0x0000)
      .AddIconGroup(std::uint16_t{2}, {BitmapImage(16, 16, 32, 4)}, 4, 0x0407)
      .AddIconGroup(std::uint16_t{5}, {PngImage(256, 256)}, 5)
      .Build();
}

ByteVector Module64() {
  return PeBuilder().AddIconGroup(std::uint16_t{1}, {BitmapImage(48, 48, 32, 5)}, 1).Build(true);
}

ByteVector ModuleWithMissingIcon() {
  return PeBuilder()
      .Add(kIconResource, std::uint16_t{1}, BitmapImage(16, 16, 4))
      .Add(kGroupIconResource, std::uint16_t{1}, GroupResource({1, 9}))
      .Build();
}

ByteVector TruncatedModule() {
  ByteVector module = AppModule();
  Put16(module, kResourceFileOffset + 14, 0xFFFF);  // the root's count of numbered entries
  return module;
}

ByteVector ModuleWithoutGroups() {
  return PeBuilder().Add(kIconResource, std::uint16_t{1}, BitmapImage(16, 16, 4)).Build();
}

ByteVector DosProgram() {
  ByteVector program(128, 0);
  program[0] = 'M';
  program[1] = 'Z';
  Put32(program, 0x3C, 0x40);  // e_lfanew points at zeros, not at "PE\0\0"
  return program;
}

ByteVector TwoImageIconFile() {
  return IconFileBytes({BitmapImage(32, 32, 4, 6), BitmapImage(16, 16, 4, 7)});
}

ByteVector TruncatedIconFile() {
  ByteVector file = IconFileBytes({BitmapImage(16, 16, 4)});
  Put16(file, 4, 3);
  file.resize(6 + 16);
  return file;
}

ByteVector ShortcutHeader() {
  ByteVector link(0x4C, 0);
  Put32(link, 0, 0x4C);
  const std::uint8_t classId[] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  std::copy(std::begin(classId), std::end(classId), link.begin() + 4);
  return link;
}

std::vector<std::pair<std::string, ByteVector>> CliFixtureFiles() {
  const std::string_view text = "not an icon in sight\n";
  const ByteVector readme(text.begin(), text.end());
  return {
      {"app.dll", AppModule()},
      {"control.cpl", Module64()},
      {"renamed.txt", AppModule()},
      {"missing-icon.dll", ModuleWithMissingIcon()},
      {"truncated.dll", TruncatedModule()},
      {"noicons.dll", ModuleWithoutGroups()},
      {"dos.exe", DosProgram()},
      {"readme.txt", readme},
      {"empty.dll", {}},
      {"two.ico", TwoImageIconFile()},
      {"truncated.ico", TruncatedIconFile()},
      {"link.lnk", ShortcutHeader()},
      {"tree/a/app.dll", AppModule()},
      {"tree/b/app.dll", Module64()},
      {"tree/b/readme.txt", readme},
      {"tree/noicons.dll", ModuleWithoutGroups()},
      {"tree/two.ico", TwoImageIconFile()},
      {"plain/readme.txt", readme},
  };
}

}  // namespace icotake::test
