#include "shell/drop_target.h"

#include <shellapi.h>

#include <climits>
#include <new>
#include <vector>

#include "shell/drop_files.h"

namespace icotake {
namespace {

// Every request for data, asked or fetched, is for global memory with the content aspect.
FORMATETC RequestFor(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// One rendering fetched from a data object, given back when the reading ends however it ends.
class Medium {
 public:
  Medium(IDataObject* data, CLIPFORMAT format) {
    FORMATETC request = RequestFor(format);
    if (FAILED(data->GetData(&request, &medium_))) return;
    held_ = true;
    // A source that answers with another kind of medium, or none, has not rendered the format.
    rendered_ = medium_.tymed == TYMED_HGLOBAL && medium_.hGlobal != nullptr;
  }
  Medium(const Medium&) = delete;
  Medium& operator=(const Medium&) = delete;
  ~Medium() {
    if (held_) ReleaseStgMedium(&medium_);
  }

  bool rendered() const { return rendered_; }
  HGLOBAL global() const { return medium_.hGlobal; }

 private:
  STGMEDIUM medium_{};
  bool held_ = false;
  bool rendered_ = false;
};

// The bytes of a global memory block while it is locked. The block's size bounds every read: what
// lies inside comes from another program.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL global)
      : global_(global), bytes_(static_cast<const std::uint8_t*>(GlobalLock(global))) {
    if (bytes_ != nullptr) size_ = GlobalSize(global);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() {
    if (bytes_ != nullptr) GlobalUnlock(global_);
  }

  bool locked() const { return bytes_ != nullptr; }
  Bytes bytes() const { return Bytes(bytes_, size_); }

 private:
  HGLOBAL global_;
  const std::uint8_t* bytes_;
  std::size_t size_ = 0;
};

// The format's data up to its first NUL (or the block's end), or no text when the data object
// cannot render it.
Text ReadFormatText(IDataObject* data, CLIPFORMAT format) {
  const Medium medium(data, format);
  if (!medium.rendered()) return std::nullopt;
  const LockedGlobal block(medium.global());
  if (!block.locked()) return std::nullopt;
  const Bytes bytes = block.bytes();
  std::size_t length = 0;
  while (length < bytes.size() && bytes[length] != 0) ++length;
  return TextBytes(reinterpret_cast<const char*>(bytes.data()), length);
}

// "HTML Format" is UTF-8, header lines included; the event carries it in the ANSI code page, with
// no-break spaces made plain spaces. Buffers come from the text heap, as every text does.
Text AnsiFromHtml(const TextBytes& html) {
  if (html.size() >= INT_MAX) return std::nullopt;  // beyond what the conversions can count
  const int units = static_cast<int>(html.size()) + 1;  // with the NUL; UTF-16 never needs more
  std::vector<wchar_t, TextAllocator<wchar_t>> wide(static_cast<std::size_t>(units));
  const int decoded = MultiByteToWideChar(CP_UTF8, 0, html.c_str(), units, wide.data(), units);
  if (decoded <= 0) return std::nullopt;
  for (int i = 0; i < decoded; ++i) {
    if (wide[i] == 0x00A0) wide[i] = 0x0020;
  }
  // Sized by asking first: in a code page with longer forms than UTF-8's the text could grow.
  const int size = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  TextBytes ansi(static_cast<std::size_t>(size), '\0');
  const int written = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide.data(), -1, ansi.data(), size,
                                          nullptr, nullptr);
  if (written <= 0) return std::nullopt;
  ansi.resize(static_cast<std::size_t>(written) - 1);  // without the NUL
  return ansi;
}

// The dropped paths as FilesDropped carries them: one path alone; two or more each followed by
// CR LF; none, the empty text. No text when the data object cannot render CF_HDROP or renders a
// block that DragQueryFile could not walk safely.
Text ReadFileList(IDataObject* data) {
  const Medium medium(data, CF_HDROP);
  if (!medium.rendered()) return std::nullopt;
  {
    const LockedGlobal block(medium.global());
    if (!block.locked() || !IsWellFormedDropFiles(block.bytes())) return std::nullopt;
  }
  const auto drop = static_cast<HDROP>(medium.global());
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  TextBytes text;
  for (UINT index = 0; index < count; ++index) {
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    TextBytes path(static_cast<std::size_t>(length) + 1, '\0');
    const UINT copied = DragQueryFileA(drop, index, path.data(), length + 1);
    path.resize(copied < length ? copied : length);
    text += path;
    if (count > 1) text += "\r\n";
  }
  return text;
}

}  // namespace

DropFormats RegisterDropFormats() {
  DropFormats formats;
  formats.url = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("UniformResourceLocator"));
  formats.html = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format"));
  return formats;
}

Microsoft::WRL::ComPtr<IDropTargetHelper> CreateDragImageObject() {
  Microsoft::WRL::ComPtr<IDropTargetHelper> helper;
  if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(helper.ReleaseAndGetAddressOf())))) {
    helper.Reset();
  }
  return helper;
}

