#include "app/main_window_win32.h"

#include <algorithm>
#include <string>

#include "app/control_styles_win32.h"
#include "app/ending.h"
#include "app/fatal_error.h"
#include "app/label_win32.h"
#include "app/live_windows_win32.h"
#include "app/program_texts.h"

namespace icotake {
namespace {

constexpr char kProgramIcon[] = "DEFAULT_ICON";

}  // namespace

MainWindow::MainWindow(Form form, HandlerRunner runHandler)
    : form_(form),
      runHandler_(runHandler),
      controls_(form.size(), nullptr),
      visible_(form.size(), false),
      focusOrder_(FocusOrder(form)) {
  for (std::size_t entry = 0; entry < form_.size(); ++entry) visible_[entry] = form_[entry].Has(kVisible);
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  DestroyProgramIcons(*this);
  if (editBackground_ != nullptr) DeleteObject(editBackground_);
}

bool MainWindow::Build(HINSTANCE instance) {
  if (form_.empty() || !RegisterWindowClass(instance) || !RegisterLabelClass(instance)) return false;
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (!CreateMainWindow(instance)) return false;
  for (std::size_t entry = form_.size() - 1; entry >= 1; --entry) {
    if (!CreateControl(instance, entry)) return false;
  }
  // Stacked in list order, the first control on top, whatever order the system gave them.
  HWND above = HWND_TOP;
  for (std::size_t entry = 1; entry < form_.size(); ++entry) {
    if (controls_[entry] == nullptr) continue;  // a drop object that was not created
    SetWindowPos(controls_[entry], above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = controls_[entry];
  }
  for (std::size_t entry = 1; entry < form_.size(); ++entry) {
    // The drop object's window stays hidden, whatever its flag says.
    if (controls_[entry] == nullptr || form_[entry].kind == ControlKind::DropTarget) continue;
    ShowWindow(controls_[entry], visible_[entry] ? SW_SHOWNA : SW_HIDE);
  }
  // The created event runs before the window is first shown: drops are accepted from the start.
  RaiseEvent(0, kWindowCreated);
  if (window_ != nullptr && IsWindow(window_) && visible_[0]) ShowWindow(window_, SW_SHOW);
  return true;
}

bool MainWindow::RegisterWindowClass(HINSTANCE instance) const {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kMainWindowClass;  // no background brush: WM_ERASEBKGND fills it
  return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool MainWindow::CreateMainWindow(HINSTANCE instance) {
  const FormEntry& entry = form_[0];
  const auto* settings = entry.As<WindowSettings>();
  if (settings == nullptr) return false;
  const WindowCreation creation = CreationFor(entry);
  int left = entry.left;
  int top = entry.top;
  if (settings->centred) {
    left = (GetSystemMetrics(SM_CXSCREEN) - entry.width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - entry.height) / 2;
  }
  const std::string title(entry.text);
  // No owner: the window has its own taskbar button.
  CreateWindowExA(creation.exStyle, creation.className, title.c_str(), creation.style, left, top,
                  entry.width, entry.height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;  // set by WM_NCCREATE
  controls_[0] = window_;
  AddLiveWindow(window_);

  RECT outer;
  GetWindowRect(window_, &outer);
  if (outer.right - outer.left != entry.width || outer.bottom - outer.top != entry.height) {
    SetWindowPos(window_, nullptr, 0, 0, entry.width, entry.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!settings->movable) DeleteMenu(GetSystemMenu(window_, FALSE), SC_MOVE, MF_BYCOMMAND);
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  LoadProgramIcon(instance);
  return true;
}

void MainWindow::LoadProgramIcon(HINSTANCE instance) {
  bigIcon_ = static_cast<HICON>(LoadImageA(instance, kProgramIcon, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance, kProgramIcon, IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

bool MainWindow::CreateControl(HINSTANCE instance, std::size_t entry) {
  const FormEntry& control = form_[entry];
  if (const auto* drop = control.As<DropTargetSettings>()) {
    // The drop object makes its own window and raises its events through the dispatch. When its
    // stored data is refused or its window cannot be made it does not exist, and the window goes
    // on without it (registering it is then a FatalError).
    dropObject_ = DropObject::Create(window_, {control.left, control.top, control.width, control.height},
                                     drop->propertyData,
                                     {entry, [this](ControlIdentity source, std::int32_t event, const Text& text) {
                                        RaiseEvent(source, event, text);
                                      }});
    controls_[entry] = dropObject_ ? dropObject_->window() : nullptr;
    return true;
  }
  const WindowCreation creation = CreationFor(control);
  LabelLook look{};
  void* parameter = nullptr;
  if (const auto* label = control.As<LabelSettings>()) {
    look = {ToColorRef(label->textColour), LabelDrawTextFlags(*label)};
    parameter = &look;
  }
  const std::string text(control.text);
  HWND window = CreateWindowExA(creation.exStyle, creation.className, text.c_str(), creation.style,
                                control.left, control.top, control.width, control.height, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry)), instance, parameter);
  if (window == nullptr) return false;
  controls_[entry] = window;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (const auto* edit = control.As<EditBoxSettings>()) {
    SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(edit->maximumLength), 0);
    SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(edit->selectionStart),
                 static_cast<LPARAM>(edit->selectionStart + edit->selectionLength));
    SendMessageA(window, EM_SCROLLCARET, 0, 0);
  }
  return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    std::fill(self->controls_.begin(), self->controls_.end(), nullptr);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CTLCOLOREDIT: {
      const auto entry = EntryOfWindow(reinterpret_cast<HWND>(lParam));
      const EditBoxSettings* edit = entry ? form_[*entry].As<EditBoxSettings>() : nullptr;
      if (edit == nullptr) break;
      auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ToColorRef(edit->textColour));
      SetBkColor(dc, ToColorRef(edit->backgroundColour));
      if (editBackground_ == nullptr) editBackground_ = CreateSolidBrush(ToColorRef(edit->backgroundColour));
      return reinterpret_cast<LRESULT>(editBackground_);
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        const auto entry = EntryOfWindow(reinterpret_cast<HWND>(lParam));
        if (entry && form_[*entry].kind == ControlKind::Button) RaiseEvent(*entry, kButtonClicked);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Remember the focus when the window loses it; DefWindowProcA gives the window the focus
      // when it is activated, and WM_SETFOCUS passes it on.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(window_, lastFocus_)) {
        SetFocus(lastFocus_);
      } else {
        FocusFirstControl();
      }
      return 0;
    case WM_DESTROY:
      RemoveLiveWindow(window_);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

bool MainWindow::HandleKeyboard(const MSG& message) {
  if (window_ == nullptr || message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  const auto* window = form_[0].As<WindowSettings>();
  if (window == nullptr) return false;
  const WindowSettings& settings = *window;
  switch (message.wParam) {
    case VK_TAB:
      MoveFocus(GetKeyState(VK_SHIFT) >= 0);
      return true;
    case VK_ESCAPE:
      if (!settings.escCloses || FocusedControlClaims(VK_ESCAPE)) return false;
      SendMessageA(window_, WM_CLOSE, 0, 0);
      return true;
    case VK_RETURN:
      if (FocusedControlClaims(VK_RETURN)) return false;
      if (settings.enterMovesFocus) {
        MoveFocus(true);
        return true;
      }
      ClickDefaultButton();
      return false;  // without a default button the control sees Enter; a one-line box ignores it
    case VK_F1:
      return !settings.f1Help;  // no help: the key is used up
    default:
      return false;
  }
}

void MainWindow::MoveFocus(bool forward) {
  std::vector<HWND> order;
  for (std::size_t entry : focusOrder_) {
    HWND control = controls_[entry];
    if (control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control)) order.push_back(control);
  }
  if (order.empty()) return;
  const auto current = std::find(order.begin(), order.end(), GetFocus());
  std::size_t next;
  if (current == order.end()) {
    next = forward ? 0 : order.size() - 1;
  } else {
    const auto position = static_cast<std::size_t>(current - order.begin());
    next = forward ? (position + 1) % order.size() : (position + order.size() - 1) % order.size();
  }
  SetFocus(order[next]);
}

void MainWindow::FocusFirstControl() {
  for (std::size_t entry : focusOrder_) {
    HWND control = controls_[entry];
    if (control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control)) {
      SetFocus(control);
      return;
    }
  }
}

// Only a multi-line edit box that is not read-only keeps a key from the window: Enter.
bool MainWindow::FocusedControlClaims(WPARAM key) const {
  const auto entry = EntryOfWindow(GetFocus());
  if (!entry) return false;
  const auto* edit = form_[*entry].As<EditBoxSettings>();
  return edit != nullptr && edit->multiLine && !edit->readOnly && key == VK_RETURN;
}

void MainWindow::ClickDefaultButton() {
  const auto isDefault = [&](std::size_t entry) {
    const auto* button = form_[entry].As<ButtonSettings>();
    return button != nullptr && button->defaultButton && controls_[entry] != nullptr;
  };
  const auto focused = EntryOfWindow(GetFocus());
  if (focused && isDefault(*focused)) {
    SendMessageA(controls_[*focused], BM_CLICK, 0, 0);
    return;
  }
  for (std::size_t entry = 1; entry < form_.size(); ++entry) {
    if (isDefault(entry)) {
      SendMessageA(controls_[entry], BM_CLICK, 0, 0);
      return;
    }
  }
}

void MainWindow::RaiseEvent(std::size_t entry, std::int32_t event, const Text& text) {
  if (IsEnding() || entry >= form_.size()) return;
  const auto handler = BoundHandler(form_[entry], event);
  if (handler) runHandler_(*this, *handler, text);
}

std::optional<std::size_t> MainWindow::EntryOfWindow(HWND window) const {
  if (window == nullptr) return std::nullopt;
  for (std::size_t entry = 1; entry < controls_.size(); ++entry) {
    if (controls_[entry] == window) return entry;
  }
  return std::nullopt;
}

HWND MainWindow::ControlWindow(std::size_t entry) const {
  return entry < controls_.size() ? controls_[entry] : nullptr;
}

HWND MainWindow::ControlWindow(std::string_view name) const {
  const auto entry = FindEntry(form_, name);
  HWND control = entry ? controls_[*entry] : nullptr;
  if (control == nullptr) FatalError(texts::kNoSuchWindow);
  return control;
}

DropObject* MainWindow::FindDropObject(std::string_view name) const {
  const auto entry = FindEntry(form_, name);
  if (!entry || !dropObject_ || controls_[*entry] != dropObject_->window() || !dropObject_->exists()) return nullptr;
  return dropObject_.get();
}

void MainWindow::SetControlVisible(std::string_view name) {
  HWND control = ControlWindow(name);
  visible_[*FindEntry(form_, name)] = true;
  ShowWindow(control, SW_SHOW);
}

Text MainWindow::ReadEditBoxText(std::string_view name) const {
  HWND edit = ControlWindow(name);
  const int length = GetWindowTextLengthA(edit);
  if (length <= 0) return std::nullopt;
  TextBytes text(static_cast<std::size_t>(length), '\0');
  const int read = GetWindowTextA(edit, text.data(), length + 1);
  if (read <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(read));
  return text;
}

void MainWindow::SetEditBoxText(std::string_view name, const Text& text) {
  HWND edit = ControlWindow(name);
  const TextBytes bytes(View(text));  // NUL-terminated
  SetWindowTextA(edit, bytes.c_str());
}

void DestroyProgramIcons(MainWindow& window) {
  if (window.bigIcon_ != nullptr) DestroyIcon(window.bigIcon_);
  if (window.smallIcon_ != nullptr) DestroyIcon(window.smallIcon_);
  window.bigIcon_ = nullptr;
  window.smallIcon_ = nullptr;
}

}  // namespace icotake
