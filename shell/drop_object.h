#pragma once
// The drop object (kind DropTarget): a control of the main window that lets items be dragged onto
// it from other programs and raises one event per dropped format, through the window's dispatch.
// It owns its WindowDropTarget and a child window that is never shown, whose destruction with
// the main window ends the registration.

#include <windows.h>

#include <memory>

#include "base/byte_reader.h"
#include "shell/drop_events.h"
#include "shell/drop_switches.h"
#include "shell/drop_target.h"

namespace icotake {

// The class of the drop object's child window.
inline constexpr char kDropObjectClass[] = "IcotakeDropObject";

// The child window's place in the parent's client area, as the form gives it.
struct DropObjectPlace {
  int left = 0, top = 0, width = 0, height = 0;
};

class DropObject {
 public:
  // Nothing when the property data is refused (a version above 1) or the child window cannot be
  // created. Nothing is registered with OLE here.
  static std::unique_ptr<DropObject> Create(HWND parentWindow, const DropObjectPlace& place,
                                            Bytes propertyData, DropEventOwner owner);

  DropObject(const DropObject&) = delete;
  DropObject& operator=(const DropObject&) = delete;
  // Destroys the child window if it is still there, which ends the registration.
  ~DropObject();

  // False once the child window is gone (with the main window): the drop object no longer exists
  // for the program, only this shell of it until its owner lets it go.
  bool exists() const { return window_ != nullptr; }

  HWND window() const { return window_; }
  HWND parentWindow() const { return parentWindow_; }
  HWND registeredWindow() const { return registeredWindow_; }

  // The switches as the control's properties; a value written counts from the next DragEnter and
  // Drop on.
  std::int32_t GetSwitch(DropSwitch which) const { return switches_.get(which); }
  void SetSwitch(DropSwitch which, std::int32_t value);

  // For tests, which look at the target's reference count and drive it directly. Null once the
  // drop object no longer exists.
  WindowDropTarget* target() const { return target_.Get(); }

 private:
  friend bool RegisterDropWindow(DropObject* dropObject, HWND windowHandle);

  DropObject(HWND parentWindow, DropSwitches switches, Microsoft::WRL::ComPtr<WindowDropTarget> target);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnWindowDestroyed();

  HWND parentWindow_;
  HWND window_ = nullptr;
  HWND registeredWindow_ = nullptr;
  bool registrationSpent_ = false;  // also after a call with the handle 0
  DropSwitches switches_;
  Microsoft::WRL::ComPtr<WindowDropTarget> target_;
};

// Registers the drop object's WindowDropTarget as the OLE drop target of windowHandle, once per
// drop object: a later call answers false and registers nothing, even after a failed first one.
// True exactly when RegisterDragDrop answered S_OK. A drop object that does not exist (never
// created, or gone with its window) is a FatalError.
bool RegisterDropWindow(DropObject* dropObject, HWND windowHandle);

}  // namespace icotake
