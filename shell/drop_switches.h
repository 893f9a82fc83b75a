#pragma once
// The drop object's four switches, and the property data that its entry in the window's form ends
// with: 20 bytes, five 32-bit little-endian values (version, then the switches in switch order).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/byte_reader.h"

namespace icotake {

// In the order in which the form stores them; each stands for one clipboard format and one event.
enum class DropSwitch : std::size_t { AcceptText, AcceptHtml, AcceptUrl, AcceptFiles };

struct DropSwitches {
  // Each switch is a 32-bit integer read as a boolean (0 off, anything else on). The value is
  // kept as written, so that reading the property back gives what was written.
  std::array<std::int32_t, 4> values{};

  std::int32_t get(DropSwitch which) const { return values[static_cast<std::size_t>(which)]; }
  void set(DropSwitch which, std::int32_t value) { values[static_cast<std::size_t>(which)] = value; }
  bool on(DropSwitch which) const { return get(which) != 0; }
};

inline constexpr std::uint32_t kDropPropertyVersion = 1;
inline constexpr std::size_t kDropPropertySize = 20;

// The switches that the property data holds: all off when it is absent or empty. Nothing (the drop
// object is then not created) for a version above 1, and for data cut short of its 20 bytes, which
// no writer of the form produces.
std::optional<DropSwitches> LoadDropSwitches(Bytes propertyData);

// The property data for the switches, version 1.
std::array<std::uint8_t, kDropPropertySize> StoreDropSwitches(const DropSwitches& switches);

}  // namespace icotake
