#pragma once

#include "app/image/CxImage.h"
#include "app/pageview/CShapeRectTracker.h"
#include "app/pageview/Geometry.h"

// The range selection of a picture tab: a rectangle in view units with the tracker's handles,
// and, while it floats, the screen pixels lifted from under it and the rectangle they came
// from. The lifted pixels are painted stretched from the lift rectangle's size to the current
// rectangle; when they are put down they are stretched the same way into the picture.
class CSelectionRect {
 public:
  using Hit = CShapeRectTracker::Hit;

  const CRect& Rect() const { return m_rect; }
  void SetRect(const CRect& rect) { m_rect = rect.Normalized(); }
  bool IsEmpty() const { return m_rect.IsEmpty(); }
  // The tracker frame around the selection (handles just outside it).
  CShapeRectTracker Tracker() const { return {m_rect, true}; }
  // Which part of the frame a view point is on; None without a selection.
  [[nodiscard]] Hit HitTest(CPoint view) const;

  bool IsFloating() const { return m_lifted.IsValid(); }
  const CRect& LiftRect() const { return m_liftRect; }
  void SetLiftRect(const CRect& rect) { m_liftRect = rect; }
  const CxImage& Lifted() const { return m_lifted; }
  // The pixels now floating, taken from under the current rectangle.
  void Lift(CxImage pixels);
  // Forgets the lifted pixels and the lift rectangle; the rectangle stays.
  void DropLifted();
  // No selection at all: rectangle and lift rectangle empty, lifted pixels freed.
  void Clear();

 private:
  CRect m_rect;
  CRect m_liftRect;
  CxImage m_lifted;
};

// Rectangles of the range and crop tools kept on the displayed picture (0, 0 to the extent,
// view units), so nothing selected ever lies beside the picture.
namespace range {

// The rectangle normalised and cut to the picture; empty when it misses it.
[[nodiscard]] CRect OnPicture(const CRect& rect, int extentWidth, int extentHeight);
// A moved rectangle shifted back onto the picture, keeping its size where it fits.
[[nodiscard]] CRect KeptOnPicture(const CRect& rect, int extentWidth, int extentHeight);

}  // namespace range
