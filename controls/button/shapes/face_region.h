#pragma once

#include <windows.h>

namespace vantorel::controls {

// How a face's window region is made, in whole pixels. Kept by the Button with
// the region it set, so the region is remade only when the shape or the size
// changes: setting one reshapes the window and asks for a redraw.
struct FaceRegionRecipe {
  enum class Kind { None, RoundRect, Ellipse, Polygon };
  static constexpr int kMaxPoints = 7;

  Kind kind = Kind::None;
  LONG left = 0, top = 0, right = 0, bottom = 0, cornerW = 0, cornerH = 0;
  POINT points[kMaxPoints]{};
  int count = 0;

  static FaceRegionRecipe Box(Kind kind, LONG width, LONG height, LONG corner = 0) {
    FaceRegionRecipe r;
    r.kind = kind;
    r.right = width;
    r.bottom = height;
    r.cornerW = r.cornerH = corner;
    return r;
  }

  bool operator==(const FaceRegionRecipe& o) const {
    if (kind != o.kind || left != o.left || top != o.top || right != o.right || bottom != o.bottom ||
        cornerW != o.cornerW || cornerH != o.cornerH || count != o.count)
      return false;
    for (int i = 0; i < count; ++i)
      if (points[i].x != o.points[i].x || points[i].y != o.points[i].y) return false;
    return true;
  }

  // A new region (the caller hands it on), or null for Kind::None.
  HRGN Build() const {
    switch (kind) {
      case Kind::RoundRect: return CreateRoundRectRgn(left, top, right, bottom, cornerW, cornerH);
      case Kind::Ellipse: return CreateEllipticRgn(left, top, right, bottom);
      case Kind::Polygon: return CreatePolygonRgn(points, count, WINDING);
      case Kind::None: break;
    }
    return nullptr;
  }
};

}  // namespace vantorel::controls
