#include "tests/drop_test_objects.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include "app/fatal_error.h"
#include "app/program_texts.h"

namespace icotake::test {
namespace {

// Stands for the source's ownership of one rendering: ReleaseStgMedium calls its Release, which
// frees the block and counts the medium as given back.
class MediumOwner final : public IUnknown {
 public:
  MediumOwner(HGLOBAL block, int* released) : block_(block), released_(released) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG count = --references_;
    if (count == 0) {
      if (block_ != nullptr) GlobalFree(block_);
      ++*released_;
      delete this;
    }
    return static_cast<ULONG>(count);
  }

 private:
  LONG references_ = 1;
  HGLOBAL block_;
  int* released_;
};

HGLOBAL GlobalBlock(std::string_view bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (block != nullptr && !bytes.empty()) {
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  return block;
}

std::string Header(bool wide) {
  std::string header(sizeof(DROPFILES), '\0');
  DROPFILES fields{};
  fields.pFiles = sizeof(DROPFILES);
  fields.fWide = wide;
  std::memcpy(header.data(), &fields, sizeof fields);
  return header;
}

}  // namespace

HRESULT FakeDataObject::QueryInterface(REFIID iid, void** object) {
  if (iid != IID_IUnknown && iid != IID_IDataObject) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IDataObject*>(this);
  AddRef();
  return S_OK;
}

void FakeDataObject::Check(const FORMATETC* request) {
  if (request->ptd != nullptr || request->dwAspect != DVASPECT_CONTENT || request->lindex != -1 ||
      request->tymed != TYMED_HGLOBAL) {
    requestsAsExpected = false;
  }
}

const Offer* FakeDataObject::Find(CLIPFORMAT format) const {
  for (const Offer& offer : offers_) {
    if (offer.format == format) return &offer;
  }
  return nullptr;
}

HRESULT FakeDataObject::QueryGetData(FORMATETC* request) {
  calls.push_back({'Q', request->cfFormat});
  Check(request);
  const Offer* offer = Find(request->cfFormat);
  return offer != nullptr ? offer->query : DV_E_FORMATETC;
}

HRESULT FakeDataObject::GetData(FORMATETC* request, STGMEDIUM* medium) {
  calls.push_back({'G', request->cfFormat});
  Check(request);
  const Offer* offer = Find(request->cfFormat);
  if (offer == nullptr || !offer->renders) return DV_E_FORMATETC;
  *medium = STGMEDIUM{};
  if (rendersStreams) {
    medium->tymed = TYMED_ISTREAM;
    medium->pUnkForRelease = new MediumOwner(nullptr, &mediaReleased);
  } else {
    HGLOBAL block = GlobalBlock(offer->bytes);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = new MediumOwner(block, &mediaReleased);
  }
  ++mediaHandedOut;
  return S_OK;
}

HRESULT FakeDragImageObject::QueryInterface(REFIID iid, void** object) {
  if (iid != IID_IUnknown && iid != IID_IDropTargetHelper) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IDropTargetHelper*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakeDragImageObject::DragEnter(HWND window, IDataObject* data, POINT* point, DWORD effect) {
  calls.push_back({"DragEnter", window, data, *point, effect});
  return S_OK;
}

HRESULT FakeDragImageObject::DragLeave() {
  calls.push_back({"DragLeave"});
  return S_OK;
}

HRESULT FakeDragImageObject::DragOver(POINT* point, DWORD effect) {
  calls.push_back({"DragOver", nullptr, nullptr, *point, effect});
  return S_OK;
}

HRESULT FakeDragImageObject::Drop(IDataObject* data, POINT* point, DWORD effect) {
  calls.push_back({"Drop", nullptr, data, *point, effect});
  return S_OK;
}

std::string DropFilesBlock(const std::vector<std::string>& paths) {
  std::string block = Header(false);
  for (const std::string& path : paths) {
    block += path;
    block += '\0';
  }
  block += '\0';
  return block;
}

std::string DropFilesBlockWide(const std::vector<std::u16string>& paths) {
  std::string block = Header(true);
  const auto append = [&](char16_t unit) {
    block += static_cast<char>(unit & 0xFF);
    block += static_cast<char>(unit >> 8);
  };
  for (const std::u16string& path : paths) {
    for (char16_t unit : path) append(unit);
    append(0);
  }
  append(0);
  return block;
}

ULONG CountOf(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

namespace {

std::string Hex(std::string_view bytes) {
  std::string hex;
  for (const char byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(byte));
    hex += digits;
  }
  return hex;
}

}  // namespace

void ReportAndCloseErrorBox() {
  std::thread([] {
    const std::string caption(texts::kErrorCaption);
    for (int tries = 0; tries < 1000; ++tries) {
      if (const HWND box = FindWindowA("#32770", caption.c_str())) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's message
        std::fprintf(stderr, "box:%s.\n", Hex(text).c_str());
        std::fflush(stderr);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  }).detach();
}

std::string ErrorBoxPattern(std::string_view message) {
  char text[512];
  const std::size_t size = FormatFatalErrorText(message, text);
  return "box:" + Hex(std::string_view(text, size)) + "\\.";
}

}  // namespace icotake::test
