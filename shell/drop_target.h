#pragma once
// WindowDropTarget, the drop object's IDropTarget. OLE calls it on the GUI thread for a drag over
// the registered window; it tells the drag source which effect a drop would have and turns a drop
// into the drop object's events, one text each.

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "app/text.h"
#include "shell/drop_events.h"
#include "shell/drop_switches.h"

namespace icotake {

// The clipboard formats registered by name. 0 when the registration failed: no data object offers
// format 0, so the switch that uses it then never matches.
struct DropFormats {
  CLIPFORMAT url = 0;   // "UniformResourceLocator"
  CLIPFORMAT html = 0;  // "HTML Format"
};
DropFormats RegisterDropFormats();

// The shell's drag-image object, or none: drags then work the same, without images.
Microsoft::WRL::ComPtr<IDropTargetHelper> CreateDragImageObject();

// The effect answered to the drag source. `effect` comes in holding the effects that the source
// allows and goes out holding one of them or DROPEFFECT_NONE; the answer is whether it is not none.
// Ctrl with Shift asks for a link, Ctrl alone a copy, Shift alone a move; a request that the source
// does not allow, and every link request, ends as none. Without a request: copy, else move, else
// link, as allowed. Other bits of the key state do not count.
bool ChooseDropEffect(bool dataAcceptable, DWORD keyState, DWORD& effect);

class WindowDropTarget final : public IDropTarget {
 public:
  // A new target with dataAcceptable false, held by the one reference that its count of 1 stands
  // for; empty when there is no memory for it.
  static Microsoft::WRL::ComPtr<WindowDropTarget> Create(Microsoft::WRL::ComPtr<IDropTargetHelper> dragImageObject);

  WindowDropTarget(const WindowDropTarget&) = delete;
  WindowDropTarget& operator=(const WindowDropTarget&) = delete;

  void SetFormats(DropFormats formats) { formats_ = formats; }
  // Copies of the drop object's switches; they count from the next DragEnter and Drop on.
  void SetSwitches(const DropSwitches& switches) { switches_ = switches; }
  // The window told to the drag-image object.
  void SetTargetWindow(HWND window) { targetWindow_ = window; }
  void AttachEventOwner(DropEventOwner owner) { owner_ = std::move(owner); }

  // The drop object is going: from now on nothing is raised and no drag image is drawn. Whoever
  // still holds a reference (OLE, in the middle of a drop) may go on calling; the object goes
  // with the last reference.
  void Detach();

  bool dataAcceptable() const { return dataAcceptable_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  // E_FAIL always, also after events were raised: a drag source that believes it moved a file
  // then keeps it.
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

 private:
  explicit WindowDropTarget(Microsoft::WRL::ComPtr<IDropTargetHelper> dragImageObject);
  ~WindowDropTarget() = default;

  bool Offers(IDataObject* data, CLIPFORMAT format) const;
  Text ReadText(IDataObject* data) const;
  void Raise(DropEvent event, const Text& text);

  LONG referenceCount_ = 1;
  bool dataAcceptable_ = false;
  bool detached_ = false;
  Microsoft::WRL::ComPtr<IDropTargetHelper> dragImageObject_;
  HWND targetWindow_ = nullptr;
  DropFormats formats_;
  DropSwitches switches_;
  DropEventOwner owner_;
};

}  // namespace icotake
