#pragma once

#include "button/shapes/face.h"

namespace vantorel {

class Button;

// One renderer per shape family, entered in the table of face_table.cpp.
FaceResult DrawRectangleFace(Button& button, OleColor borderPen);

}  // namespace vantorel
