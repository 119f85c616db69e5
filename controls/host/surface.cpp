#include "host/surface.h"

#include <cmath>
#include <cstring>

namespace vantorel {

namespace {

// Restores the target DC's viewport origin when compositing is done.
struct ScopedViewport {
  HDC dc;
  POINT old{};
  ScopedViewport(HDC d, int x, int y) : dc(d) { SetViewportOrgEx(dc, x, y, &old); }
  ~ScopedViewport() { SetViewportOrgEx(dc, old.x, old.y, nullptr); }
};

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

// A 32-bit DIB section whose row 0 is the top row, so pixel (x, y) is
// bits[y * width + x].
HBITMAP CreateTopDownDib32(int width, int height, std::uint32_t** bits) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &raw, nullptr, 0);
  *bits = static_cast<std::uint32_t*>(raw);
  return bitmap;
}

Surface::~Surface() {
  FreeImage();
  if (pen_) DeleteObject(pen_);
}

void Surface::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  HDC screen = GetDC(nullptr);
  ppiX_ = GetDeviceCaps(screen, LOGPIXELSX);
  ppiY_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT rc{};
  GetClientRect(hwnd, &rc);
  MakeImage(rc.right, rc.bottom);
}

void Surface::Resize(int width, int height) {
  if (width == width_ && height == height_ && dc_) return;
  MakeImage(width, height);
}

void Surface::FreeImage() {
  if (dc_) {
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  if (maskDc_) {
    SelectObject(maskDc_, oldMaskBitmap_);
    DeleteDC(maskDc_);
    DeleteObject(maskBitmap_);
  }
  dc_ = maskDc_ = nullptr;
  bitmap_ = maskBitmap_ = nullptr;
  bits_ = maskBits_ = nullptr;
}

void Surface::MakeImage(int width, int height) {
  FreeImage();
  width_ = width < 1 ? 1 : width;
  height_ = height < 1 ? 1 : height;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateTopDownDib32(width_, height_, &bits_);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  SelectTools();
  Clear();
}

void Surface::SelectTools() {
  if (!dc_) return;
  if (!pen_) pen_ = CreatePen(PS_SOLID, 1, ResolveColor(foreColor_));
  SelectObject(dc_, pen_);
  // Figures are outlines only: the background drawn before them stays visible.
  SelectObject(dc_, GetStockObject(NULL_BRUSH));
  SetTextColor(dc_, ResolveColor(foreColor_));
  SetBkMode(dc_, fontTransparent_ ? TRANSPARENT : OPAQUE);
  SetBkColor(dc_, ResolveColor(backColor_));
  if (font_) SelectObject(dc_, font_->Handle(ppiY_));
}

int Surface::WidthTwips() const {
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  return static_cast<int>(std::lrint((rc.right - rc.left) * TwipsPerPixelX()));
}

int Surface::HeightTwips() const {
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  return static_cast<int>(std::lrint((rc.bottom - rc.top) * TwipsPerPixelY()));
}

void Surface::SetSizeTwips(int width, int height) {
  int w = static_cast<int>(std::lrint(width / TwipsPerPixelX()));
  int h = static_cast<int>(std::lrint(height / TwipsPerPixelY()));
  SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Surface::Clear() {
  if (!bits_) return;
  GdiFlush();
  std::uint32_t p = ColorRefToDib(ResolveColor(backColor_));
  std::uint32_t* end = bits_ + static_cast<std::size_t>(width_) * height_;
  for (std::uint32_t* q = bits_; q != end; ++q) *q = p;
  SetBkColor(dc_, ResolveColor(backColor_));
}

void Surface::SetBackStyle(BackStyle s) {
  if (s == backStyle_) return;
  backStyle_ = s;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Surface::SetForeColor(OleColor c) {
  if (c == foreColor_ && pen_) return;
  foreColor_ = c;
  HPEN old = pen_;
  pen_ = CreatePen(PS_SOLID, 1, ResolveColor(c));
  if (dc_) {
    SelectObject(dc_, pen_);
    SetTextColor(dc_, ResolveColor(c));
  }
  if (old) DeleteObject(old);
}

Status Surface::SetFont(FontRef font) {
  if (!font) return kInvalidPropertyValue;
  font_ = std::move(font);
  if (dc_) SelectObject(dc_, font_->Handle(ppiY_));
  return kOk;
}

void Surface::SetFontTransparent(bool transparent) {
  fontTransparent_ = transparent;
  if (dc_) SetBkMode(dc_, transparent ? TRANSPARENT : OPAQUE);
}

void Surface::CommitMaskPicture() {
  if (!dc_) return;
  GdiFlush();
  if (!maskDc_) {
    maskDc_ = CreateCompatibleDC(nullptr);
    maskBitmap_ = CreateTopDownDib32(width_, height_, &maskBits_);
    oldMaskBitmap_ = SelectObject(maskDc_, maskBitmap_);
  }
  std::memcpy(maskBits_, bits_, static_cast<std::size_t>(width_) * height_ * 4);
}

PictureRef Surface::CurrentImage() const {
  GdiFlush();
  return Picture::FromBitmap(bitmap_);
}

bool Surface::DrawPicture(const Picture& picture, int x, int y) { return picture.Draw(dc_, x, y); }

void Surface::Refresh() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void Surface::SetRegion(HRGN region, bool redraw) {
  // Removing a region the window does not have changes nothing, but under Wine
  // each call reshapes the X window, which costs more than a whole paint.
  RECT box;
  if (!region && GetWindowRgnBox(hwnd_, &box) == ERROR) return;
  SetWindowRgn(hwnd_, region, redraw);
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
  return bits_;
}

std::uint32_t Surface::PixelAt(int x, int y) {
  GdiFlush();
  return bits_[static_cast<std::size_t>(y) * width_ + x] & 0x00FFFFFFu;
}

void Surface::PaintTo(HDC target, const RECT& area) {
  if (!dc_) return;
  if (backStyle_ == BackStyle::Opaque || !hwnd_) {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left, area.top,
           SRCCOPY);
    return;
  }
  // Transparent: let the parent paint its background into a scratch image, then
  // lay the committed image over it, leaving out the mask colour.
  HWND parent = GetParent(hwnd_);
  HDC scratch = CreateCompatibleDC(target);
  HBITMAP scratchBitmap = CreateCompatibleBitmap(target, width_, height_);
  HGDIOBJ old = SelectObject(scratch, scratchBitmap);
  if (parent) {
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    ScopedViewport viewport(scratch, -origin.x, -origin.y);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(scratch), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(scratch), PRF_CLIENT);
  }
  HDC source = maskDc_ ? maskDc_ : dc_;
  TransparentBlt(scratch, 0, 0, width_, height_, source, 0, 0, width_, height_, ResolveColor(maskColor_));
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, scratch, area.left, area.top,
         SRCCOPY);
  SelectObject(scratch, old);
  DeleteObject(scratchBitmap);
  DeleteDC(scratch);
}

}  // namespace vantorel
