#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/accessible.h"
#include "host/drop_target.h"
#include "host/field_table.h"
#include "host/font.h"
#include "host/input.h"
#include "host/property_bag.h"
#include "host/surface.h"

namespace vantorel::host {

// What the host tells a control about its surroundings.
struct Ambient {
  bool userMode = true;  // run mode; false in design mode
  std::wstring displayName;
  FontDesc font;
  bool displayAsDefault = false;
};

// Where and how a control window is made.
struct HostPlacement {
  HWND parent = nullptr;
  int id = 0;
  int left = 0;  // twips in the parent's client area
  int top = 0;
  int width = 1200;  // twips; a bag's _extentx and _extenty take precedence
  int height = 500;
  bool visible = true;
  bool tabStop = true;
  Ambient ambient;
  // Told the key of every property the control reports as changed.
  std::function<void(std::wstring_view key)> onPropertyChanged;
};

// The host side of a control: a child window with a persistent drawing surface,
// the life requests, persistence, ambient values and the input notifications a
// control overrides. The window owns the object: it is deleted when the window is
// destroyed (directly or with its parent).
class HostedControl : private AccessibleFacts, private DropSink {
 public:
  virtual ~HostedControl();
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  static HostedControl* FromHwnd(HWND hwnd);

  HWND Hwnd() const { return hwnd_; }
  Surface& surface() { return surface_; }
  const Surface& surface() const { return surface_; }

  const Ambient& ambient() const { return ambient_; }
  // Replaces the ambient values and tells the control which one changed.
  void SetAmbient(Ambient ambient, std::wstring_view changedName);

  // Left and top in the parent, in twips.
  int ExtenderLeft() const;
  int ExtenderTop() const;

  // Persistence as the host drives it: the size first as _extentx/_extenty in
  // HIMETRIC, then the control's own keys. The bag's old contents are replaced,
  // so a bag saved into again keeps the persisted order.
  void Save(PropertyBag& bag) const;
  bool dirty() const { return dirty_; }
  void ClearDirty() { dirty_ = false; }

  // Letters that, pressed with Alt anywhere in the top-level window, reach this
  // control as an access key (see TranslateAccessKey).
  void SetAccessKeys(std::wstring keys) { accessKeys_ = std::move(keys); }
  const std::wstring& AccessKeys() const { return accessKeys_; }

  // Drag-and-drop notifications. Each control window is an OLE drop target of its
  // own (drop_target.h), which reports a drag over it here: Effect comes in as
  // none and the control sets what it would do with the data. OLEDrag below
  // reports the source side. The control receives them unchanged.
  void ReportOLECompleteDrag(std::int32_t& effect) { OnOLECompleteDrag(effect); }
  void ReportOLEDragDrop(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                         float& x, float& y) {
    OnOLEDragDrop(data, effect, button, shift, x, y);
  }
  void ReportOLEDragOver(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                         float& x, float& y, std::int16_t& state) {
    OnOLEDragOver(data, effect, button, shift, x, y, state);
  }
  void ReportOLEGiveFeedback(std::int32_t& effect, bool& defaultCursors) { OnOLEGiveFeedback(effect, defaultCursors); }
  void ReportOLESetData(IDataObject* data, std::int16_t& dataFormat) { OnOLESetData(data, dataFormat); }
  void ReportOLEStartDrag(IDataObject* data, std::int32_t& allowedEffects) { OnOLEStartDrag(data, allowedEffects); }

  // Starts a drag with this control as its source (the platform's DoDragDrop):
  // OLEStartDrag names the data and the allowed effects (none by default, and
  // without an allowed effect no drag starts), OLEGiveFeedback and OLESetData
  // follow while dragging, OLECompleteDrag ends it. Returns the effect performed.
  std::int32_t OLEDrag();

 protected:
  HostedControl() = default;

  // Makes the window, then runs the life requests: new-instance defaults (no bag)
  // or loading, then showing. Returns false when the window cannot be made; the
  // object is then deleted by the caller's wrapper.
  bool CreateHosted(const HostPlacement& placement, const PropertyBag* bag);

