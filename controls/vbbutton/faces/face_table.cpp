#include <iterator>

#include "host/gdi_guards.h"
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

constexpr const Face* kFaces[] = {
    &kBlackFramedBevelFace, &kStandardBevelFace, &kBlueGradientFace, &kRoundedLightFace, &kFlatLightFace,
    &kSoftBevelFace,        &kBorderedFlatFace,  &kHotBorderFlatFace, &kHoverHighlightFace, &kPictureOnlyFace,
    &kTransparentFace,      &kHotBevelFlatFace,  &kOvalFace,          &kGradientPanelFace,
};

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

const Face* FaceFor(int type) {
  if (type < 1 || type > static_cast<int>(std::size(kFaces))) return nullptr;
  return kFaces[type - 1];
}

HRGN ShapeFor(int type, int w, int h) {
  switch (type) {
    case 1:
    case 14: return CutCorners(w, h, {true, true, true, true, false});
    case 5: return CutCorners(w, h, {false, true, true, false, false});
    case 3:
    case 4: return CutCorners(w, h, {true, true, true, true, true});
    case 13: return CreateEllipticRgn(0, 0, w + 1, h + 1);
    default: return nullptr;
  }
}

}  // namespace vantorel::controls::vb
