// The paint pipeline: every property and interaction change redraws the whole
// control, in the same order of small steps each time.
#include "button/background_fills.h"
#include "button/button.h"
#include "button/layers.h"
#include "button/paint_math.h"
#include "button/paint_passes.h"
#include "button/shapes/face.h"
#include "button/style_looks.h"

namespace vantorel::controls {

namespace {

// 375 twips: 25 pixels at 96 dpi.
constexpr int kMinSizeTwips = 375;

OleColor StateColour(const PaintState& s, OleColor rest, OleColor hover, OleColor pressed) {
  return s.pressed ? pressed : s.hovering ? hover : rest;
}

}  // namespace

Status Button::Paint() {
  if (!Hwnd()) return kOk;
  bool outer = !painting_;
  painting_ = true;
  Status s = PaintSteps();
  if (outer) painting_ = false;
  return s;
}

Status Button::PaintSteps() {
  surface().Clear();
  ApplySizeRules();
  ShowHandPointer();
  LatchToggle();
  const PaintState state = MakePaintState(pressed_, Hovering(), focused_, Enabled());
  ButtonLayout layout;
  if (Status s = ComputeLayout(MeasureLayout(), &layout); !s.ok()) return s;
  captionBox_ = layout.caption;
  pictureBox_ = layout.picture;
  if (Status s = FillBackground(state); !s.ok()) return s;
  if (Status s = ApplyStyleLook(state); !s.ok()) return s;
  if (Status s = DrawPictureLayer(surface(), props_, state, layout.picture); !s.ok()) return s;
  if (Status s = DrawCaptionLayer(surface(), props_, state, layout.caption); !s.ok()) return s;
  const FaceResult face = DrawFace(state);
  if (!face.status.ok()) return face.status;
  if (Status s = DrawFocusPasses(state, face.pen, layout.caption); !s.ok()) return s;
  if (Status s = DrawDropDownArrow(surface(), props_.dropDown); !s.ok()) return s;
  Commit();
  return kOk;
}

void Button::ApplySizeRules() {
  // At least 375 twips each way, and square for every shape but the two
  // rectangles. The surface is remade at the new size (cleared to the back
  // colour) and the paint goes on with it.
  Surface& sf = surface();
  if (sf.WidthTwips() < kMinSizeTwips) sf.SetSizeTwips(kMinSizeTwips, sf.HeightTwips());
  if (sf.HeightTwips() < kMinSizeTwips) sf.SetSizeTwips(sf.WidthTwips(), kMinSizeTwips);
  if (props_.buttonShape != 0 && props_.buttonShape != 1) sf.SetSizeTwips(sf.WidthTwips(), sf.WidthTwips());
}

void Button::ShowHandPointer() const {
  if (props_.handPointer && ((!pressed_ && Hovering()) || focused_)) SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void Button::LatchToggle() {
  // A toggle that is on paints pressed; only a hover change, a release or a lost
  // focus or capture clears it again.
  if (props_.buttonType == 1 && props_.value) pressed_ = true;
}

LayoutInput Button::MeasureLayout() const {
  const Surface& sf = surface();
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
  if (const PictureRef& pic = props_.picture) {
    in.hasPicture = true;
    in.pictureWidth = static_cast<std::int32_t>(std::nearbyint(sf.HimetricToPixelsX(pic->WidthHimetric())));
    in.pictureHeight = static_cast<std::int32_t>(std::nearbyint(sf.HimetricToPixelsY(pic->HeightHimetric())));
  }
  return in;
}

Status Button::FillBackground(const PaintState& state) {
  Surface& sf = surface();
  const std::int32_t mode = props_.buttonStyleColors;
  if (mode == 0) {
    sf.SetBackStyle(BackStyle::Transparent);
    return kOk;
  }
  if (mode < 1 || mode > 7) return kOk;  // left as cleared
  sf.SetBackStyle(BackStyle::Opaque);
  if (mode == 1) {
    // The solid fill is the back colour of the state; clearing paints it.
    sf.SetBackColor(StateColour(state, props_.backColor, props_.backColorHover, props_.backColorPressed));
    sf.Clear();
    return kOk;
  }
  // The second colour is BackColorPressed at rest too, the hover colour only
  // while hovering.
  const OleColor second = state.hovering ? props_.backColorHover : props_.backColorPressed;
  return DrawBackgroundFill(sf.Hdc(), mode, sf.ScaleWidth(), sf.ScaleHeight(), props_.backColor, second);
}

Status Button::ApplyStyleLook(const PaintState& state) {
  const StyleLook* look = StyleLookFor(props_.buttonStyle);
  if (!look) return kOk;
  // The style's border colours are stored on every paint (without a
  // notification), so they are what a later save writes.
  const StyleBorders borders = BordersOf(*look, props_, state.look);
  props_.borderColor = borders.rest;
  props_.borderColorHover = borders.hover;
  props_.borderColorPressed = borders.pressed;
  if (props_.buttonStyleColors == 0) return kOk;
  const Surface& sf = surface();
  return DrawStyleFill(sf.Hdc(), *look, props_, state.look, sf.ScaleWidth(), sf.ScaleHeight());
}

FaceResult Button::DrawFace(const PaintState& state) {
  Surface& sf = surface();
  // The mask follows the back colour; the face starts with the border colour of
  // the state (hovering here means the hover state, pressed or not).
  sf.SetMaskColor(sf.BackColor());
  const OleColor border = state.pressed ? props_.borderColorPressed
                          : Hovering()  ? props_.borderColorHover
                                        : props_.borderColor;
  sf.SetForeColor(border);
  if (FaceRenderer face = FaceRendererFor(props_.buttonShape)) return face(*this, border);
  return FaceResult{kOk, border};
}

Status Button::DrawFocusPasses(const PaintState& state, OleColor facePen, const PixelBox& caption) {
  if (!state.focused || !props_.focusRect) return kOk;
  const std::int32_t style = props_.buttonStyle;
  if (!HasOwnFocusLook(style)) return DrawFocusDots(surface(), facePen);
  if (style == 4 && !props_.caption.empty()) DrawCaptionFocusBox(surface(), caption);
  return kOk;
}

void Button::Commit() {
  // The image becomes the mask picture and is shown at once.
  surface().CommitMaskPicture();
  surface().Refresh();
}

}  // namespace vantorel::controls
