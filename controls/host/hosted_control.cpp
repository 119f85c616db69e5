#include "host/hosted_control.h"

#include <oleacc.h>
#include <windowsx.h>


#include "host/key_flags.h"
#include "host/ole_thread.h"
#include "host/units.h"
#include "host/screen.h"

namespace vantorel::host {

namespace {

constexpr wchar_t kClassName[] = L"VantorelControl";
// Sent to a control window by TranslateAccessKey; wParam is the character.
constexpr UINT kMsgAccessKey = WM_USER + 0x101;

struct CreateParams {
  HostedControl* self;
  bool attached;
};

std::int16_t ShiftFromMouseFlags(WPARAM wp) {
  const DWORD alt = GetKeyState(VK_MENU) < 0 ? MK_ALT : 0;
  return ShiftFromKeyFlags((static_cast<DWORD>(wp) & ~static_cast<DWORD>(MK_ALT)) | alt);
}

std::int16_t ButtonsFromMouseFlags(WPARAM wp) { return ButtonsFromKeyFlags(static_cast<DWORD>(wp)); }


}  // namespace

std::int16_t CurrentShiftState() {
  std::int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) s |= kAltMask;
  return s;
}

HostedControl::~HostedControl() = default;

HostedControl* HostedControl::FromHwnd(HWND hwnd) {
  wchar_t cls[64];
  if (!hwnd || !GetClassNameW(hwnd, cls, 64) || lstrcmpW(cls, kClassName) != 0) return nullptr;
  return reinterpret_cast<HostedControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool HostedControl::CreateHosted(const HostPlacement& p, const PropertyBag* bag) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Double clicks arrive as their own message, so the order down, up, click,
    // double click, up can be kept.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &HostedControl::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  if (!atom) return false;

  ambient_ = p.ambient;
  onPropertyChanged_ = p.onPropertyChanged;
  // Drag and drop runs through OLE on the thread that owns the windows.
  EnsureOleOnThisThread();

  const POINT ppi = ScreenPixelsPerInch();
  int w = RoundLength(TwipsToPixels(p.width, ppi.x));
  int h = RoundLength(TwipsToPixels(p.height, ppi.y));
  if (bag && bag->Has(L"_extentx")) w = RoundLength(HimetricToPixels(bag->ReadInt32(L"_extentx", 0), ppi.x));
  if (bag && bag->Has(L"_extenty")) h = RoundLength(HimetricToPixels(bag->ReadInt32(L"_extenty", 0), ppi.y));

  CreateParams params{this, false};
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (p.tabStop ? WS_TABSTOP : 0);
  HWND hwnd = CreateWindowExW(0, kClassName, L"", style, RoundLength(TwipsToPixels(p.left, ppi.x)),
                              RoundLength(TwipsToPixels(p.top, ppi.y)),
                              w, h, p.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)),
                              GetModuleHandleW(nullptr), &params);
  if (!hwnd) {
    // Once attached, the window's destruction has already deleted the object.
    if (!params.attached) delete this;
    return false;
  }
  if (bag)
    OnReadProperties(*bag);
  else
    OnInitNew();
  live_ = true;
  if (p.visible) ShowWindow(hwnd, SW_SHOWNA);
  return true;
}

void HostedControl::SetAmbient(Ambient ambient, std::wstring_view changedName) {
  ambient_ = std::move(ambient);
  OnAmbientChanged(changedName);
}

int HostedControl::ExtenderLeft() const {
  POINT pt{0, 0};
  MapWindowPoints(hwnd_, GetParent(hwnd_), &pt, 1);
  return RoundLength(PixelsToTwips(pt.x, surface_.LogPixelsX()));
}

int HostedControl::ExtenderTop() const {
  POINT pt{0, 0};
  MapWindowPoints(hwnd_, GetParent(hwnd_), &pt, 1);
  return RoundLength(PixelsToTwips(pt.y, surface_.LogPixelsY()));
}

void HostedControl::Save(PropertyBag& bag) const {
  // Written into a fresh bag: keys written into an old one would go after the
  // keys it already holds, out of the persisted order.
  PropertyBag saved;
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  saved.Write(L"_extentx", std::int32_t{RoundLength(PixelsToHimetric(rc.right - rc.left, surface_.LogPixelsX()))});
  saved.Write(L"_extenty", std::int32_t{RoundLength(PixelsToHimetric(rc.bottom - rc.top, surface_.LogPixelsY()))});
  OnWriteProperties(saved);
  bag = std::move(saved);
}

long HostedControl::AccessibleRole() const { return ROLE_SYSTEM_PUSHBUTTON; }

AccessibleFacts* HostedControl::FactsOf(HWND hwnd) { return FromHwnd(hwnd); }

void HostedControl::ShowCaptionAsWindowText(const std::wstring& caption) {
  if (hwnd_) SetWindowTextW(hwnd_, caption.c_str());
}

void HostedControl::PropertyChanged(std::wstring_view key) {
  dirty_ = true;
  if (onPropertyChanged_) onPropertyChanged_(key);
}

