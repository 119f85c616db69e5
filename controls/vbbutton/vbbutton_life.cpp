// vbButton's life: showing and hiding, resizing and its window shape, the colour
// set and layout it derives, and the window messages the host leaves to it.
#include <algorithm>

#include "host/gdi_guards.h"
#include "vbbutton/stored_values.h"
#include "vbbutton/faces/face_canvas.h"
#include "vbbutton/vbbutton.h"

namespace vantorel::controls {

HCURSOR vb::HandCursorOf(HMODULE program) {
  if (HCURSOR own = LoadCursorW(program, MAKEINTRESOURCEW(101))) return own;
  return LoadCursorW(nullptr, IDC_HAND);
}

vbButton::~vbButton() { ReleaseCaptureSurface(); }

HCURSOR vbButton::PointerOverClient() const {
  if (props_.handPointer) return vb::HandCursorOf(GetModuleHandleW(nullptr));
  return host::HostedControl::PointerOverClient();
}

void vbButton::DeriveColors() { colors_ = DerivedColors(props_.backColor); }

vb::ColorSet vbButton::DerivedColors(host::OleColor backColor) const {
  vb::SchemeSource s;
  s.scheme = props_.colorScheme;
  s.blueShades = TypeFace().blueShades;
  s.soft = props_.softBevel;
  s.backColor = host::ResolveColor(backColor);
  s.backOver = host::ResolveColor(props_.backOver);
  s.foreColor = host::ResolveColor(props_.foreColor);
  s.foreOver = host::ResolveColor(props_.foreOver);
  s.mask = host::ResolveColor(props_.maskColor);
  s.sysFace = GetSysColor(COLOR_BTNFACE);
  s.sysText = GetSysColor(COLOR_BTNTEXT);
  s.sysLight = GetSysColor(COLOR_3DLIGHT);
  s.sysHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  s.sysShadow = GetSysColor(COLOR_BTNSHADOW);
  s.sysDarkShadow = GetSysColor(COLOR_3DDKSHADOW);
  s.sysSelection = GetSysColor(COLOR_HIGHLIGHT);
  if (props_.colorScheme == vb::kSchemeParent) {
    host::WindowDc parent(GetParent(Hwnd()));
    s.parentBack = GetBkColor(parent.get());
    s.parentText = GetTextColor(parent.get());
  }
  return vb::DeriveColors(s);
}

void vbButton::ComputePictureSize() {
  const host::PictureRef& p = props_.pictureNormal;
  pictureW_ = p ? surface().PictureWidthPixels(*p) : 0;
  pictureH_ = p ? surface().PictureHeightPixels(*p) : 0;
}

vb::Layout vbButton::MeasureLayout() const {
  vb::Box m = vb::MeasuringBox(width_, height_, pictureW_, pictureH_, props_.picturePosition);
  RECT r{m.left, m.top, m.right, m.bottom};
  DrawTextW(surface().Hdc(), props_.caption.c_str(), static_cast<int>(props_.caption.size()), &r,
            DT_CALCRECT | DT_WORDBREAK);
  return vb::PlaceCaptionAndPicture(width_, height_, pictureW_, pictureH_, props_.picturePosition,
                                    {r.left, r.top, r.right, r.bottom}, vb::HasVisibleCaption(props_.caption),
                                    props_.pictureNormal || props_.pictureOver);
}

void vbButton::ComputeLayout() {
  ReadSize();
  layout_ = MeasureLayout();
}

void vbButton::ReadSize() {
  RECT rc{};
  GetClientRect(Hwnd(), &rc);
  width_ = rc.right;
  height_ = rc.bottom;
}

void vbButton::ApplyRegion() { surface().SetRegion(vb::ShapeFor(TypeFace().shape, width_, height_), true); }

void vbButton::HandleResize() {
  if (capturing_) return;
  ComputeLayout();
  ApplyRegion();
  if (TypeFace().capturesBackground && capture_ && (captureW_ != width_ || captureH_ != height_) && drawingAllowed_)
    CaptureBackground();
  if (height_ != 0) RedrawNormal();
}

void vbButton::OnResize() { HandleResize(); }

void vbButton::OnShow() {
  ReadSize();
  if (TypeFace().capturesBackground) CaptureBackground();
  drawingAllowed_ = true;
  DeriveColors();
  ComputeLayout();
  ApplyRegion();
  RedrawNormal();
}

void vbButton::OnAmbientChanged(std::wstring_view) {
  if (props_.colorScheme != vb::kSchemeOwnColours) DeriveColors();
  // Redrawn in every scheme: the default-button look depends on the ambient too.
  RedrawLast();
}

void vbButton::OnCaptureEnded() {
  // A press whose capture ends, taken away or at the button's release, shows
  // released.
  rightPress_ = false;
  if (lastLook_ == vb::kLookPressed) RedrawNormal();
}

void vbButton::DisableRefresh() { drawingAllowed_ = false; }

void vbButton::Refresh() {
  if (TypeFace().capturesBackground) CaptureBackground();
  DeriveColors();
  ComputeLayout();
  drawingAllowed_ = true;
  RedrawLast();
}

bool vbButton::OnWindowMessage(UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
  switch (msg) {
    case WM_GETDLGCODE:
      // The arrows come here: they move the focus themselves, after KeyDown.
      *result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_SHOWWINDOW:
      // Hidden: nothing is drawn until shown again, not even the end of a hover.
      if (!wp) drawingAllowed_ = false;
      return false;
    case WM_DESTROY:
      drawingAllowed_ = false;
      ReleaseCaptureSurface();
      return false;
    default: return false;
  }
}

// Hover ends when the host's watch finds the pointer gone.
void vbButton::BeginHover() {
  bool entering = !WatchingHover();
  WatchHover();
  hot_ = true;
  RedrawNormal();
  // Raised once per visit: a press and release inside does not raise it again.
  if (entering && events.MouseOver) events.MouseOver();
}

void vbButton::OnHoverMayHaveEnded() {
  // The capture's own resizing must not end hover and raise events halfway
  // through a property setter.
  if (capturing_ || PointerOverWindow()) return;
  EndHover();
}

void vbButton::EndHover() {
  StopWatchingHover();
  hot_ = false;
  RedrawNormal();
  if (events.MouseOut) events.MouseOut();
}

// Type 11's background: what the parent draws behind the control, asked of the
// parent into a memory image rather than copied from the screen, so no messages
// have to run while a property is being set.
void vbButton::EnsureCaptureSurface() {
  if (capture_ && captureW_ == width_ && captureH_ == height_) return;
  ReleaseCaptureSurface();
  auto image = std::make_unique<host::DibImage>(width_ < 1 ? 1 : width_, height_ < 1 ? 1 : height_);
  if (!image->ok()) return;
  capture_ = std::move(image);
  captureW_ = width_;
  captureH_ = height_;
}

void vbButton::ReleaseCaptureSurface() {
  capture_.reset();
  captureW_ = captureH_ = 0;
}

void vbButton::CaptureBackground() {
  HWND parent = GetParent(Hwnd());
  if (!parent) return;
  ReadSize();
  capturing_ = true;
  EnsureCaptureSurface();
  if (capture_) {
    POINT origin{0, 0};
    MapWindowPoints(Hwnd(), parent, &origin, 1);
    if (!PrintParentInto(parent, origin.x, origin.y)) CopyParentScreen(parent, origin.x, origin.y);
  }
  capturing_ = false;
}

bool vbButton::PrintParentInto(HWND parent, int x, int y) {
  // A parent that draws nothing when asked leaves this colour everywhere.
  constexpr std::uint32_t kUntouched = 0x00FE01FD;
  GdiFlush();
  const std::size_t count = static_cast<std::size_t>(captureW_ < 1 ? 1 : captureW_) * (captureH_ < 1 ? 1 : captureH_);
  std::uint32_t* bits = capture_->bits();
  std::fill(bits, bits + count, kUntouched);
  HDC dc = capture_->dc();
  {
    host::ScopedViewport viewport(dc, -x, -y);
    // Patterned brushes line up with the parent's own painting.
    SetBrushOrgEx(dc, ((-x % 8) + 8) % 8, ((-y % 8) + 8) % 8, nullptr);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  }
  SetBrushOrgEx(dc, 0, 0, nullptr);
  GdiFlush();
  return std::any_of(bits, bits + count, [](std::uint32_t p) { return p != kUntouched; });
}

void vbButton::CopyParentScreen(HWND parent, int x, int y) {
  // The parent cannot print itself: uncover the area, let the parent (only it)
  // repaint at once, and copy what it shows.
  SetWindowPos(Hwnd(), nullptr, 0, 0, width_, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(parent);
  {
    host::WindowDc shown(parent);
    BitBlt(capture_->dc(), 0, 0, width_, height_, shown.get(), x, y, SRCCOPY);
  }
  SetWindowPos(Hwnd(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vantorel::controls
