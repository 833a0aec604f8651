#pragma once

#include "app/pageview/Geometry.h"

// Where an arrow's lines go. The arrow's rectangle holds its two ends; once finished it is
// normalised and a direction code tells which corner is the tip:
// 0 bottom-right, 1 top-right, 2 top-left, 3 bottom-left.
namespace arrow {

inline constexpr int kHeadLength = 20;

// The direction code for an arrow dragged from `start` to `end` (its tip). A zero distance
// on an axis counts as going right or down.
[[nodiscard]] int DirectionCode(CPoint start, CPoint end);

struct Lines {
  CPoint tail;
  CPoint tip;
  CPoint head1;  // the two back corners of the head triangle
  CPoint head2;
  bool hasHead = false;  // only arrows longer than the head get one
  bool empty = true;     // both ends coincide: nothing is drawn
};

// The lines of a finished arrow (normalised rectangle and its code), or of an arrow being
// dragged (`dragging`: the rectangle runs from the start corner to the pointer, not
// normalised, and the code is ignored). All points in the rectangle's units.
[[nodiscard]] Lines Compute(const CRect& rect, int code, bool dragging);

}  // namespace arrow
