#pragma once

#include "app/pageview/CShapeRectTracker.h"
#include "app/pageview/Geometry.h"

namespace textbox {

// A text box dragged out smaller than this on both sides gets the default size instead, so a
// click makes a usable box.
inline constexpr int kMinDragSize = 10;
inline constexpr int kDefaultWidth = 120;
inline constexpr int kDefaultHeight = 80;
// The selection frame sits this far outside the edit window.
inline constexpr int kTrackerMargin = 3;

// The edit window's rectangle for a drag from `start` to `end`.
[[nodiscard]] CRect CreationRect(CPoint start, CPoint end);

// Which part of a text box's border a point is on, for the sizing cursors and resizing.
enum class Grip { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
// `border` pixels wide along the inside of the window rectangle.
[[nodiscard]] Grip HitGrip(const CRect& window, CPoint p, int border);
// The pointer over an open text box: a sizing cursor on its border, the I-beam elsewhere.
[[nodiscard]] CursorKind CursorForGrip(Grip grip);
// How wide the grab band along the inside of an open text box's window is, pixels.
inline constexpr int kGripBorder = 4;
// The rectangle after dragging `grip` by (dx, dy), normalised.
[[nodiscard]] CRect ResizeByGrip(const CRect& window, Grip grip, int dx, int dy);

}  // namespace textbox
