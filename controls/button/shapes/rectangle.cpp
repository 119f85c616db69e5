#include "button/shapes/face.h"
#include "button/shapes/shapes.h"

namespace vantorel::controls {

namespace {

void GlowFrame(FaceCanvas& c, const OleColor (&glow)[5]) {
  const double W = c.W, H = c.H;
  c.Pen(glow[0]);
  c.Path({{W - 2, H - 2}, {0, H - 2}});
  c.Pen(glow[1]);
  c.Path({{1, 1}, {1, H - 3}, {W - 2, H - 3}, {W - 2, 1}});
  c.Pen(glow[2]);
  c.Path({{2, 2}, {2, H - 3}});
  c.Path({{W - 3, H - 4}, {W - 3, 2}});
  c.Pen(glow[3]);
  c.Path({{1, 1}, {W - 1, 1}});
  c.Pen(glow[4]);
  c.Path({{2, 2}, {W - 2, 2}});
}

}  // namespace

FaceResult DrawRectangleFace(Button& button, OleColor borderPen) {
  FaceCanvas c(button, borderPen);
  const double W = c.W, H = c.H;
  using namespace face_color;

  // Outline with the border pen the pipeline chose.
  c.Path({{0, 0}, {0, H - 1}, {W - 1, H - 1}, {W - 1, 0}, {0, 0}});
  // The rectangle is the whole window: any region of an earlier shape goes.
  c.SetRegion(nullptr);

  const FaceState state = c.State();
  switch (c.style) {
    case 1:
      if (state == FaceState::Pressed) {
        c.Pen(kDarkShadow);
        c.Path({{W - 1, 0}, {0, 0}, {0, H - 1}});
        c.Pen(kShadow);
        c.Path({{W - 1, 1}, {1, 1}, {1, H - 1}});
      } else {
        c.Pen(kShadow);
        c.Path({{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
        c.Pen(kHighlight);
        c.Path({{W - 1, 0}, {0, 0}, {0, H - 1}});
      }
      break;
    case 2:
    case 3:
      if (state == FaceState::Pressed) {
        c.Pen(kDarkShadow);
        c.Path({{W - 1, 0}, {0, 0}, {0, H - 1}});
      } else if (c.style == 2 || state == FaceState::Hover) {
        c.Pen(kHighlight);
        c.Path({{W - 1, 0}, {0, 0}, {0, H - 1}});
      }
      break;
    case 4:
      // The etched frame depends on Enabled alone.
      if (c.enabled) {
        c.Pen(kShadow);
        c.Path({{W - 2, 1}, {W - 2, H - 2}, {2, H - 2}});
        c.Pen(kHighlight);
        c.Path({{W - 1, 1}, {1, 1}, {1, H - 1}, {W - 1, H - 1}, {W - 1, 1}});
      }
      break;
    case 6:
      if (state == FaceState::Pressed) {
        c.Pen(kHighlight);
        c.Path({{2, H - 3}, {W - 3, H - 3}, {W - 3, 2}});
      } else if (state == FaceState::Hover) {
        GlowFrame(c, kHoverGlow);
      } else if (state == FaceState::Focused) {
        GlowFrame(c, kFocusGlow);
      }
      break;
    case 7:
      c.Pen(state == FaceState::Pressed ? kInnerPressed : kInnerNormal);
      c.Path({{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}, {1, 1}});
      if (state != FaceState::Pressed && c.focusRect && c.focused) {
        c.Pen(kInnerFocused);
        c.Path({{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}, {1, 1}});
      }
      break;
    default: break;  // 5 and any other value: the outline alone
  }

  // The mark is drawn last: its colour is the pen handed back, which the
  // pipeline's dotted pass turns black in a pattern.
  if (c.WantsFocusMark()) {
    c.Pen(kFocusMark);
    c.Path({{4, 4}, {4, H - 5}, {W - 5, H - 5}, {W - 5, 4}, {4, 4}});
  }
  return c.Finish();
}

}  // namespace vantorel::controls
