#pragma once

// Where vbButton's caption and picture go, computed apart from drawing. The one
// step that needs the font (measuring the caption) is done by the caller, who
// passes the measured rectangle in.
#include <string_view>

namespace vantorel::controls::vb {

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Box&) const = default;
};

// PicturePosition values: where the picture stands relative to the caption.
enum PicturePlace { kPictureLeft = 0, kPictureRight = 1, kPictureAbove = 2, kPictureBelow = 3, kPictureCentre = 4 };

// The rectangle the caption is measured in (word-wrapped), leaving room for a
// picture of pw x ph on the side the position names.
Box MeasuringBox(int w, int h, int pw, int ph, int position);

struct Layout {
  Box caption;
  Box pressedCaption;  // the caption moved one pixel right and down
  int tw = 0;          // the measured caption's width and height
  int th = 0;
  int pictureX = 0;
  int pictureY = 0;
};

// Centres the measured caption (the measuring box with its right and bottom
// moved to fit the text) and places the picture beside it. hasCaption is false
// for a caption that is empty once trimmed; hasPicture when either picture is set.
Layout PlaceCaptionAndPicture(int w, int h, int pw, int ph, int position, Box measured, bool hasCaption,
                              bool hasPicture);

// True when the caption holds more than spaces: only then does the picture stand
// beside it rather than in the middle.
bool HasVisibleCaption(std::wstring_view caption);

// How far a rectangle lies in from each edge of the client area.
struct Insets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The focus rectangle: the client area less the insets its type gives it.
Box FocusBox(int w, int h, const Insets& inset);

}  // namespace vantorel::controls::vb
