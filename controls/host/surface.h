#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "host/color.h"
#include "host/dib_image.h"
#include "host/font.h"
#include "host/gdi_guards.h"
#include "host/picture.h"
#include "host/status.h"
#include "host/units.h"

namespace vantorel::host {

enum class BackStyle { Transparent = 0, Opaque = 1 };

// The drawing surface of one control window: a persistent backing image (a memory
// DC holding a 32-bit top-down DIB section of the client size) with the drawing
// state the controls use. Paint code draws into it; the window only copies it.
class Surface {
 public:
  // The back and drawing colours of a new surface: the system's button face and
  // button text.
  static constexpr OleColor kInitialBackColor = 0x8000000F;
  static constexpr OleColor kInitialForeColor = 0x80000012;

  Surface() = default;
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Called by the host window: on creation and whenever the client size changes.
  void Attach(HWND hwnd);
  void Resize(int width, int height);

  HWND Hwnd() const { return hwnd_; }
  HDC Hdc() const { return image_ ? image_->dc() : nullptr; }

  // Inner size in pixels and outer size in twips (twips per pixel come from the
  // screen's logical pixels per inch: 15 at 96 dpi).
  int ScaleWidth() const { return width_; }
  int ScaleHeight() const { return height_; }
  int LogPixelsX() const { return ppiX_; }
  int LogPixelsY() const { return ppiY_; }
  double TwipsPerPixelX() const { return TwipsPerPixel(ppiX_); }
  double TwipsPerPixelY() const { return TwipsPerPixel(ppiY_); }
  int WidthTwips() const;
  int HeightTwips() const;
  void SetSizeTwips(int width, int height);
  double HimetricToPixelsX(double himetric) const { return HimetricToPixels(himetric, ppiX_); }
  double HimetricToPixelsY(double himetric) const { return HimetricToPixels(himetric, ppiY_); }
  // A picture's size in whole pixels, by the one rounding rule.
  int PictureWidthPixels(const Picture& picture) const { return RoundLength(HimetricToPixelsX(picture.WidthHimetric())); }
  int PictureHeightPixels(const Picture& picture) const {
    return RoundLength(HimetricToPixelsY(picture.HeightHimetric()));
  }

  // Fills the whole image with the back colour.
  void Clear();
  // Makes colour the back colour and fills the whole image with it.
  void ClearTo(OleColor colour);
  OleColor BackColor() const { return backColor_; }
  void SetBackColor(OleColor c) { backColor_ = c; }
  BackStyle GetBackStyle() const { return backStyle_; }
  void SetBackStyle(BackStyle s);

  // The drawing colour is both the pen (solid, one pixel) and the text colour.
  OleColor ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor c);

  const FontRef& GetFont() const { return font_; }
  Status SetFont(FontRef font);
  // Text is drawn without filling its background.
  void SetFontTransparent(bool transparent);

  OleColor MaskColor() const { return maskColor_; }
  void SetMaskColor(OleColor c) { maskColor_ = c; }
  // Makes the current image the mask picture: with a transparent back style the
  // window shows its parent wherever this image has the mask colour.
  void CommitMaskPicture();
  // The same with the mask colour given: the colour the parent shows through.
  void CommitMaskPicture(OleColor maskColour);
  bool HasMaskPicture() const { return mask_ != nullptr; }

  // A copy of the current image as a picture object.
  PictureRef CurrentImage() const;
  bool DrawPicture(const Picture& picture, int x, int y);

  // Shows the backing image on screen at once.
  void Refresh();
  // Hands the region to the window, which owns it from then on; null removes
  // clipping. False when the window did not take it (the caller still owns it).
  bool SetRegion(HRGN region, bool redraw);
  // Whether the window has a region at all.
  bool HasRegion() const;

  bool Enabled() const;
  void SetEnabled(bool enabled);

  // Pointer kinds: 0 default, 1-15 the standard pointers, 99 the custom picture.
  std::int16_t MousePointer() const { return mousePointer_; }
  Status SetMousePointer(std::int16_t kind);
  const PictureRef& MouseIcon() const { return mouseIcon_; }
  Status SetMouseIcon(PictureRef icon);
  // The pointer to show over the client area, or null for the class default.
  HCURSOR CurrentPointer() const;

  // Direct access to the pixels for per-pixel passes; GDI output is flushed first.
  // Pixels are 0x00RRGGBB, rows top-down, ScaleWidth() pixels per row.
  std::uint32_t* Pixels();
  std::uint32_t PixelAt(int x, int y);  // 0x00RRGGBB; no bounds check beyond the debug one

  // Called by WM_PAINT: copies the image (composited over the parent when transparent).
  void PaintTo(HDC target, const RECT& area);

 private:
  void MakeImage(int width, int height);
  void SelectTools();

  HWND hwnd_ = nullptr;
  // The pen outlives the images it is selected into.
  GdiObject<HPEN> pen_;
  std::unique_ptr<DibImage> image_;
  std::unique_ptr<DibImage> mask_;
  int width_ = 0;
  int height_ = 0;
  int ppiX_ = 96;
  int ppiY_ = 96;

  OleColor backColor_ = kInitialBackColor;
  BackStyle backStyle_ = BackStyle::Opaque;
  OleColor foreColor_ = kInitialForeColor;
  OleColor maskColor_ = 0x00C0C0C0;
  FontRef font_;
  bool fontTransparent_ = true;
  std::int16_t mousePointer_ = 0;
  PictureRef mouseIcon_;
};

}  // namespace vantorel::host
