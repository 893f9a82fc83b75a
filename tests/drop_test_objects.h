#pragma once
// Stand-ins for what OLE hands a drop target: a data object that offers any set of formats and
// counts every question, fetch and release, and a drag-image object that records its calls. Also
// the DROPFILES blocks that a CF_HDROP rendering holds, and a reader of the FatalError box.

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace icotake::test {

// One format that the data object offers: what QueryGetData answers, whether GetData renders it,
// and the bytes of the global memory block that it renders.
struct Offer {
  CLIPFORMAT format = 0;
  std::string bytes;
  HRESULT query = S_OK;
  bool renders = true;
};

struct DataCall {
  char method;  // 'Q' QueryGetData, 'G' GetData
  CLIPFORMAT format;
  friend bool operator==(const DataCall&, const DataCall&) = default;
};

class FakeDataObject final : public IDataObject {
 public:
  explicit FakeDataObject(std::vector<Offer> offers) : offers_(std::move(offers)) {}
  FakeDataObject(const FakeDataObject&) = delete;
  FakeDataObject& operator=(const FakeDataObject&) = delete;

  std::vector<DataCall> calls;
  int mediaHandedOut = 0;
  int mediaReleased = 0;
  // False once a request was not {format, no device, content, index -1, global memory}.
  bool requestsAsExpected = true;
  LONG references = 1;
  // GetData answers S_OK with a medium of another kind (a stream) instead of global memory.
  bool rendersStreams = false;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* request, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* request) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  void Check(const FORMATETC* request);
  const Offer* Find(CLIPFORMAT format) const;

  std::vector<Offer> offers_;
};

struct HelperCall {
  std::string method;
  HWND window = nullptr;
  IDataObject* data = nullptr;
  POINT point{};
  DWORD effect = 0;
};

class FakeDragImageObject final : public IDropTargetHelper {
 public:
  std::vector<HelperCall> calls;
  LONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

  HRESULT STDMETHODCALLTYPE DragEnter(HWND window, IDataObject* data, POINT* point, DWORD effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE DragOver(POINT* point, DWORD effect) override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, POINT* point, DWORD effect) override;
  HRESULT STDMETHODCALLTYPE Show(BOOL) override { return S_OK; }
};

// A DROPFILES block as the shell renders CF_HDROP: the header, then the names, each ending in
// NUL, then one more NUL.
std::string DropFilesBlock(const std::vector<std::string>& paths);
std::string DropFilesBlockWide(const std::vector<std::u16string>& paths);

// The reference count of an object, read without changing it.
ULONG CountOf(IUnknown* object);

// For death tests of FatalError: a thread that waits for the error box, writes its text to stderr
// as "box:" and hex digits, and closes it, so that the process goes on to its end.
void ReportAndCloseErrorBox();
// What the death test looks for on stderr for the box of that message.
std::string ErrorBoxPattern(std::string_view message);

}  // namespace icotake::test
