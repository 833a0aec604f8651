#pragma once

#include "app/pageview/Geometry.h"

// Pointer shapes the page view and text boxes ask for; the window side maps them to the
// toolkit's cursors.
enum class CursorKind { Default, Move, SizeNWSE, SizeNESW, SizeWE, SizeNS, IBeam, Cross };

// The selection frame of a shape: a dotted rectangle, for arrows and text boxes with eight
// square handles just outside it. It answers which part of it a point is on, which cursor
// that part shows and where the rectangle goes when that part is dragged. All coordinates
// are view units.
class CShapeRectTracker {
 public:
  // Handles in the order they are drawn; Inside is the frame's body (dragging moves it).
  enum class Hit {
    None,
    TopLeft,
    TopRight,
    BottomRight,
    BottomLeft,
    Top,
    Right,
    Bottom,
    Left,
    Inside
  };

  // Side of a square handle.
  static constexpr int kHandleSize = 7;
  // A frame thinner than this (a horizontal or vertical arrow) is grabbed over this height
  // or width around its line, so it can still be picked up.
  static constexpr int kMinGrabSize = 7;

  CShapeRectTracker(const CRect& rect, bool resizeHandles)
      : m_rect(rect.Normalized()), m_handles(resizeHandles) {}

  const CRect& Rect() const { return m_rect; }
  bool HasHandles() const { return m_handles; }

  // The square of one handle; empty for None and Inside or without handles.
  [[nodiscard]] CRect HandleRect(Hit handle) const;
  // Which part of the frame `p` is on.
  [[nodiscard]] Hit HitTest(CPoint p) const;
  [[nodiscard]] static CursorKind CursorFor(Hit hit);
  // The rectangle after dragging `hit` by (dx, dy), normalised; the body moves the whole
  // rectangle, a handle moves only its edges.
  [[nodiscard]] CRect Track(Hit hit, int dx, int dy) const;

 private:
  CRect m_rect;
  bool m_handles;
};
