// vbButton's drawing operation: the face fill, the face of the type for the look,
// the pictures, and the caption again over a centred picture.
#include "host/gdi_guards.h"
#include "vbbutton/stored_values.h"
#include "vbbutton/faces/face_canvas.h"
#include "vbbutton/vbbutton.h"

namespace vantorel::controls {

namespace {

// Picture modes of the drawing operation.
constexpr int kPicturesNormal = 0;
constexpr int kPicturesPressed = 1;
constexpr int kPicturesDisabled = 2;

// Type 14's caption in bold: the font in place, made bold. The font object
// itself is never changed.
host::GdiObject<HFONT> BoldFontOf(HDC dc) {
  LOGFONTW lf{};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  return host::GdiObject<HFONT>(CreateFontIndirectW(&lf));
}

}  // namespace

void vbButton::Draw(int look, bool force) {
  if (props_.checkBoxBehaviour && props_.value) look = vb::kLookPressed;
  bool changed = force || look != lastLook_ || props_.caption != lastCaption_;
  if (!changed || height_ == 0 || !drawingAllowed_ || !Hwnd()) return;
  lastLook_ = look;
  lastCaption_ = props_.caption;
  ++drawCount_;
  DrawSteps(look);
  InvalidateRect(Hwnd(), nullptr, FALSE);
}

void vbButton::ShowAs(bool hot, bool focused) {
  hot_ = hot;
  hasFocus_ = focused;
  Draw(vb::kLookNormal, true);
}

vb::FaceInput vbButton::FaceInputNow() const {
  vb::FaceInput in;
  in.type = props_.buttonType;
  in.w = width_;
  in.h = height_;
  in.hot = hot_;
  in.focused = hasFocus_;
  in.isDefault = ambient().displayAsDefault;
  in.showFocusRect = props_.showFocusRect;
  in.soft = props_.softBevel;
  in.scheme = props_.colorScheme;
  in.specialEffect = props_.specialEffect;
  in.lastLook = lastLook_;
  in.caption = props_.caption;
  in.layout = layout_;
  in.focus = FocusBox();
  in.background = CaptureDc();
  return in;
}

void vbButton::DrawSteps(int look) {
  host::Surface& sf = surface();
  sf.Clear();
  // Hot in the control's own colours: the hover colour becomes the face, in a
  // colour set of this drawing's own (faces may change their copy as they draw).
  vb::ColorSet colours = hot_ && props_.colorScheme == vb::kSchemeOwnColours ? DerivedColors(props_.backOver) : colors_;

  const vb::Face* face = vb::FaceFor(props_.buttonType);
  const vb::FaceLook* faceLook = !face                          ? nullptr
                                 : !Enabled()                    ? &face->disabled
                                 : look == vb::kLookPressed      ? &face->pressed
                                 : look == vb::kLookNormal       ? &face->normal
                                                                 : nullptr;
  const int mode = !Enabled()                   ? kPicturesDisabled
                   : look == vb::kLookPressed ? kPicturesPressed
                   : look == vb::kLookNormal  ? kPicturesNormal
                                              : -1;
  vb::FaceInput in = FaceInputNow();
  if (faceLook) in.captionStyle = vb::CaptionStyleOf(*faceLook, hot_);
  // A bold caption is laid out in its font before anything is drawn.
  HDC dc = sf.Hdc();
  host::GdiObject<HFONT> bold;
  if (face && faceLook == &face->normal && face->boldWhenDefault && in.isDefault) {
    bold = BoldFontOf(dc);
    host::ScopedSelect measuring(dc, bold.get());
    in.boldFont = bold.get();
    in.boldLayout = MeasureLayout();
  }

  vb::FaceCanvas canvas(dc, colours, in);
  canvas.Fill(0, 0, width_, height_, colours.face);
  if (faceLook) faceLook->draw(canvas);
  if (mode >= 0) DrawPictures(canvas, mode);
}

void vbButton::RenderPicture(const host::PictureRef& picture, vb::PictureCache& cache, int x, int y,
                             vb::PictureMode mode, vb::Rgb24 colour) {
  const vb::PicturePixels& pixels = cache.Get(picture, colors_.mask);
  host::Surface& sf = surface();
  vb::RenderOptions o;
  o.mode = mode;
  o.colour = host::ColorRefToDib(colour);
  o.useMask = props_.useMaskColor;
  o.mask = host::ColorRefToDib(colors_.mask);
  vb::RenderPicture({sf.Pixels(), sf.ScaleWidth(), sf.ScaleHeight()}, pixels, x, y, o);
}

void vbButton::PictureEffect(vb::FaceCanvas& canvas, const host::PictureRef& picture, vb::PictureCache& cache, int k) {
  const int fx = props_.specialEffect;
  if (fx <= 0) return;
  vb::Rgb24 base = props_.buttonType == vb::kTypeBlueGradient ? canvas.c.raisedFace
                   : (k == -1 && props_.colorScheme != vb::kSchemeOwnColours) ? canvas.c.selectionLight
                                                             : canvas.c.face;
  int d = fx == 2 ? 40 : -40;
  const int x = layout_.pictureX + k, y = layout_.pictureY + k;
  RenderPicture(picture, cache, x + 1, y + 1, vb::PictureMode::Silhouette, canvas.Shift(base, d));
  if (fx <= 2) RenderPicture(picture, cache, x - 1, y - 1, vb::PictureMode::Silhouette, canvas.Shift(base, -d));
}

void vbButton::DrawPictures(vb::FaceCanvas& canvas, int mode) {
  const host::PictureRef& normal = props_.pictureNormal;
  if (!normal) return;
  const host::PictureRef& over = props_.pictureOver;
  const int type = props_.buttonType;
  const int x = layout_.pictureX, y = layout_.pictureY;
  using vb::PictureMode;
  GdiFlush();
  if (mode == kPicturesNormal && !hot_) {
    PictureEffect(canvas, normal, normalPixels_, 0);
    PictureMode m = props_.useGreyscale ? PictureMode::Greyscale : type == vb::kTypeHoverHighlight ? PictureMode::Faded : PictureMode::Plain;
    RenderPicture(normal, normalPixels_, x, y, m);
  } else if (mode == kPicturesNormal) {
    if (type == vb::kTypeHoverHighlight) {
      PictureEffect(canvas, normal, normalPixels_, -1);
      RenderPicture(normal, normalPixels_, x + 1, y + 1, PictureMode::Silhouette, canvas.c.shadow);
      RenderPicture(normal, normalPixels_, x - 1, y - 1, PictureMode::Plain);
    } else if (over) {
      PictureEffect(canvas, over, overPixels_, 0);
      RenderPicture(over, overPixels_, x, y, PictureMode::Plain);
    } else {
      PictureEffect(canvas, normal, normalPixels_, 0);
      RenderPicture(normal, normalPixels_, x, y, PictureMode::Plain);
    }
  } else if (mode == kPicturesPressed) {
    if (over && type != vb::kTypeHoverHighlight) {
      int offset = type == vb::kTypeFlatLight ? 0 : 1;
      RenderPicture(over, overPixels_, x + offset, y + offset, PictureMode::Plain);
    } else if (type != vb::kTypeFlatLight && type != vb::kTypeHoverHighlight) {
      PictureEffect(canvas, normal, normalPixels_, 1);
      RenderPicture(normal, normalPixels_, x + 1, y + 1, PictureMode::Plain);
    } else {
      PictureEffect(canvas, normal, normalPixels_, 0);
      RenderPicture(normal, normalPixels_, x, y, PictureMode::Plain);
    }
  } else {
    if (type == vb::kTypeBlueGradient) {
      RenderPicture(normal, normalPixels_, x + 1, y + 1, PictureMode::Greyscale);
    } else if (type == vb::kTypeFlatLight || type == vb::kTypeSoftBevel) {
      RenderPicture(normal, normalPixels_, x, y, PictureMode::DarkSilhouette, canvas.c.shadow);
    } else if (type == vb::kTypeHoverHighlight) {
      RenderPicture(normal, normalPixels_, x, y, PictureMode::DarkSilhouette, canvas.Shift(canvas.c.shadow, 13));
    } else {
      RenderPicture(normal, normalPixels_, x + 1, y + 1, PictureMode::DarkSilhouette, canvas.c.highlight);
      RenderPicture(normal, normalPixels_, x, y, PictureMode::DarkSilhouette, canvas.c.shadow);
    }
  }
  // A centred picture stands behind the caption: the caption is drawn again on
  // top, in the style of the look (a face without a caption draws none), in the
  // font in place.
  const vb::FaceInput& in = canvas.in;
  if (props_.picturePosition == vb::kPictureCentre && in.captionStyle >= 0) canvas.Caption(in.captionStyle, in.layout);
}

}  // namespace vantorel::controls
