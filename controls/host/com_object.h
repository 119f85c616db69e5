#pragma once

#include <windows.h>
#include <unknwn.h>

namespace vantorel::host {

// The IUnknown of the host's COM objects, written once: a reference count that
// starts at one (the maker's reference) and deletes the object at zero, and a
// QueryInterface that hands out Interface for IUnknown and for each of the
// interfaces named (Interface and those it derives from).
template <class Interface, const IID&... kInterfaces>
class ComObject : public Interface {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) final {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || ((iid == kInterfaces) || ...)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() final { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() final {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

 protected:
  ComObject() = default;
  // Only Release deletes: the objects are made with new and never copied.
  virtual ~ComObject() = default;

 private:
  LONG refs_ = 1;
};

}  // namespace vantorel::host
