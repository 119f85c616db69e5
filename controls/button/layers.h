#pragma once

#include "host/status.h"

namespace vantorel {

class Button;

// The picture and then the caption, drawn over the background and under the face.
Status DrawPictureLayer(Button& button);
Status DrawCaptionLayer(Button& button);

}  // namespace vantorel
