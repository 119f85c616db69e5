#pragma once

#include <cstdint>
#include <initializer_list>

namespace vantorel::controls {

// Figures of the shapes as data. A coordinate is written as the drawing code
// computes it: an extent of the control divided, then offset (W / 1.5 - 1,
// H - 2.5, W / 2, 3). It is evaluated in floating point in that order, exactly
// as written, and rounded once, ties to even, when it is drawn. Two thirds is a
// division by 1.5: W * 2 / 3 would round differently at some sizes.

enum class Extent : std::uint8_t { None, Width, Height };

struct Coord {
  Extent extent = Extent::None;
  double divisor = 1;
  double offset = 0;

  constexpr Coord() = default;
  constexpr Coord(double constant) : offset(constant) {}  // NOLINT: plain numbers read as they are written
  constexpr Coord(Extent e, double d, double o) : extent(e), divisor(d), offset(o) {}

  // The value at a size: the extent divided first, then the offset added.
  constexpr double At(double width, double height) const {
    const double base = extent == Extent::Width ? width : extent == Extent::Height ? height : 0;
    return extent == Extent::None ? offset : base / divisor + offset;
  }
};

// W and H in a figure table: W / 3, W - 1, W / 1.5 - 1 and W itself.
struct ExtentTerm {
  Extent extent;
  constexpr operator Coord() const { return {extent, 1, 0}; }  // NOLINT: W alone is a coordinate
};
constexpr Coord operator/(ExtentTerm e, double divisor) { return {e.extent, divisor, 0}; }
constexpr Coord operator+(ExtentTerm e, double offset) { return {e.extent, 1, offset}; }
constexpr Coord operator-(ExtentTerm e, double offset) { return {e.extent, 1, -offset}; }
constexpr Coord operator+(Coord c, double offset) { return {c.extent, c.divisor, c.offset + offset}; }
constexpr Coord operator-(Coord c, double offset) { return {c.extent, c.divisor, c.offset - offset}; }

namespace figure_terms {
inline constexpr ExtentTerm W{Extent::Width};
inline constexpr ExtentTerm H{Extent::Height};
}  // namespace figure_terms

struct FigurePoint {
  Coord x;
  Coord y;
  bool penUp = false;
};

// Between two polylines of one figure: the pen is lifted and the next point is
// a move, as the tables write "a -> b; c -> d".
inline constexpr FigurePoint kPenUp{0, 0, true};

// A polyline, or several separated by kPenUp; a polygon's corners for regions
// and focus marks.
struct Figure {
  static constexpr int kMaxPoints = 16;
  FigurePoint points[kMaxPoints]{};
  int count = 0;

  constexpr Figure() = default;
  constexpr Figure(std::initializer_list<FigurePoint> list) {
    for (const FigurePoint& p : list) points[count++] = p;
  }
};

}  // namespace vantorel::controls
