#include "shell/drop_object.h"

#include "app/fatal_error.h"
#include "app/program_texts.h"

namespace icotake {
namespace {

bool RegisterWindowClass(WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExA(instance, kDropObjectClass, &windowClass)) return true;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kDropObjectClass;
  return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

std::unique_ptr<DropObject> DropObject::Create(HWND parentWindow, const DropObjectPlace& place,
                                               Bytes propertyData, DropEventOwner owner) {
  Microsoft::WRL::ComPtr<WindowDropTarget> target = WindowDropTarget::Create(CreateDragImageObject());
  if (!target) return nullptr;

  const std::optional<DropSwitches> switches = LoadDropSwitches(propertyData);
  if (!switches) return nullptr;

  if (!RegisterWindowClass(&DropObject::WindowProcedure)) return nullptr;
  std::unique_ptr<DropObject> dropObject(new DropObject(parentWindow, *switches, target));
  // Hidden for its whole life, whatever the form says: it only ties the drop object to the window.
  const HWND window = CreateWindowExA(0, kDropObjectClass, "", WS_CHILD | WS_CLIPSIBLINGS, place.left, place.top,
                                      place.width, place.height, parentWindow, nullptr,
                                      GetModuleHandleA(nullptr), dropObject.get());
  if (window == nullptr) return nullptr;

  target->SetSwitches(*switches);
  target->SetFormats(RegisterDropFormats());
  target->AttachEventOwner(std::move(owner));
  return dropObject;
}

DropObject::DropObject(HWND parentWindow, DropSwitches switches, Microsoft::WRL::ComPtr<WindowDropTarget> target)
    : parentWindow_(parentWindow), switches_(switches), target_(std::move(target)) {}

DropObject::~DropObject() {
  if (window_ != nullptr) DestroyWindow(window_);  // runs OnWindowDestroyed
  if (target_) OnWindowDestroyed();                // the window went some other way
}

void DropObject::SetSwitch(DropSwitch which, std::int32_t value) {
  switches_.set(which, value);
  if (target_) target_->SetSwitches(switches_);
}

LRESULT CALLBACK DropObject::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* dropObject = static_cast<DropObject*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    dropObject->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dropObject));
  } else if (message == WM_NCDESTROY) {
    auto* dropObject = reinterpret_cast<DropObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (dropObject != nullptr) {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      dropObject->OnWindowDestroyed();
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The main window is being destroyed, its child windows first.
void DropObject::OnWindowDestroyed() {
  window_ = nullptr;
  if (!target_) return;
  // The result does not matter: a drop object that was never registered goes the same way.
  RevokeDragDrop(parentWindow_);
  // A registration of another window must not outlive the target either.
  if (registeredWindow_ != nullptr && registeredWindow_ != parentWindow_) RevokeDragDrop(registeredWindow_);
  target_->Detach();
  target_.Reset();
}

bool RegisterDropWindow(DropObject* dropObject, HWND windowHandle) {
  if (dropObject == nullptr || !dropObject->exists()) FatalError(texts::kNoSuchWindow);
  if (dropObject->registrationSpent_) return false;
  dropObject->registrationSpent_ = true;
  dropObject->registeredWindow_ = windowHandle;
  dropObject->target_->SetTargetWindow(windowHandle);
  return RegisterDragDrop(windowHandle, dropObject->target_.Get()) == S_OK;
}

}  // namespace icotake
