// The paint pipeline: every property and interaction change redraws the whole
// control, in the same order of small steps each time.
#include "button/background_fills.h"
#include "button/button.h"
#include "button/layers.h"
#include "button/paint_math.h"
#include "button/paint_passes.h"
#include "button/shapes/face.h"
#include "button/style_looks.h"
#include "host/gdi_guards.h"

namespace vantorel::controls {

namespace {

// 375 twips: 25 pixels at 96 dpi.
constexpr int kMinSizeTwips = 375;

host::OleColor StateColour(const PaintState& s, host::OleColor rest, host::OleColor hover, host::OleColor pressed) {
  return s.pressed ? pressed : s.hovering ? hover : rest;
}

}  // namespace

host::Status Button::Paint() {
  if (!Hwnd()) return host::kOk;
  bool outer = !painting_;
  painting_ = true;
  host::Status s = PaintSteps();
  if (outer) painting_ = false;
  return s;
}

host::Status Button::PaintSteps() {
  const SettledPaint settled = Settle();
  const PaintResult drawn = DrawImage(surface(), settled.state, settled.colours);
  // What was drawn is applied even when a later step failed, as far as it got.
  pen_ = drawn.pen;
  if (drawn.laidOut) {
    captionBox_ = drawn.layout.caption;
    pictureBox_ = drawn.layout.picture;
  }
  if (drawn.faceDrawn) ApplyFaceRegion(drawn.faceRegion);
  if (!drawn.status.ok()) return drawn.status;
  Commit(settled.colours);
  return host::kOk;
}

Button::SettledPaint Button::Settle() {
  // Everything a paint changes of the control happens here, before drawing:
  // the size rule, the pointer, the toggle latch, the style's border colours
  // and the backdrop.
  ApplySizeRules();
  ShowPointer();
  LatchToggle();
  const PaintState state = MakePaintState(pressed_, Hovering(), focused_, Enabled());
  StoreStyleBorders(state);
  // The solid fill is the back colour of the state. The other fills cover the
  // image or leave it transparent, and keep the backdrop the last solid fill had.
  if (props_.buttonStyleColors == kFillSolid)
    backdrop_ = StateColour(state, props_.backColor, props_.backColorHover, props_.backColorPressed);
  return SettledPaint{state, PaintColours{backdrop_, pen_}};
}

Button::PaintResult Button::DrawImage(host::Surface& sf, const PaintState& state, const PaintColours& colours) const {
  PaintResult r;
  r.pen = colours.pen;
  sf.ClearTo(colours.backdrop);
  if (r.status = ComputeLayout(MeasureLayout(sf), &r.layout); !r.status.ok()) return r;
  r.laidOut = true;
  if (r.status = FillBackground(sf, state); !r.status.ok()) return r;
  if (r.status = DrawStyleLook(sf, state); !r.status.ok()) return r;
  if (r.status = DrawPictureLayer(sf, props_, state, r.layout.picture); !r.status.ok()) return r;
  if (r.status = DrawCaptionLayer(sf, props_, state, r.layout.caption, r.pen); !r.status.ok()) return r;
  const FaceResult face = DrawFace(sf, state);
  r.pen = face.pen;
  r.faceDrawn = face.drawn;
  r.faceRegion = face.region;
  if (r.status = face.status; !r.status.ok()) return r;
  if (r.status = DrawFocusPasses(sf, state, r.layout.caption, r.pen); !r.status.ok()) return r;
  r.status = DrawDropDownArrow(sf, props_.dropDown, r.pen);
  return r;
}

void Button::ApplySizeRules() {
  // At least 375 twips each way, and square where the shape says so. The
  // surface is remade at the new size (cleared to the back colour) and the
  // paint goes on with it.
  host::Surface& sf = surface();
  if (sf.WidthTwips() < kMinSizeTwips) sf.SetSizeTwips(kMinSizeTwips, sf.HeightTwips());
  if (sf.HeightTwips() < kMinSizeTwips) sf.SetSizeTwips(sf.WidthTwips(), kMinSizeTwips);
  if (ShapeRowFor(props_.buttonShape).square) sf.SetSizeTwips(sf.WidthTwips(), sf.WidthTwips());
}

void Button::LatchToggle() {
  // A toggle that is on paints pressed; only a hover change, a release or a lost
  // focus or capture clears it again.
  if (props_.buttonType == kToggleButton && props_.value) pressed_ = true;
}

LayoutInput Button::MeasureLayout(const host::Surface& sf) const {
  LayoutInput in;
  in.width = sf.ScaleWidth();
  in.height = sf.ScaleHeight();
  in.captionAlignment = props_.captionAlignment;
  in.pictureAlignment = props_.pictureAlignment;
  in.previous = ButtonLayout{captionBox_, pictureBox_};
  // Text is measured in UTF-16, so a caption outside the ANSI code page keeps
  // its characters and its full length.
  SIZE extent{};
  GetTextExtentPoint32W(sf.Hdc(), props_.caption.c_str(), static_cast<int>(props_.caption.size()), &extent);
  in.captionWidth = extent.cx;
  in.captionHeight = extent.cy;
  if (const host::PictureRef& pic = props_.picture) {
    in.hasPicture = true;
    in.pictureWidth = sf.PictureWidthPixels(*pic);
    in.pictureHeight = sf.PictureHeightPixels(*pic);
  }
  return in;
}

host::Status Button::FillBackground(host::Surface& sf, const PaintState& state) const {
  const std::int32_t mode = props_.buttonStyleColors;
  if (mode == kFillNone) {
    sf.SetBackStyle(host::BackStyle::Transparent);
    return host::kOk;
  }
  if (mode < kFillSolid || mode > kFillAcrossFirstInMiddle) return host::kOk;  // left as cleared
  sf.SetBackStyle(host::BackStyle::Opaque);
  // The solid fill is the backdrop the image was cleared to.
  if (mode == kFillSolid) return host::kOk;
  // The second colour is BackColorPressed at rest too, the hover colour only
  // while hovering.
  const host::OleColor second = state.hovering ? props_.backColorHover : props_.backColorPressed;
  return DrawBackgroundFill(sf.Hdc(), mode, sf.ScaleWidth(), sf.ScaleHeight(), props_.backColor, second);
}

void Button::StoreStyleBorders(const PaintState& state) {
  const StyleLook* look = StyleLookFor(props_.buttonStyle);
  if (!look) return;
  // The style's border colours are stored on every paint (without a
  // notification), so they are what a later save writes.
  const StyleBorders borders = BordersOf(*look, props_, state.look);
  props_.borderColor = borders.rest;
  props_.borderColorHover = borders.hover;
  props_.borderColorPressed = borders.pressed;
}

host::Status Button::DrawStyleLook(host::Surface& sf, const PaintState& state) const {
  const StyleLook* look = StyleLookFor(props_.buttonStyle);
  if (!look || props_.buttonStyleColors == kFillNone) return host::kOk;
  return DrawStyleFill(sf.Hdc(), *look, props_, state.look, sf.ScaleWidth(), sf.ScaleHeight(),
                       ShapeRowFor(props_.buttonShape).sidewaysFills);
}

FaceResult Button::DrawFace(host::Surface& sf, const PaintState& state) const {
  // The face starts with the border colour of the state (hovered here means the
  // hover state, pressed or not).
  const host::OleColor border = state.pressed   ? props_.borderColorPressed
                                : state.hovered ? props_.borderColorHover
                                                : props_.borderColor;
  sf.SetForeColor(border);
  FaceRenderer face = FaceRendererFor(props_.buttonShape);
  // A shape outside the table draws no face and leaves the region as it is.
  if (!face) return FaceResult{host::kOk, border, {}, false};
  FaceInput in;
  in.width = sf.ScaleWidth();
  in.height = sf.ScaleHeight();
  in.style = props_.buttonStyle;
  in.styleColors = props_.buttonStyleColors;
  in.pressed = state.pressed;
  in.hover = state.hovered;
  in.focused = state.focused;
  in.focusRect = props_.focusRect;
  in.enabled = state.enabled;
  in.borderPen = border;
  return face(sf, in);
}

void Button::ApplyFaceRegion(const FaceRegionRecipe& recipe) {
  host::Surface& sf = surface();
  if (recipe.kind == FaceRegionRecipe::Kind::None) {
    faceRegion_ = nullptr;
    faceRegionRecipe_ = FaceRegionRecipe{};
    sf.SetRegion(nullptr, false);
    return;
  }
  // The region is kept while shape and size stay: remaking it at every paint
  // would reshape the window (under Wine the X window) and invalidate it each
  // time. A region someone else set or removed is replaced.
  if (recipe == faceRegionRecipe_ && sf.HasRegion()) return;
  host::GdiObject<HRGN> region(recipe.Build());
  if (!region || !sf.SetRegion(region.get(), true)) return;
  faceRegion_ = region.Release();
  faceRegionRecipe_ = recipe;
}

host::Status Button::DrawFocusPasses(host::Surface& sf, const PaintState& state, const PixelBox& caption,
                                     host::OleColor& pen) const {
  if (!state.focused || !props_.focusRect) return host::kOk;
  const std::int32_t style = props_.buttonStyle;
  // The dots blacken pixels of the pen the face finished with.
  if (!HasOwnFocusLook(style)) return DrawFocusDots(sf, pen);
  if (style == kStyleEtched && !props_.caption.empty()) DrawCaptionFocusBox(sf, caption, pen);
  return host::kOk;
}

void Button::Commit(const PaintColours& colours) {
  // The image becomes the mask picture, the backdrop its see-through colour, and
  // it is shown at once.
  surface().CommitMaskPicture(colours.backdrop);
  surface().Refresh();
}

}  // namespace vantorel::controls
