#pragma once

#include "host/status.h"

namespace vantorel {

class Button;

// One renderer per shape family, entered in the table of face_table.cpp.
Status DrawRectangleFace(Button& button);

}  // namespace vantorel
