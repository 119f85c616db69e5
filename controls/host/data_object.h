#pragma once

#include <windows.h>
#include <objidl.h>

#include <functional>
#include <vector>

#include "host/com_object.h"

namespace vantorel::host {

// The data a drag carries: formats in global memory, set through the ordinary
// IDataObject::SetData. A format set with a TYMED_NULL medium is only promised:
// the first request for it asks the source (OnRequest) to set it then.
class DataObject final : public ComObject<IDataObject, IID_IDataObject> {
 public:
  // Made with one reference, which the caller owns.
  static DataObject* Create();

  // Told the clipboard format of a promised format that a target asks for.
  void OnRequest(std::function<void(CLIPFORMAT)> request) { onRequest_ = std::move(request); }
  bool Empty() const { return entries_.empty(); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

 private:
  struct Entry {
    FORMATETC format;
    HGLOBAL data;  // null while only promised
  };

  DataObject() = default;
  ~DataObject() override;
  Entry* Find(const FORMATETC& format);

  std::vector<Entry> entries_;
  std::function<void(CLIPFORMAT)> onRequest_;
};

}  // namespace vantorel::host
