// vbButton's drawing operation: the face fill, the face of the type for the look,
// the pictures, and the caption again over a centred picture.
#include "host/gdi_guards.h"
#include "vbbutton/faces/face_canvas.h"
#include "vbbutton/stored_values.h"
#include "vbbutton/vbbutton.h"

namespace vantorel::controls {

namespace {

// Picture modes of the drawing operation.
constexpr int kPicturesNormal = 0;
constexpr int kPicturesPressed = 1;
constexpr int kPicturesDisabled = 2;

// The caption of a face that is bold while default: the font in place, made
// bold. The font object itself is never changed.
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

const vb::Face& vbButton::TypeFace() const { return vb::FaceOf(props_.buttonType); }

vb::Box vbButton::FocusBox() const { return vb::FocusBox(width_, height_, TypeFace().focus); }

vb::FaceInput vbButton::FaceInputNow(const vb::Face& face) const {
  vb::FaceInput in;
  in.w = width_;
  in.h = height_;
  in.hot = hot_;
  in.focused = hasFocus_;
  in.isDefault = ambient().displayAsDefault;
  in.showFocusRect = props_.showFocusRect;
  in.soft = props_.softBevel;
  in.scheme = props_.colorScheme;
  in.specialEffect = props_.specialEffect;
  in.blueShades = face.blueShades;
  in.captionEffect = face.captionEffect;
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

  const vb::Face& face = TypeFace();
  const vb::FaceLook* faceLook = !Enabled()                    ? &face.disabled
                                 : look == vb::kLookPressed ? &face.pressed
                                 : look == vb::kLookNormal  ? &face.normal
                                                            : nullptr;
  const int mode = !Enabled()                   ? kPicturesDisabled
                   : look == vb::kLookPressed ? kPicturesPressed
                   : look == vb::kLookNormal  ? kPicturesNormal
                                              : -1;
  vb::FaceInput in = FaceInputNow(face);
  if (faceLook) in.captionStyle = vb::CaptionStyleOf(*faceLook, hot_);
  // A bold caption is laid out in its font before anything is drawn.
  HDC dc = sf.Hdc();
  host::GdiObject<HFONT> bold;
  if (faceLook == &face.normal && face.boldWhenDefault && in.isDefault) {
    bold = BoldFontOf(dc);
    host::ScopedSelect measuring(dc, bold.get());
    in.boldFont = bold.get();
    in.boldLayout = MeasureLayout();
  }

  vb::FaceCanvas canvas(dc, colours, in);
  canvas.Fill(0, 0, width_, height_, colours.face);
  if (faceLook) faceLook->draw(canvas);
  if (mode >= 0) DrawPictures(canvas, face, mode);
}

void vbButton::RenderPicture(const ShownPicture& shown, int dx, int dy, vb::PictureMode mode, vb::Rgb24 colour) {
  const vb::PicturePixels& pixels = shown.cache.Get(shown.picture, colors_.mask);
  host::Surface& sf = surface();
  vb::RenderOptions o;
  o.mode = mode;
  o.colour = host::ColorRefToDib(colour);
  o.useMask = props_.useMaskColor;
  o.mask = host::ColorRefToDib(colors_.mask);
  vb::RenderPicture({sf.Pixels(), sf.ScaleWidth(), sf.ScaleHeight()}, pixels, layout_.pictureX + dx,
                    layout_.pictureY + dy, o);
}

void vbButton::PictureEffect(vb::FaceCanvas& canvas, vb::EffectBase base, const ShownPicture& shown, int k) {
  canvas.EffectStrokes(base, [&](int d, vb::Rgb24 colour) {
    RenderPicture(shown, k + d, k + d, vb::PictureMode::Silhouette, colour);
  });
}

void vbButton::DrawPictures(vb::FaceCanvas& canvas, const vb::Face& face, int mode) {
  if (!props_.pictureNormal) return;
  using vb::PictureMode;
  const vb::PictureLook& look = face.picture;
  const ShownPicture normal{props_.pictureNormal, normalPixels_};
  const ShownPicture over{props_.pictureOver, overPixels_};
  // The hover picture stands in for the normal one while hot or pressed.
  const bool overShown = props_.pictureOver && !look.lifted;
  GdiFlush();
  if (mode == kPicturesNormal && !hot_) {
    PictureEffect(canvas, face.pictureEffect, normal, 0);
    RenderPicture(normal, 0, 0, props_.useGreyscale ? PictureMode::Greyscale : look.rest);
  } else if (mode == kPicturesNormal && look.lifted) {
    PictureEffect(canvas, face.pictureEffect, normal, -1);
    RenderPicture(normal, 1, 1, PictureMode::Silhouette, canvas.c.shadow);
    RenderPicture(normal, -1, -1, PictureMode::Plain);
  } else if (mode == kPicturesNormal) {
    const ShownPicture& shown = overShown ? over : normal;
    PictureEffect(canvas, face.pictureEffect, shown, 0);
    RenderPicture(shown, 0, 0, PictureMode::Plain);
  } else if (mode == kPicturesPressed) {
    const int k = look.pressShift;
    // Pressed, the hover picture is drawn without an effect.
    if (!overShown) PictureEffect(canvas, face.pictureEffect, normal, k);
    RenderPicture(overShown ? over : normal, k, k, PictureMode::Plain);
  } else {
    DrawDisabledPicture(canvas, look.disabled);
  }
  // A centred picture stands behind the caption: the caption is drawn again on
  // top, in the style of the look (a face without a caption draws none), in the
  // font in place.
  const vb::FaceInput& in = canvas.in;
  if (props_.picturePosition == vb::kPictureCentre && in.captionStyle >= 0) canvas.Caption(in.captionStyle, in.layout);
}

void vbButton::DrawDisabledPicture(vb::FaceCanvas& canvas, vb::DisabledPicture how) {
  using enum vb::DisabledPicture;
  using vb::PictureMode;
  const ShownPicture normal{props_.pictureNormal, normalPixels_};
  switch (how) {
    case Greyscale: RenderPicture(normal, 1, 1, PictureMode::Greyscale); break;
    case Shadow: RenderPicture(normal, 0, 0, PictureMode::DarkSilhouette, canvas.c.shadow); break;
    case SoftShadow:
      RenderPicture(normal, 0, 0, PictureMode::DarkSilhouette, canvas.Shift(canvas.c.shadow, 13));
      break;
    case Embossed:
      RenderPicture(normal, 1, 1, PictureMode::DarkSilhouette, canvas.c.highlight);
      RenderPicture(normal, 0, 0, PictureMode::DarkSilhouette, canvas.c.shadow);
      break;
  }
}

}  // namespace vantorel::controls
