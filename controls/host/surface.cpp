#include "host/surface.h"

#include <cstring>

#include "host/gdi_guards.h"
#include "host/screen.h"

namespace vantorel::host {

namespace {

HCURSOR StandardPointer(std::int16_t kind) {
  // The standard pointer kinds in the order hosts number them; 4 (icon) has no
  // modern cursor of its own and shows the arrow.
  static const wchar_t* const kCursors[] = {
      nullptr,   IDC_ARROW,    IDC_CROSS, IDC_IBEAM,          IDC_ARROW, IDC_SIZEALL,
      IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE,     IDC_UPARROW, IDC_WAIT,
      IDC_NO,    IDC_APPSTARTING, IDC_HELP, IDC_SIZEALL,
  };
  if (kind <= 0 || kind >= static_cast<std::int16_t>(std::size(kCursors))) return nullptr;
  return LoadCursorW(nullptr, kCursors[kind]);
}

}  // namespace

Surface::~Surface() {
  // The images go first: the font and the pen may still be selected into them.
  mask_.reset();
  image_.reset();
}

void Surface::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  const POINT ppi = ScreenPixelsPerInch();
  ppiX_ = ppi.x;
  ppiY_ = ppi.y;
  RECT rc{};
  GetClientRect(hwnd, &rc);
  MakeImage(rc.right, rc.bottom);
}

void Surface::Resize(int width, int height) {
  if (width == width_ && height == height_ && image_) return;
  MakeImage(width, height);
}

void Surface::MakeImage(int width, int height) {
  mask_.reset();
  image_.reset();
  width_ = width < 1 ? 1 : width;
  height_ = height < 1 ? 1 : height;
  image_ = std::make_unique<DibImage>(width_, height_);
  SelectTools();
  Clear();
}

void Surface::SelectTools() {
  HDC dc = Hdc();
  if (!dc) return;
  if (!pen_) pen_.Reset(CreatePen(PS_SOLID, 1, ResolveColor(foreColor_)));
  SelectObject(dc, pen_.get());
  // Figures are outlines only: the background drawn before them stays visible.
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SetTextColor(dc, ResolveColor(foreColor_));
  SetBkMode(dc, fontTransparent_ ? TRANSPARENT : OPAQUE);
  SetBkColor(dc, ResolveColor(backColor_));
  if (font_) SelectObject(dc, font_->Handle(ppiY_));
}

int Surface::WidthTwips() const {
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  return RoundLength(PixelsToTwips(rc.right - rc.left, ppiX_));
}

int Surface::HeightTwips() const {
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  return RoundLength(PixelsToTwips(rc.bottom - rc.top, ppiY_));
}

void Surface::SetSizeTwips(int width, int height) {
  const int w = RoundLength(TwipsToPixels(width, ppiX_));
  const int h = RoundLength(TwipsToPixels(height, ppiY_));
  // The Button applies its size rules at every paint. Moving a window to the
  // size it has is no change, yet it costs a round of window messages and, under
  // Wine, a trip to the server: as much as the rest of a shaped face's paint.
  RECT rc{};
  if (GetWindowRect(hwnd_, &rc) && rc.right - rc.left == w && rc.bottom - rc.top == h) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Surface::Clear() {
  if (!image_ || !image_->bits()) return;
  GdiFlush();
  std::uint32_t p = ColorRefToDib(ResolveColor(backColor_));
  std::uint32_t* bits = image_->bits();
  std::uint32_t* end = bits + static_cast<std::size_t>(width_) * height_;
  for (std::uint32_t* q = bits; q != end; ++q) *q = p;
  SetBkColor(Hdc(), ResolveColor(backColor_));
}

void Surface::ClearTo(OleColor colour) {
  backColor_ = colour;
  Clear();
}

void Surface::SetBackStyle(BackStyle s) {
  if (s == backStyle_) return;
  backStyle_ = s;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Surface::SetForeColor(OleColor c) {
  if (c == foreColor_ && pen_) return;
  foreColor_ = c;
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ResolveColor(c)));
  if (HDC dc = Hdc()) {
    SelectObject(dc, pen.get());
    SetTextColor(dc, ResolveColor(c));
  }
  // The old pen is deleted only now that it is no longer selected.
  std::swap(pen_, pen);
}

