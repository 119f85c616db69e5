#pragma once

#include "button/shapes/face.h"

namespace vantorel::controls {

class Button;

// One renderer per ButtonShape, entered in the table of face_table.cpp.
FaceResult DrawRectangleFace(Button& button, OleColor borderPen);
FaceResult DrawRoundedRectangleFace(Button& button, OleColor borderPen);
FaceResult DrawEllipseFace(Button& button, OleColor borderPen);
FaceResult DrawDiamondFace(Button& button, OleColor borderPen);
FaceResult DrawUpTriangleFace(Button& button, OleColor borderPen);
FaceResult DrawLeftTriangleFace(Button& button, OleColor borderPen);
FaceResult DrawRightTriangleFace(Button& button, OleColor borderPen);
FaceResult DrawDownTriangleFace(Button& button, OleColor borderPen);
FaceResult DrawUpArrowFace(Button& button, OleColor borderPen);
FaceResult DrawLeftArrowFace(Button& button, OleColor borderPen);
FaceResult DrawRightArrowFace(Button& button, OleColor borderPen);
FaceResult DrawDownArrowFace(Button& button, OleColor borderPen);

}  // namespace vantorel::controls
