#pragma once
// The drop object 拖放对象1: a child window of the main window that is never shown and that keeps
// the drop object's switches. The OLE drop target that receives what is dragged onto the main
// window (shell/) is registered for it by OnWindowCreated and raises its events through
// MainWindow::RaiseEvent; this side only gives it a window and its settings.

#include <windows.h>

#include "app/form.h"

namespace icotake {

bool RegisterDropObjectClass(HINSTANCE instance);

struct DropObject {
  std::size_t entry = 0;  // its index in the form, the source of its events
  HWND window = nullptr;
  DropTargetSettings settings{};
};

}  // namespace icotake
