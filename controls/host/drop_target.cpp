#include "host/drop_target.h"

#include <ole2.h>

#include "host/com_object.h"
#include "host/key_flags.h"

namespace vantorel::host {

namespace {

// The State of a drag report.
constexpr std::int16_t kDragEnter = 0;
constexpr std::int16_t kDragLeave = 1;
constexpr std::int16_t kDragOver = 2;

constexpr std::uint32_t kEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

class ControlDropTarget final : public ComObject<IDropTarget, IID_IDropTarget> {
 public:
  ControlDropTarget(HWND hwnd, FindDropSink find) : hwnd_(hwnd), find_(find) {}

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
    HoldData(data);
    allowed_ = *effect & kEffects;
    return Over(kDragEnter, keys, pt, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
    allowed_ = *effect & kEffects;
    return Over(kDragOver, keys, pt, effect);
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    DWORD none = DROPEFFECT_NONE;
    Over(kDragLeave, lastKeys_, lastPoint_, &none);
    HoldData(nullptr);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
    allowed_ = *effect & kEffects;
    *effect = DROPEFFECT_NONE;
    if (DropSink* sink = find_(hwnd_)) {
      std::int32_t wanted = DROPEFFECT_NONE;
      std::int16_t button = ButtonsFromKeyFlags(keys), shift = ShiftFromKeyFlags(keys);
      sink->DropAt(data, wanted, button, shift, ClientPoint(pt));
      *effect = ChooseDropEffect(wanted, allowed_, keys);
    }
    HoldData(nullptr);
    return S_OK;
  }

 private:
  ~ControlDropTarget() override { HoldData(nullptr); }

  void HoldData(IDataObject* data) {
    if (data) data->AddRef();
    if (data_) data_->Release();
    data_ = data;
  }

  POINT ClientPoint(POINTL screen) const {
    POINT client{screen.x, screen.y};
    ScreenToClient(hwnd_, &client);
    return client;
  }

  HRESULT Over(std::int16_t state, DWORD keys, POINTL pt, DWORD* effect) {
    lastKeys_ = keys;
    lastPoint_ = pt;
    *effect = DROPEFFECT_NONE;
    DropSink* sink = find_(hwnd_);
    if (!sink) return S_OK;
    std::int32_t wanted = DROPEFFECT_NONE;
    std::int16_t button = ButtonsFromKeyFlags(keys), shift = ShiftFromKeyFlags(keys);
    sink->DragOverAt(data_, wanted, button, shift, ClientPoint(pt), state);
    *effect = ChooseDropEffect(wanted, allowed_, keys);
    return S_OK;
  }

  HWND hwnd_;
  FindDropSink find_;
  IDataObject* data_ = nullptr;
  DWORD allowed_ = DROPEFFECT_NONE;
  DWORD lastKeys_ = 0;
  POINTL lastPoint_{0, 0};
};

}  // namespace

std::uint32_t ChooseDropEffect(std::int32_t wanted, std::uint32_t allowed, std::uint32_t keys) {
  const std::uint32_t e = static_cast<std::uint32_t>(wanted) & allowed & kEffects;
  const bool ctrl = (keys & MK_CONTROL) != 0, shift = (keys & MK_SHIFT) != 0;
  if (ctrl && shift && (e & DROPEFFECT_LINK)) return DROPEFFECT_LINK;
  if (ctrl && !shift && (e & DROPEFFECT_COPY)) return DROPEFFECT_COPY;
  if (shift && !ctrl && (e & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
  for (std::uint32_t one : {DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_LINK})
    if (e & one) return one;
  return DROPEFFECT_NONE;
}

bool RegisterControlDropTarget(HWND hwnd, FindDropSink find) {
  auto* target = new ControlDropTarget(hwnd, find);
  HRESULT hr = RegisterDragDrop(hwnd, target);  // holds its own reference
  target->Release();
  return SUCCEEDED(hr);
}

}  // namespace vantorel::host