Status Surface::SetFont(FontRef font) {
  if (!font) return kInvalidPropertyValue;
  font_ = std::move(font);
  if (HDC dc = Hdc()) SelectObject(dc, font_->Handle(ppiY_));
  return kOk;
}

void Surface::SetFontTransparent(bool transparent) {
  fontTransparent_ = transparent;
  if (HDC dc = Hdc()) SetBkMode(dc, transparent ? TRANSPARENT : OPAQUE);
}

void Surface::CommitMaskPicture() {
  if (!image_ || !image_->ok()) return;
  GdiFlush();
  if (!mask_) mask_ = std::make_unique<DibImage>(width_, height_);
  if (!mask_->ok()) return;
  std::memcpy(mask_->bits(), image_->bits(), static_cast<std::size_t>(width_) * height_ * 4);
}

void Surface::CommitMaskPicture(OleColor maskColour) {
  maskColor_ = maskColour;
  CommitMaskPicture();
}

PictureRef Surface::CurrentImage() const {
  if (!image_) return nullptr;
  GdiFlush();
  return Picture::FromBitmap(image_->bitmap());
}

bool Surface::DrawPicture(const Picture& picture, int x, int y) { return picture.Draw(Hdc(), x, y); }

void Surface::Refresh() {
  if (!hwnd_) return;
  // Straight into the window's DC rather than invalidate and wait for
  // WM_PAINT: the whole client area is drawn either way, and the round through
  // the update region costs several trips to the server under Wine, more than
  // the drawing itself. Whatever was waiting to be painted is painted now.
  {
    WindowDc window(hwnd_);
    if (!window.get()) return;
    PaintTo(window.get(), RECT{0, 0, width_, height_});
  }
  ValidateRect(hwnd_, nullptr);
}

bool Surface::SetRegion(HRGN region, bool redraw) {
  // Removing a region the window does not have changes nothing, but under Wine
  // each call reshapes the X window, which costs more than a whole paint.
  if (!region && !HasRegion()) return true;
  return SetWindowRgn(hwnd_, region, redraw) != 0;
}

bool Surface::HasRegion() const {
  RECT box;
  return GetWindowRgnBox(hwnd_, &box) != ERROR;
}

bool Surface::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Surface::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

Status Surface::SetMousePointer(std::int16_t kind) {
  if ((kind < 0 || kind > 15) && kind != 99) return kInvalidPropertyValue;
  mousePointer_ = kind;
  return kOk;
}

Status Surface::SetMouseIcon(PictureRef icon) {
  // Only icons and cursors can be a pointer.
  if (icon && icon->kind() == Picture::Kind::Bitmap) return kInvalidPicture;
  mouseIcon_ = std::move(icon);
  return kOk;
}

HCURSOR Surface::CurrentPointer() const {
  if (mousePointer_ == 99) return mouseIcon_ ? static_cast<HCURSOR>(mouseIcon_->Icon()) : nullptr;
  return StandardPointer(mousePointer_);
}

std::uint32_t* Surface::Pixels() {
  GdiFlush();
  return image_ ? image_->bits() : nullptr;
}

std::uint32_t Surface::PixelAt(int x, int y) {
  return Pixels()[static_cast<std::size_t>(y) * width_ + x] & 0x00FFFFFFu;
}

void Surface::PaintTo(HDC target, const RECT& area) {
  HDC dc = Hdc();
  if (!dc) return;
  if (backStyle_ == BackStyle::Opaque || !hwnd_) {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top,
           SRCCOPY);
    return;
  }
  // Transparent: let the parent paint its background into a scratch image, then
  // lay the committed image over it, leaving out the mask colour.
  HWND parent = GetParent(hwnd_);
  MemoryDc scratch(target);
  GdiObject<HBITMAP> scratchBitmap(CreateCompatibleBitmap(target, width_, height_));
  ScopedSelect selected(scratch.get(), scratchBitmap.get());
  if (parent) {
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    ScopedViewport viewport(scratch.get(), -origin.x, -origin.y);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(scratch.get()), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(scratch.get()), PRF_CLIENT);
  }
  HDC source = mask_ ? mask_->dc() : dc;
  TransparentBlt(scratch.get(), 0, 0, width_, height_, source, 0, 0, width_, height_, ResolveColor(maskColor_));
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, scratch.get(), area.left,
         area.top, SRCCOPY);
}

}  // namespace vantorel::host
