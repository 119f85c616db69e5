#pragma once

#include "button/shapes/face.h"

namespace vantorel::controls {

// One renderer per ButtonShape, entered in the table of face_table.cpp.
FaceResult DrawRectangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawRoundedRectangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawEllipseFace(host::Surface& target, const FaceInput& in);
FaceResult DrawDiamondFace(host::Surface& target, const FaceInput& in);
FaceResult DrawUpTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawLeftTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawRightTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawDownTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawUpArrowFace(host::Surface& target, const FaceInput& in);
FaceResult DrawLeftArrowFace(host::Surface& target, const FaceInput& in);
FaceResult DrawRightArrowFace(host::Surface& target, const FaceInput& in);
FaceResult DrawDownArrowFace(host::Surface& target, const FaceInput& in);

}  // namespace vantorel::controls
