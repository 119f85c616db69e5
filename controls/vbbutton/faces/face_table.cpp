#include <iterator>

#include "host/gdi_guards.h"
#include "vbbutton/faces/faces.h"
#include "vbbutton/stored_values.h"

namespace vantorel::controls::vb {

namespace {

// One row per ButtonType, 1 to 14.
constexpr const Face* kFaces[] = {
    &kBlackFramedBevelFace, &kStandardBevelFace, &kBlueGradientFace, &kRoundedLightFace, &kFlatLightFace,
    &kSoftBevelFace,        &kBorderedFlatFace,  &kHotBorderFlatFace, &kHoverHighlightFace, &kPictureOnlyFace,
    &kTransparentFace,      &kHotBevelFlatFace,  &kOvalFace,          &kGradientPanelFace,
};
static_assert(std::size(kFaces) == kTypeGradientPanel, "a row for each ButtonType value");

// Corner pixels a shape leaves out, relative to the corner it names: x from the
// left or right edge, y from the top or bottom.
struct CornerCut {
  bool topLeft, topRight, bottomLeft, bottomRight;
  bool three;  // two pixels along the top or bottom edge and one along the side
};

void Cut(HRGN region, int x, int y) {
  host::GdiObject<HRGN> pixel(CreateRectRgn(x, y, x + 1, y + 1));
  CombineRgn(region, region, pixel.get(), RGN_DIFF);
}

HRGN CutCorners(int w, int h, const CornerCut& cut) {
  HRGN region = CreateRectRgn(0, 0, w, h);
  auto corner = [&](bool on, int x, int y, int dx, int dy) {
    if (!on) return;
    Cut(region, x, y);
    if (!cut.three) return;
    Cut(region, x + dx, y);
    Cut(region, x, y + dy);
  };
  corner(cut.topLeft, 0, 0, 1, 1);
  corner(cut.topRight, w - 1, 0, -1, 1);
  corner(cut.bottomLeft, 0, h - 1, 1, -1);
  corner(cut.bottomRight, w - 1, h - 1, -1, -1);
  return region;
}

}  // namespace

const Face& FaceOf(int type) {
  if (type < 1 || type > static_cast<int>(std::size(kFaces))) return kNoFace;
  return *kFaces[type - 1];
}

HRGN ShapeFor(WindowShape shape, int w, int h) {
  switch (shape) {
    case WindowShape::CutCorners: return CutCorners(w, h, {true, true, true, true, false});
    case WindowShape::CutOpposedCorners: return CutCorners(w, h, {false, true, true, false, false});
    case WindowShape::RoundedCorners: return CutCorners(w, h, {true, true, true, true, true});
    case WindowShape::Ellipse: return CreateEllipticRgn(0, 0, w + 1, h + 1);
    case WindowShape::Rectangle: break;
  }
  return nullptr;
}

}  // namespace vantorel::controls::vb
