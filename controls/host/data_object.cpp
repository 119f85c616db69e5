#include "host/data_object.h"

#include <shlobj.h>

#include <cstring>

namespace vantorel::host {

namespace {

// A copy of a block of global memory, or null.
HGLOBAL CopyGlobal(HGLOBAL source) {
  SIZE_T size = GlobalSize(source);
  const void* from = GlobalLock(source);
  if (!from) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (void* to = copy ? GlobalLock(copy) : nullptr) {
    std::memcpy(to, from, size);
    GlobalUnlock(copy);
  }
  GlobalUnlock(source);
  return copy;
}

}  // namespace

DataObject* DataObject::Create() { return new DataObject; }

DataObject::~DataObject() {
  for (Entry& e : entries_)
    if (e.data) GlobalFree(e.data);
}

DataObject::Entry* DataObject::Find(const FORMATETC& format) {
  for (Entry& e : entries_)
    if (e.format.cfFormat == format.cfFormat && e.format.dwAspect == format.dwAspect) return &e;
  return nullptr;
}

HRESULT DataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  Entry* e = Find(*format);
  if (!e) return DV_E_FORMATETC;
  if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
  if (!e->data && onRequest_) {
    onRequest_(format->cfFormat);
    e = Find(*format);  // the source may have set it, and moved the list
  }
  if (!e || !e->data) return DV_E_FORMATETC;
  HGLOBAL copy = CopyGlobal(e->data);
  if (!copy) return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = copy;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT DataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT DataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  if (!Find(*format)) return DV_E_FORMATETC;
  return (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
}

HRESULT DataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (!out) return E_INVALIDARG;
  out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT DataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
  if (!format || !medium) return E_INVALIDARG;
  if (medium->tymed != TYMED_HGLOBAL && medium->tymed != TYMED_NULL) return DV_E_TYMED;
  HGLOBAL data = nullptr;
  if (medium->tymed == TYMED_HGLOBAL) {
    // Memory handed over with release is ours; memory that another object
    // keeps alive (pUnkForRelease) is copied and given back.
    const bool take = release && !medium->pUnkForRelease;
    data = take ? medium->hGlobal : CopyGlobal(medium->hGlobal);
    if (!data) return E_OUTOFMEMORY;
    if (release && !take) ReleaseStgMedium(medium);
  }
  if (Entry* e = Find(*format)) {
    if (e->data) GlobalFree(e->data);
    e->data = data;
  } else {
    FORMATETC f = *format;
    f.ptd = nullptr;
    f.tymed = TYMED_HGLOBAL;
    entries_.push_back(Entry{f, data});
  }
  return S_OK;
}

HRESULT DataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_INVALIDARG;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  std::vector<FORMATETC> formats;
  for (const Entry& e : entries_) formats.push_back(e.format);
  return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
}

HRESULT DataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

}  // namespace vantorel::host