SurfaceValues HostedControl::SurfaceHeldValues() const {
  const FontRef& font = surface_.GetFont();
  return SurfaceValues{surface_.Enabled(), font ? font->Desc() : ambient_.font, surface_.MousePointer(),
                       surface_.MouseIcon()};
}

float HostedControl::ToTwipsX(int pixels) const {
  return static_cast<float>(PixelsToTwips(pixels, surface_.LogPixelsX()));
}

float HostedControl::ToTwipsY(int pixels) const {
  return static_cast<float>(PixelsToTwips(pixels, surface_.LogPixelsY()));
}

LRESULT CALLBACK HostedControl::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* params = static_cast<CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    params->attached = true;
    params->self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params->self));
    // A child of a right-to-left window inherits its mirroring, which would show
    // the face as in a mirror: captions in mirror glyphs, the arrow on the wrong
    // side. The control keeps its own left-to-right image and coordinates; only
    // its place in the parent follows the parent's layout.
    LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (ex & WS_EX_LAYOUTRTL) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYOUTRTL));
  }
  auto* self = reinterpret_cast<HostedControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT HostedControl::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT taken = 0; live_ && OnWindowMessage(msg, wp, lp, &taken)) return taken;
  switch (msg) {
    case WM_CREATE:
      surface_.Attach(hwnd_);
      RegisterControlDropTarget(hwnd_, &SinkOf);
      return 0;
    case WM_DESTROY:
      StopWatchingHover();
      RevokeDragDrop(hwnd_);
      return 0;
    case WM_SIZE:
      surface_.Resize(LOWORD(lp), HIWORD(lp));
      if (live_) OnResize();
      return 0;
    case WM_SHOWWINDOW:
      if (wp && live_) OnShow();
      if (!wp) CheckHover();
      break;
    case WM_WINDOWPOSCHANGED:
      // Moved or hidden under a pointer that did not move: no leave would come.
      CheckHover();
      break;
    case WM_MOUSELEAVE:
      leaveArmed_ = false;
      CheckHover();
      return 0;
    case WM_TIMER:
      if (wp != kHoverCheckTimer) break;
      CheckHover();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: {
      LRESULT stored = 0;
      if (auto text = StoreWindowText(hwnd_, wp, lp, &stored); text && live_) OnWindowTextSet(*text);
      return stored;
    }
    case WM_PAINT: OnPaintMessage(); return 0;
    case WM_PRINTCLIENT: {
      RECT rc{0, 0, surface_.ScaleWidth(), surface_.ScaleHeight()};
      surface_.PaintTo(reinterpret_cast<HDC>(wp), rc);
      return 0;
    }
    case WM_SETCURSOR: return OnSetCursor(wp, lp);
    case WM_GETDLGCODE: return OnGetDlgCode(lp);
    case WM_LBUTTONDOWN: OnButtonDown(kLeftButton, wp, lp); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(kRightButton, wp, lp); return 0;
    case WM_MBUTTONDOWN: OnButtonDown(kMiddleButton, wp, lp); return 0;
    case WM_LBUTTONUP: OnButtonUp(kLeftButton, wp, lp); return 0;
    case WM_RBUTTONUP: OnButtonUp(kRightButton, wp, lp); return 0;
    case WM_MBUTTONUP: OnButtonUp(kMiddleButton, wp, lp); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClickMessage(kLeftButton, wp, lp); return 0;
    case WM_RBUTTONDBLCLK: OnDoubleClickMessage(kRightButton, wp, lp); return 0;
    case WM_MBUTTONDBLCLK: OnDoubleClickMessage(kMiddleButton, wp, lp); return 0;
    case WM_MOUSEMOVE: OnMouseMove(ButtonsFromMouseFlags(wp), ShiftFromMouseFlags(wp), ToTwipsX(GET_X_LPARAM(lp)), ToTwipsY(GET_Y_LPARAM(lp))); return 0;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<std::int16_t>(wp), CurrentShiftState());
      return 0;
    case WM_SYSKEYDOWN:
      OnKeyDown(static_cast<std::int16_t>(wp), CurrentShiftState());
      break;  // Alt+F4 and the system menu still work
    case WM_KEYUP:
      OnKeyUp(static_cast<std::int16_t>(wp), CurrentShiftState());
      return 0;
    case WM_SYSKEYUP:
      OnKeyUp(static_cast<std::int16_t>(wp), CurrentShiftState());
      break;
    case WM_CHAR: OnKeyPress(static_cast<std::int16_t>(wp)); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(lp)); return 0;
    case WM_ENABLE:
      OnEnabledChanged(wp != FALSE);
      if (!wp) CheckHover();
      return 0;
    case WM_GETOBJECT: return OnGetObject(wp, lp);
    case WM_SETFOCUS: OnGotFocus(); return 0;
    case WM_KILLFOCUS: OnLostFocus(); return 0;
    case kMsgAccessKey: OnAccessKeyPress(static_cast<std::int16_t>(wp)); return 0;
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void HostedControl::OnButtonDown(std::int16_t button, WPARAM wp, LPARAM lp) {
  if ((GetWindowLongW(hwnd_, GWL_STYLE) & WS_TABSTOP) && GetFocus() != hwnd_) SetFocus(hwnd_);
  buttonsDown_ |= button;
  SetCapture(hwnd_);
  OnMouseDown(button, ShiftFromMouseFlags(wp), ToTwipsX(GET_X_LPARAM(lp)), ToTwipsY(GET_Y_LPARAM(lp)));
}