  // Marks the host's data as changed for the named key.
  void PropertyChanged(std::wstring_view key);

  // The stored values the surface holds, as they are saved: the ambient font
  // where the surface has none.
  SurfaceValues SurfaceHeldValues() const;

  // The window text is the control's caption with its ampersands, for screen
  // readers, automation and GetWindowText. And the other way: text set on the
  // window from outside (automation, SetWindowText), once the window has stored
  // it, is offered to OnWindowTextSet as a new caption, as on a system button;
  // the control's own setting comes back there too, with the caption it has.
  void ShowCaptionAsWindowText(const std::wstring& caption);
  virtual void OnWindowTextSet(const std::wstring&) {}

  // Life requests.
  virtual void OnInitNew() {}
  virtual void OnReadProperties(const PropertyBag&) {}
  virtual void OnWriteProperties(PropertyBag&) const {}
  virtual void OnShow() {}
  virtual void OnResize() {}
  virtual void OnAmbientChanged(std::wstring_view) {}

  // Input notifications, in the platform's order: down, up, click; for a double
  // click down, up, click, double click, up. Positions are in twips.
  virtual void OnMouseDown(std::int16_t, std::int16_t, float, float) {}
  virtual void OnMouseUp(std::int16_t, std::int16_t, float, float) {}
  virtual void OnMouseMove(std::int16_t, std::int16_t, float, float) {}
  virtual void OnClick() {}
  virtual void OnDblClick() {}
  virtual void OnKeyDown(std::int16_t, std::int16_t) {}
  virtual void OnKeyUp(std::int16_t, std::int16_t) {}
  virtual void OnKeyPress(std::int16_t) {}
  virtual void OnGotFocus() {}
  virtual void OnLostFocus() {}
  virtual void OnAccessKeyPress(std::int16_t) {}
  // The mouse capture went elsewhere: to another window, or released by someone
  // else (a message box disabling the owner, a menu, EnableWindow). The host's
  // own release after the last button goes up, which OnMouseUp follows, is not
  // reported.
  virtual void OnCaptureLost() {}
  // The mouse capture ended, however: taken away as above, or released by the
  // host after the last button went up (before OnMouseUp). Comes first.
  virtual void OnCaptureEnded() {}
  // The window was enabled or disabled, by the Enabled property or directly.
  virtual void OnEnabledChanged(bool) {}

  // What assistive technology is told: the role (a push button unless a control
  // says otherwise), state bits beyond the focus, availability and visibility
  // that the host adds itself (pressed, checked), and the default action, which
  // the host names "Press". The accessible name is the window text.
  long AccessibleRole() const override;
  long AccessibleState() const override { return 0; }
  void OnAccessibleDefaultAction() override {}

  // The pointer shown over the client area, or null for the class default: the
  // one the surface's MousePointer and MouseIcon name unless a control shows
  // another. The host shows it when the platform asks (the pointer moves over
  // the window) and when the control calls ShowPointer.
  virtual HCURSOR PointerOverClient() const { return surface_.CurrentPointer(); }
  // The control's pointer changed without the pointer moving: shows it now when
  // the pointer is over the window, or anywhere while this window holds the
  // capture (the platform asks nothing of a window then). A null pointer leaves
  // the one shown.
  void ShowPointer() const;

  // Watching for the end of a hover, for a control that does not hold the
  // capture while hovered. From WatchHover until StopWatchingHover the host calls
  // OnHoverMayHaveEnded whenever the pointer may have left: the platform's leave
  // notification (which can come late, Wine's by 160 to 200 ms, or not at all),
  // a check at the shortest timer period, the window hidden, moved or disabled.
  // Each call is safe when already (not) watching.
  void WatchHover();
  void StopWatchingHover();
  bool WatchingHover() const { return watchingHover_; }
  // Whether the pointer is over the window: it is visible and enabled, and it
  // is the window under the pointer (a window holding the capture is not
  // under it for that).
  bool PointerOverWindow() const;
  virtual void OnHoverMayHaveEnded() {}

