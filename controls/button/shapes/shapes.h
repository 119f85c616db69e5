#pragma once

#include "button/shapes/face.h"

namespace vantorel::controls {

// One renderer per ButtonShape, entered in the table of face_table.cpp.
FaceResult DrawRectangleFace(Surface& target, const FaceInput& in);
FaceResult DrawRoundedRectangleFace(Surface& target, const FaceInput& in);
FaceResult DrawEllipseFace(Surface& target, const FaceInput& in);
FaceResult DrawDiamondFace(Surface& target, const FaceInput& in);
FaceResult DrawUpTriangleFace(Surface& target, const FaceInput& in);
FaceResult DrawLeftTriangleFace(Surface& target, const FaceInput& in);
FaceResult DrawRightTriangleFace(Surface& target, const FaceInput& in);
FaceResult DrawDownTriangleFace(Surface& target, const FaceInput& in);
FaceResult DrawUpArrowFace(Surface& target, const FaceInput& in);
FaceResult DrawLeftArrowFace(Surface& target, const FaceInput& in);
FaceResult DrawRightArrowFace(Surface& target, const FaceInput& in);
FaceResult DrawDownArrowFace(Surface& target, const FaceInput& in);

}  // namespace vantorel::controls
