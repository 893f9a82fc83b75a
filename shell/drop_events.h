#pragma once
// How the drop object's events leave it: through the window's event dispatch, under the identity
// of the control that raises them. The drop object knows nothing else of the window.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "app/text.h"

namespace icotake {

// The drop object's events, numbered as the form's event table numbers them. Each carries one text.
enum class DropEvent : std::int32_t { TextDropped = 0, HtmlDropped = 1, UrlDropped = 2, FilesDropped = 3 };

// Which control raises an event, as the window's dispatch tells its controls apart.
using ControlIdentity = std::size_t;  // the control's entry in the form

// Runs the handler bound to (control, event number), if there is one, and returns when it has run.
// The text belongs to the drop object and lives until the call returns.
using EventDispatch = std::function<void(ControlIdentity control, std::int32_t eventNumber, const Text& text)>;

struct DropEventOwner {
  ControlIdentity control = 0;
  EventDispatch dispatch;
};

}  // namespace icotake
