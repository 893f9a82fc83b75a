#pragma once
// The form description of the main window: plain data that lists the window and its controls with
// their geometry, flags, texts and settings, and binds events, by number, to handlers. The window
// is built from it (main_window_win32.cpp); nothing here depends on a platform.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace icotake {

enum class ControlKind { Window, Button, Label, EditBox, DropTarget };

// The program's handlers, named in the bindings; the window maps each to its code.
enum class Handler { OnWindowCreated, OnFilesDropped, OnExtractClicked, OnOpenSiteClicked };

// Event numbers, per kind.
inline constexpr std::int32_t kWindowCreated = 0;
inline constexpr std::int32_t kButtonClicked = 0;
inline constexpr std::int32_t kFilesDropped = 3;

struct EventBinding {
  std::int32_t event;
  Handler handler;
};

// FormEntry::flags
inline constexpr std::uint32_t kVisible = 1u << 0;
inline constexpr std::uint32_t kDisabled = 1u << 1;
inline constexpr std::uint32_t kTabStop = 1u << 2;

struct Rgb {
  std::uint8_t red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class HorizontalAlignment { Left, Centre, Right };
enum class VerticalAlignment { Top, Centre, Bottom };
enum class Cursor { Arrow };

struct WindowSettings {
  bool fixedDialogFrame;
  bool systemMenu;
  bool minimizeBox;
  bool maximizeBox;
  bool movable;
  bool centred;  // the stored left and top are then not used
  bool escCloses;
  bool enterMovesFocus;
  bool f1Help;
  bool inTaskbar;
  bool alwaysOnTop;
};

struct ButtonSettings {
  bool defaultButton;
  HorizontalAlignment horizontal;
  VerticalAlignment vertical;
};

struct EditBoxSettings {
  bool sunkenBorder;
  Rgb textColour;
  Rgb backgroundColour;
  bool multiLine;
  bool readOnly;
  bool password;
  std::int32_t maximumLength;  // 0: the system's maximum
  bool hideSelection;
  std::int32_t selectionStart;
  std::int32_t selectionLength;
};

struct LabelSettings {
  Rgb textColour;
  HorizontalAlignment horizontal;
  VerticalAlignment vertical;  // no effect while wordWrap is on
  bool wordWrap;
};

// The drop object's stored property data, 20 bytes: version 1, then AcceptText, AcceptHtml,
// AcceptUrl and AcceptFiles as 32-bit little-endian values (shell/drop_switches.h reads them).
struct DropTargetSettings {
  std::span<const std::uint8_t> propertyData;
};

using KindSettings = std::variant<WindowSettings, ButtonSettings, LabelSettings, EditBoxSettings, DropTargetSettings>;

struct FormEntry {
  ControlKind kind;
  std::string_view name;  // empty for the window
  std::string_view remark;
  // Pixels; a control's relative to the window's client area, the window's its outer rectangle.
  std::int32_t left, top, width, height;
  std::uint32_t flags;
  std::int32_t focusOrder;
  std::string_view text;
  std::string_view tag;
  Cursor cursor;
  std::span<const EventBinding> bindings;
  KindSettings settings;

  bool Has(std::uint32_t flag) const { return (flags & flag) != 0; }
  template <class Settings>
  const Settings* As() const { return std::get_if<Settings>(&settings); }
};

// The window's entry first, then its controls; the list order is also the controls' stacking
// order, top first.
using Form = std::span<const FormEntry>;

// The main window's form, or nothing when the compiled description does not hold together.
std::optional<Form> LoadMainForm();

// A form that a window can be built from: the first entry and only it is the window, every
// control has a name of its own and settings of its kind, and every binding names an event that
// its kind raises.
bool IsWellFormed(Form form);

// Indices of the entries that Tab visits, in order: visible, enabled tab stops sorted by
// focusOrder, a later list entry first among equal keys.
std::vector<std::size_t> FocusOrder(Form form);

// The entry of that name, if any.
std::optional<std::size_t> FindEntry(Form form, std::string_view name);

// The handler bound to event `event` of an entry, if any.
std::optional<Handler> BoundHandler(const FormEntry& entry, std::int32_t event);

}  // namespace icotake
