// The control in drag and drop: as the source of a drag (OLEDrag), as the
// target its window's drop target reports to, and the events it raises.
#include <ole2.h>

#include "host/com_object.h"
#include "host/data_object.h"
#include "host/hosted_control.h"

namespace vantorel::host {

namespace {

constexpr std::int32_t kEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// Drops when the mouse buttons are let go, cancels on Escape; the control picks
// the pointer through OLEGiveFeedback.
class ControlDropSource final : public ComObject<IDropSource, IID_IDropSource> {
 public:
  explicit ControlDropSource(HWND hwnd) : hwnd_(hwnd) {}

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    HostedControl* control = HostedControl::FromHwnd(hwnd_);
    if (!control) return DRAGDROP_S_USEDEFAULTCURSORS;
    std::int32_t e = static_cast<std::int32_t>(effect);
    bool defaultCursors = true;
    control->ReportOLEGiveFeedback(e, defaultCursors);
    return defaultCursors ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
  }

 private:
  HWND hwnd_;
};

}  // namespace

std::int32_t HostedControl::OLEDrag() {
  DataObject* data = DataObject::Create();
  std::int32_t allowed = DROPEFFECT_NONE;
  OnOLEStartDrag(data, allowed);
  allowed &= kEffects;
  std::int32_t done = DROPEFFECT_NONE;
  if (allowed != DROPEFFECT_NONE && !data->Empty()) {
    // A promised format is asked of the control when a target wants it. The
    // window may go during the drag; the handler then finds no control.
    HWND hwnd = hwnd_;
    data->OnRequest([hwnd, data](CLIPFORMAT format) {
      if (HostedControl* control = FromHwnd(hwnd)) {
        std::int16_t f = static_cast<std::int16_t>(format);
        control->ReportOLESetData(data, f);
      }
    });
    auto* source = new ControlDropSource(hwnd);
    DWORD effect = DROPEFFECT_NONE;
    if (DoDragDrop(data, source, static_cast<DWORD>(allowed), &effect) == DRAGDROP_S_DROP)
      done = static_cast<std::int32_t>(effect) & kEffects;
    source->Release();
    data->OnRequest(nullptr);
    if (FromHwnd(hwnd) != this) {
      data->Release();
      return done;
    }
  }
  OnOLECompleteDrag(done);
  data->Release();
  return done;
}

DropSink* HostedControl::SinkOf(HWND hwnd) { return FromHwnd(hwnd); }

void HostedControl::DragOverAt(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                               POINT client, std::int16_t state) {
  float x = ToTwipsX(client.x), y = ToTwipsY(client.y);
  ReportOLEDragOver(data, effect, button, shift, x, y, state);
}

void HostedControl::DropAt(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                           POINT client) {
  float x = ToTwipsX(client.x), y = ToTwipsY(client.y);
  ReportOLEDragDrop(data, effect, button, shift, x, y);
}

void HostedControl::OnOLECompleteDrag(std::int32_t& effect) {
  if (DragEvents* e = OfferedDragEvents()) Raise(e->OLECompleteDrag, effect);
}

void HostedControl::OnOLEDragDrop(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                                  float& x, float& y) {
  if (DragEvents* e = OfferedDragEvents()) Raise(e->OLEDragDrop, data, effect, button, shift, x, y);
}

void HostedControl::OnOLEDragOver(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                                  float& x, float& y, std::int16_t& state) {
  if (DragEvents* e = OfferedDragEvents()) Raise(e->OLEDragOver, data, effect, button, shift, x, y, state);
}

void HostedControl::OnOLEGiveFeedback(std::int32_t& effect, bool& defaultCursors) {
  if (DragEvents* e = OfferedDragEvents()) Raise(e->OLEGiveFeedback, effect, defaultCursors);
}

void HostedControl::OnOLESetData(IDataObject* data, std::int16_t& dataFormat) {
  if (DragEvents* e = OfferedDragEvents()) Raise(e->OLESetData, data, dataFormat);
}

void HostedControl::OnOLEStartDrag(IDataObject* data, std::int32_t& allowedEffects) {
  if (DragEvents* e = OfferedDragEvents()) Raise(e->OLEStartDrag, data, allowedEffects);
}

}  // namespace vantorel::host