  // Any window message, offered before the host handles it. A control that needs
  // messages the notifications above do not carry (hiding, dialog codes)
  // returns true with *result set to take one, or false to let the host go on.
  virtual bool OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

  // The drag-and-drop events the control offers its user, or null. By default
  // the notifications below raise them as they come.
  virtual DragEvents* OfferedDragEvents() { return nullptr; }
  virtual void OnOLECompleteDrag(std::int32_t& effect);
  virtual void OnOLEDragDrop(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                             float& x, float& y);
  virtual void OnOLEDragOver(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                             float& x, float& y, std::int16_t& state);
  virtual void OnOLEGiveFeedback(std::int32_t& effect, bool& defaultCursors);
  virtual void OnOLESetData(IDataObject* data, std::int16_t& dataFormat);
  virtual void OnOLEStartDrag(IDataObject* data, std::int32_t& allowedEffects);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void OnButtonDown(std::int16_t button, WPARAM wp, LPARAM lp);
  void OnButtonUp(std::int16_t button, WPARAM wp, LPARAM lp);
  void OnDoubleClickMessage(std::int16_t button, WPARAM wp, LPARAM lp);
  void OnPaintMessage();
  LRESULT OnSetCursor(WPARAM wp, LPARAM lp);
  LRESULT OnGetDlgCode(LPARAM lp);
  LRESULT OnGetObject(WPARAM wp, LPARAM lp);
  void OnCaptureChanged(HWND newOwner);
  void ArmLeaveNotice();
  void CheckHover();
  // The hover watch's timer: the host's own, told apart from any a control sets.
  static constexpr UINT_PTR kHoverCheckTimer = 0x7601;
  float ToTwipsX(int pixels) const;
  float ToTwipsY(int pixels) const;
  void DragOverAt(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift, POINT client,
                  std::int16_t state) override;
  void DropAt(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
              POINT client) override;
  static AccessibleFacts* FactsOf(HWND hwnd);
  static DropSink* SinkOf(HWND hwnd);

  HWND hwnd_ = nullptr;
  Surface surface_;
  Ambient ambient_;
  std::function<void(std::wstring_view)> onPropertyChanged_;
  std::wstring accessKeys_;
  bool dirty_ = false;
  bool live_ = false;  // life requests done: resize and show reach the control
  std::int16_t buttonsDown_ = 0;
  bool upEndsDoubleClick_ = false;
  bool releasingAtButtonUp_ = false;
  bool watchingHover_ = false;
  bool leaveArmed_ = false;  // the platform will report the pointer's leave
};

// The making and finding of one kind of control, C, which derives from
// HostedKind<C> and lets it use its private constructor (as a friend).
template <class C>
class HostedKind : public HostedControl {
 public:
  // Makes the control's child window: new-instance defaults when bag is null,
  // otherwise the stored values of bag. The window owns the control (it goes
  // with the window). Null if the window cannot be made.
  static C* Create(const HostPlacement& placement, const PropertyBag* bag = nullptr) {
    C* control = new C;
    // On failure CreateHosted has already disposed of the object.
    return control->CreateHosted(placement, bag) ? control : nullptr;
  }
  // The control of this kind that a window is, or null.
  static C* FromHwnd(HWND hwnd) { return dynamic_cast<C*>(HostedControl::FromHwnd(hwnd)); }
};

// Call from the message loop before IsDialogMessage: Alt plus a letter that a
// hosted control in the message's top-level window lists among its access keys
// goes to that control as an access-key notification. Returns true when taken.
bool TranslateAccessKey(const MSG& msg);

// Shift state of the keyboard now: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t CurrentShiftState();

// Handles WM_SETTEXT for a control whose window text mirrors its caption: the
// window stores the text, and the text comes back unless the window refused it.
std::optional<std::wstring> StoreWindowText(HWND hwnd, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace vantorel::host