bool ChooseDropEffect(bool dataAcceptable, DWORD keyState, DWORD& effect) {
  if (!dataAcceptable) {
    effect = DROPEFFECT_NONE;
    return false;
  }
  const DWORD allowed = effect;
  const bool control = (keyState & MK_CONTROL) != 0;
  const bool shift = (keyState & MK_SHIFT) != 0;
  if (control && shift) {
    effect = DROPEFFECT_NONE;  // a link is asked for, and a link is never given on request
  } else if (control || shift) {
    const DWORD requested = control ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    effect = (allowed & requested) != 0 ? requested : DROPEFFECT_NONE;
  } else if ((allowed & DROPEFFECT_COPY) != 0) {
    effect = DROPEFFECT_COPY;
  } else if ((allowed & DROPEFFECT_MOVE) != 0) {
    effect = DROPEFFECT_MOVE;
  } else if ((allowed & DROPEFFECT_LINK) != 0) {
    effect = DROPEFFECT_LINK;
  } else {
    effect = DROPEFFECT_NONE;
  }
  return effect != DROPEFFECT_NONE;
}

Microsoft::WRL::ComPtr<WindowDropTarget> WindowDropTarget::Create(
    Microsoft::WRL::ComPtr<IDropTargetHelper> dragImageObject) {
  Microsoft::WRL::ComPtr<WindowDropTarget> target;
  // Adopts the count of 1 as it is. MinGW-w64's ComPtr::Attach would add a reference of its own
  // (the Windows SDK's does not), and the target would never go.
  *target.GetAddressOf() = new (std::nothrow) WindowDropTarget(std::move(dragImageObject));
  return target;
}

WindowDropTarget::WindowDropTarget(Microsoft::WRL::ComPtr<IDropTargetHelper> dragImageObject)
    : dragImageObject_(std::move(dragImageObject)) {}

void WindowDropTarget::Detach() {
  detached_ = true;
  dragImageObject_.Reset();
}

HRESULT WindowDropTarget::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG WindowDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&referenceCount_)); }

ULONG WindowDropTarget::Release() {
  const LONG count = InterlockedDecrement(&referenceCount_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

bool WindowDropTarget::Offers(IDataObject* data, CLIPFORMAT format) const {
  FORMATETC request = RequestFor(format);
  return data->QueryGetData(&request) == S_OK;  // S_FALSE and errors alike mean no
}

HRESULT WindowDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  if (dragImageObject_) {
    POINT at{point.x, point.y};
    dragImageObject_->DragEnter(targetWindow_, data, &at, *effect);
  }
  dataAcceptable_ = false;
  if (data != nullptr) {
    // The order matters to sources that render lazily: each question may cost them work.
    const CLIPFORMAT asked[] = {CF_TEXT, CF_HDROP, formats_.url, formats_.html};
    const DropSwitch switches[] = {DropSwitch::AcceptText, DropSwitch::AcceptFiles,
                                   DropSwitch::AcceptUrl, DropSwitch::AcceptHtml};
    for (std::size_t i = 0; i < 4 && !dataAcceptable_; ++i) {
      if (switches_.on(switches[i])) dataAcceptable_ = Offers(data, asked[i]);
    }
  }
  ChooseDropEffect(dataAcceptable_, keyState, *effect);
  return S_OK;
}

HRESULT WindowDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  if (dragImageObject_) {
    POINT at{point.x, point.y};
    dragImageObject_->DragOver(&at, *effect);
  }
  ChooseDropEffect(dataAcceptable_, keyState, *effect);
  return S_OK;
}

HRESULT WindowDropTarget::DragLeave() {
  if (dragImageObject_) dragImageObject_->DragLeave();
  dataAcceptable_ = false;
  return S_OK;
}

Text WindowDropTarget::ReadText(IDataObject* data) const {
  // Text that also comes as "HTML Format" is not taken as plain text, whether HTML is accepted
  // or not: only the medium is given back.
  {
    const Medium html(data, formats_.html);
    if (html.rendered()) return std::nullopt;
  }
  return ReadFormatText(data, CF_TEXT);
}

void WindowDropTarget::Raise(DropEvent event, const Text& text) {
  if (detached_ || !owner_.dispatch) return;
  owner_.dispatch(owner_.control, static_cast<std::int32_t>(event), text);
}

HRESULT WindowDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  // A handler may end the window, and with it the drop object's and OLE's references.
  const Microsoft::WRL::ComPtr<WindowDropTarget> self(this);
  if (dragImageObject_) {
    POINT at{point.x, point.y};
    dragImageObject_->Drop(data, &at, effect != nullptr ? *effect : DROPEFFECT_NONE);
  }
  if (effect == nullptr || data == nullptr) return E_FAIL;
  if (!ChooseDropEffect(dataAcceptable_, keyState, *effect)) return E_FAIL;

  if (switches_.on(DropSwitch::AcceptText)) {
    if (const Text text = ReadText(data)) Raise(DropEvent::TextDropped, text);
  }
  if (switches_.on(DropSwitch::AcceptHtml)) {
    if (const Text html = ReadFormatText(data, formats_.html)) {
      if (const Text ansi = AnsiFromHtml(*html)) Raise(DropEvent::HtmlDropped, ansi);
    }
  }
  if (switches_.on(DropSwitch::AcceptUrl)) {
    if (const Text url = ReadFormatText(data, formats_.url)) Raise(DropEvent::UrlDropped, url);
  }
  if (switches_.on(DropSwitch::AcceptFiles)) {
    if (const Text files = ReadFileList(data)) Raise(DropEvent::FilesDropped, files);
  }
  return E_FAIL;
}

}  // namespace icotake
