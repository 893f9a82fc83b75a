#pragma once
// MainWindow: the program's one window, built from its form description, with the event dispatch
// that runs the bound handlers and the keyboard handling that the message loop applies first.

#include <windows.h>

#include <memory>
#include <vector>

#include "app/form.h"
#include "app/text.h"
#include "shell/drop_object.h"

namespace icotake {

class MainWindow;

// Runs one handler with the event's text (absent for events without one).
using HandlerRunner = void (*)(MainWindow& window, Handler handler, const Text& text);

class MainWindow {
 public:
  MainWindow(Form form, HandlerRunner runHandler);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the classes, creates the window and its controls hidden, stacks and shows the
  // controls, raises the created event, then shows the window. False when a window could not be
  // created.
  bool Build(HINSTANCE instance);

  // The loop hands every message here before translating it: true when the keyboard handling
  // has used it up.
  bool HandleKeyboard(const MSG& message);

  // Runs the handler bound to event `event` of the entry, if any, unless the program is ending.
  void RaiseEvent(std::size_t entry, std::int32_t event, const Text& text = std::nullopt);

  HWND handle() const { return window_; }
  Form form() const { return form_; }
  // The drop object of that name, or nullptr when it does not exist: never created (its stored
  // data refused, its window not made) or gone with the window.
  DropObject* FindDropObject(std::string_view name) const;

  // The window of a control, or nullptr for an entry without one.
  HWND ControlWindow(std::size_t entry) const;
  // FatalError when no control has that name.
  HWND ControlWindow(std::string_view name) const;

  // Operations for the handlers; each names its control.
  void SetControlVisible(std::string_view name);
  Text ReadEditBoxText(std::string_view name) const;  // the whole content; absent when empty
  void SetEditBoxText(std::string_view name, const Text& text);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool RegisterWindowClass(HINSTANCE instance) const;
  bool CreateMainWindow(HINSTANCE instance);
  bool CreateControl(HINSTANCE instance, std::size_t entry);
  void LoadProgramIcon(HINSTANCE instance);
  std::optional<std::size_t> EntryOfWindow(HWND window) const;
  void MoveFocus(bool forward);
  void FocusFirstControl();
  void ClickDefaultButton();
  bool FocusedControlClaims(WPARAM key) const;

  Form form_;
  HandlerRunner runHandler_;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;  // by entry index; [0] is the window itself
  std::vector<bool> visible_;   // the recorded visible flag of every entry
  std::vector<std::size_t> focusOrder_;
  std::unique_ptr<DropObject> dropObject_;  // the form has one
  HWND lastFocus_ = nullptr;
  HFONT font_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HBRUSH editBackground_ = nullptr;

  friend void DestroyProgramIcons(MainWindow& window);
};

// Destroys the two icon handles (the window no longer shows them once it is gone or the process
// ends). Safe to call twice.
void DestroyProgramIcons(MainWindow& window);

}  // namespace icotake
