#pragma once

// A hosted control that only records what the host delivers to it, for the
// host's tests of input and of the drawing surface.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "event_log.h"
#include "host/hosted_control.h"
#include "host_support.h"

namespace vantorel::host::test {

// Records every notification the host delivers, in order, written as the
// controls' events are.
class Probe final : public HostedControl, public EventLog {
 public:
  // Watches for the end of a hover as a control without the capture does: the
  // hover ends when the pointer is no longer over the window.
  void WatchHoverNow() { WatchHover(); }
  using HostedControl::WatchingHover;

  static Probe* Make(HWND parent, const PropertyBag* bag = nullptr) {
    auto* p = new Probe;
    HostPlacement placement = Placement(parent, 300, 300, 1335, 375);
    return p->CreateHosted(placement, bag) ? p : nullptr;
  }

 private:
  void OnInitNew() override { Record(L"InitNew"); }
  void OnReadProperties(const PropertyBag&) override { Record(L"ReadProperties"); }
  void OnShow() override { Record(L"Show"); }
  void OnResize() override { Record(L"Resize"); }
  void OnMouseDown(std::int16_t b, std::int16_t s, float x, float y) override { RecordMouse(L"MouseDown", b, s, x, y); }
  void OnMouseUp(std::int16_t b, std::int16_t s, float x, float y) override { RecordMouse(L"MouseUp", b, s, x, y); }
  void OnMouseMove(std::int16_t b, std::int16_t s, float x, float y) override { RecordMouse(L"MouseMove", b, s, x, y); }
  void OnClick() override { Record(L"Click"); }
  void OnDblClick() override { Record(L"DblClick"); }
  void OnKeyDown(std::int16_t k, std::int16_t s) override { RecordKey(L"KeyDown", k, s); }
  void OnKeyUp(std::int16_t k, std::int16_t s) override { RecordKey(L"KeyUp", k, s); }
  void OnKeyPress(std::int16_t a) override { RecordKeyPress(a); }
  void OnGotFocus() override { Record(L"GotFocus"); }
  void OnLostFocus() override { Record(L"LostFocus"); }
  void OnAccessKeyPress(std::int16_t a) override { log.push_back(L"AccessKey " + std::to_wstring(a)); }
  void OnAmbientChanged(std::wstring_view name) override { log.push_back(L"AmbientChanged " + std::wstring(name)); }
  void OnHoverMayHaveEnded() override {
    if (PointerOverWindow()) return;
    Record(L"HoverEnded");
    StopWatchingHover();
  }
};

}  // namespace vantorel::host::test
