#include "shell/drop_switches.h"

namespace icotake {

std::optional<DropSwitches> LoadDropSwitches(Bytes propertyData) {
  DropSwitches switches;
  if (propertyData.empty()) return switches;
  ByteReader reader(propertyData);
  const std::uint32_t version = reader.U32();
  for (std::int32_t& value : switches.values) value = reader.I32();
  // Bytes after the fifth value belong to no version that we know; they are not looked at.
  if (!reader.ok() || version > kDropPropertyVersion) return std::nullopt;
  return switches;
}

std::array<std::uint8_t, kDropPropertySize> StoreDropSwitches(const DropSwitches& switches) {
  std::array<std::uint8_t, kDropPropertySize> bytes{};
  const auto put = [&](std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  put(0, kDropPropertyVersion);
  for (std::size_t i = 0; i < switches.values.size(); ++i) {
    put(4 + 4 * i, static_cast<std::uint32_t>(switches.values[i]));
  }
  return bytes;
}

}  // namespace icotake
