#pragma once

#include "button/shapes/face.h"
#include "button/shapes/figure.h"

namespace vantorel::controls {

// Every figure of one triangle or block arrow, one table per orientation: the
// rows read as the shape's geometry is written, and one routine draws them all.
struct ShapeTable {
  Figure region;  // the polygon the window is clipped to
  Figure outline;
  Figure trimPressed;  // styles 1 to 3 pressed, in dark shadow
  Figure trimRaised;   // style 1 raised, 2 at rest, 3 hovered, in highlight
  Figure bevelSunkenShadow;
  Figure bevelRaisedShadow;
  bool bevelRaisedTrimFirst = false;  // otherwise the shadow goes first
  Figure etchedShadow;
  Figure etchedHighlight;
  Figure glowPressedHighlight;
  Figure glow[5];  // colours 1 to 5 of the hover or the focus set
  Figure innerFrame;
  Figure focusPoints;  // the corners of the focus mark
};

// Draws the face of a triangle or arrow from its table.
FaceResult DrawTableFace(host::Surface& target, const FaceInput& in, const ShapeTable& table);

}  // namespace vantorel::controls
