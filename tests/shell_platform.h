#pragma once
// What the shortcut tests need from the platform: OLE for the system's shell-link object, the
// backends there are to test, and (on Windows) shortcuts written by the shell-link object itself.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "shell/shortcut.h"

namespace icotake::test {

// What the program's start-up does for the shell-link object, done by a test: OLE initialised on
// the test's thread while this lives. Nothing where there is no OLE.
class OleApartment {
 public:
  OleApartment();
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  ~OleApartment();

 private:
  bool initialised_ = false;
};

// True under Wine, whose shell-link object differs from Windows' in known ways.
bool RunningUnderWine();

struct ShortcutBackend {
  std::string name;
  ShellLinkLoader load;
};
inline void PrintTo(const ShortcutBackend& backend, std::ostream* out) { *out << backend.name; }

// Our reader everywhere; on Windows also the system's shell-link object.
std::vector<ShortcutBackend> ShortcutBackends();

// What a shortcut is given through the IShellLinkA setters; texts in the ANSI code page.
struct ShortcutSettings {
  std::string path = {};
  std::string arguments = {};       // SetArguments only when not empty, as for the rest
  std::string workingFolder = {};
  std::string iconPath = {};
  std::int32_t iconIndex = 0;
  std::int32_t showCommand = 0;  // SetShowCmd only when not 0
  std::uint16_t hotKey = 0;
  std::string description = {};
};

// Writes the shortcut with the system's shell-link object (IShellLinkA setters, then
// IPersistFile::Save). Windows builds only; false when any step fails.
bool SaveWithShellLinkObject(const std::string& shortcutPath, const ShortcutSettings& settings);

}  // namespace icotake::test