void HostedControl::OnButtonUp(std::int16_t button, WPARAM wp, LPARAM lp) {
  // Read before the capture goes: releasing it resets the press state.
  bool wasDown = (buttonsDown_ & button) != 0;
  bool endsDoubleClick = upEndsDoubleClick_ && button == kLeftButton;
  buttonsDown_ &= static_cast<std::int16_t>(~button);
  if (endsDoubleClick) upEndsDoubleClick_ = false;
  if (buttonsDown_ == 0 && GetCapture() == hwnd_) {
    releasingAtButtonUp_ = true;
    ReleaseCapture();
    releasingAtButtonUp_ = false;
  }
  OnMouseUp(button, ShiftFromMouseFlags(wp), ToTwipsX(GET_X_LPARAM(lp)), ToTwipsY(GET_Y_LPARAM(lp)));
  if (button != kLeftButton || !wasDown || endsDoubleClick) return;
  // A click is a left press and release both over the control.
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  if (PtInRect(&rc, pt)) OnClick();
}

void HostedControl::OnDoubleClickMessage(std::int16_t button, WPARAM wp, LPARAM lp) {
  if (button != kLeftButton) {
    OnButtonDown(button, wp, lp);
    return;
  }
  // The second press of a double click: the platform sends it in place of a
  // button-down, and the release that follows ends the double click without a
  // second click.
  buttonsDown_ |= button;
  SetCapture(hwnd_);
  upEndsDoubleClick_ = true;
  OnDblClick();
}

void HostedControl::OnCaptureChanged(HWND newOwner) {
  if (newOwner == hwnd_) return;
  if (live_) OnCaptureEnded();
  // Losing the capture mid-press (a control that releases it on the way out)
  // means the release will not come here: that press can no longer click.
  buttonsDown_ = 0;
  upEndsDoubleClick_ = false;
  if (!releasingAtButtonUp_) OnCaptureLost();
}

LRESULT HostedControl::OnGetObject(WPARAM wp, LPARAM lp) {
  if (static_cast<LONG>(lp) != OBJID_CLIENT) return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
  IAccessible* accessible = CreateControlAccessible(hwnd_, &FactsOf);
  if (!accessible) return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
  LRESULT result = LresultFromObject(IID_IAccessible, wp, accessible);
  accessible->Release();
  return result;
}

void HostedControl::OnPaintMessage() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  surface_.PaintTo(dc, ps.rcPaint);
  EndPaint(hwnd_, &ps);
}

void HostedControl::ShowPointer() const {
  // The pointer is asked for first: most controls name none, and the checks
  // after it each ask the window system.
  HCURSOR c = PointerOverClient();
  if (!c) return;
  POINT pt{};
  if (GetCapture() != hwnd_ && (!GetCursorPos(&pt) || WindowFromPoint(pt) != hwnd_)) return;
  SetCursor(c);
}

LRESULT HostedControl::OnSetCursor(WPARAM wp, LPARAM lp) {
  if (LOWORD(lp) == HTCLIENT) {
    if (HCURSOR c = PointerOverClient()) {
      SetCursor(c);
      return TRUE;
    }
  }
  return DefWindowProcW(hwnd_, WM_SETCURSOR, wp, lp);
}

LRESULT HostedControl::OnGetDlgCode(LPARAM lp) {
  // Tab and the arrows stay with the dialog manager so focus moves between
  // controls; characters and Enter come to the control as they do to a button
  // that handles its own keys.
  LRESULT code = DLGC_WANTCHARS;
  const auto* m = reinterpret_cast<const MSG*>(lp);
  if (m && (m->message == WM_KEYDOWN || m->message == WM_KEYUP) && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
  return code;
}

namespace {

struct AccessKeySearch {
  wchar_t key;
  HWND found = nullptr;
};

BOOL CALLBACK FindAccessKey(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<AccessKeySearch*>(lp);
  HostedControl* control = HostedControl::FromHwnd(hwnd);
  if (!control || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return TRUE;
  for (wchar_t k : control->AccessKeys()) {
    if (CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(k))) ==
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(search->key)))) {
      search->found = hwnd;
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

bool TranslateAccessKey(const MSG& msg) {
  if (msg.message != WM_SYSCHAR || !msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  AccessKeySearch search{static_cast<wchar_t>(msg.wParam)};
  EnumChildWindows(root, &FindAccessKey, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  SendMessageW(search.found, kMsgAccessKey, msg.wParam, 0);
  return true;
}

std::optional<std::wstring> StoreWindowText(HWND hwnd, WPARAM wp, LPARAM lp, LRESULT* result) {
  *result = DefWindowProcW(hwnd, WM_SETTEXT, wp, lp);
  if (!*result) return std::nullopt;
  const wchar_t* text = reinterpret_cast<const wchar_t*>(lp);
  return std::wstring(text ? text : L"");
}

}  // namespace vantorel::host
